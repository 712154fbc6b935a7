#pragma once

#include <cstdint>
#include <string_view>

// What Windows asks of a screen saver through its command line. Kept free of
// <windows.h> so that the host's unit tests can check the parsing.
namespace scrinst::starfield {

enum class SaverMode {
    Configure,       // "/c", "/c:HWND" or no argument at all
    FullScreen,      // "/s"
    Preview,         // "/p HWND" or "/p:HWND": draw inside the given window
    ChangePassword,  // "/a HWND": only old Windows versions send it
};

struct SaverCommand {
    SaverMode mode = SaverMode::Configure;
    // The window named after the option, 0 when none was given or the number
    // did not fit: a window handle travels as a decimal number.
    std::uintptr_t window = 0;

    friend bool operator==(const SaverCommand&, const SaverCommand&) = default;
};

constexpr bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }

// The arguments of a whole command line such as GetCommandLineA returns it:
// the program's path is skipped, quoted or not (a quoted path may hold blanks).
constexpr std::string_view ArgumentsOf(std::string_view commandLine) noexcept
{
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t close = commandLine.find('"', 1);
        pos = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        while (pos < commandLine.size() && !IsBlank(commandLine[pos])) {
            ++pos;
        }
    }
    commandLine.remove_prefix(pos);  // unlike substr, cannot throw: no exception support is linked
    return commandLine;
}

// Parses the arguments after the program's path. The option letter may come
// with '/' or '-' or bare, in either case; the window number may follow after
// a colon, after blanks, or both. Letters this program does not know open the
// options box, which is what the system's own savers do.
constexpr SaverCommand ParseSaverArguments(std::string_view arguments) noexcept
{
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < arguments.size() && IsBlank(arguments[pos])) {
            ++pos;
        }
    };

    SaverCommand command;
    skipBlanks();
    if (pos < arguments.size() && (arguments[pos] == '/' || arguments[pos] == '-')) {
        ++pos;
    }
    if (pos == arguments.size()) {
        return command;
    }
    switch (arguments[pos] | 0x20) {  // ASCII lower case
    case 's': command.mode = SaverMode::FullScreen; break;
    case 'p': command.mode = SaverMode::Preview; break;
    case 'a': command.mode = SaverMode::ChangePassword; break;
    default: command.mode = SaverMode::Configure; break;
    }
    ++pos;

    skipBlanks();
    if (pos < arguments.size() && arguments[pos] == ':') {
        ++pos;
        skipBlanks();
    }
    std::uintptr_t value = 0;
    bool any = false;
    for (; pos < arguments.size() && arguments[pos] >= '0' && arguments[pos] <= '9'; ++pos) {
        const auto digit = static_cast<std::uintptr_t>(arguments[pos] - '0');
        if (value > (UINTPTR_MAX - digit) / 10) {
            return SaverCommand{command.mode, 0};
        }
        value = value * 10 + digit;
        any = true;
    }
    command.window = any ? value : 0;
    return command;
}

}  // namespace scrinst::starfield
