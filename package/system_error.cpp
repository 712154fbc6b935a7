#include "system_error.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace scrinst {

std::string TrimSystemText(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0) {
        const auto c = static_cast<unsigned char>(text[end - 1]);
        if (c > ' ' && c != '.') {
            break;
        }
        --end;
    }
    return std::string(text.substr(0, end));
}

#ifdef _WIN32

std::string SystemErrorText(std::uint32_t windowsCode)
{
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
            FORMAT_MESSAGE_MAX_WIDTH_MASK,
        nullptr, windowsCode, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return {};
    }
    std::string text = TrimSystemText(std::string_view(buffer, length));
    LocalFree(buffer);
    return text;
}

#else

std::string SystemErrorText(std::uint32_t windowsCode)
{
    switch (windowsCode) {
    case 2: return "The system cannot find the file specified";
    case 3: return "The system cannot find the path specified";
    case 5: return "Access is denied";
    case 8: return "Not enough memory resources are available to process this command";
    case 32: return "The process cannot access the file because it is being used by another process";
    default: return "System error " + std::to_string(windowsCode);
    }
}

#endif

}  // namespace scrinst
