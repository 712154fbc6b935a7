#include "saver_name.h"

#include <array>

namespace scrinst {

namespace {

char Upper(char c) noexcept
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsDeviceName(std::string_view name) noexcept
{
    // Windows maps these names to devices whatever extension follows, and it
    // ignores trailing blanks before that extension.
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.remove_suffix(1);
    }
    static constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : kFixed) {
        if (EqualsIgnoringCase(stem, device)) {
            return true;
        }
    }
    if (stem.size() == 4 && (EqualsIgnoringCase(stem.substr(0, 3), "COM") || EqualsIgnoringCase(stem.substr(0, 3), "LPT"))) {
        // Windows also takes the Latin-1 superscripts one, two and three as
        // port numbers.
        const auto digit = static_cast<unsigned char>(stem[3]);
        return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    }
    return false;
}

}  // namespace

bool IsPlainFileName(std::string_view name) noexcept
{
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 32) {
            return false;
        }
        switch (c) {
        case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
            return false;
        default:
            break;
        }
    }
    return !IsDeviceName(name);
}

}  // namespace scrinst
