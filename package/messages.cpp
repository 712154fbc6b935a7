#include "messages.h"

namespace scrinst::messages {

namespace {
std::string Quoted(std::string_view prefix, std::string_view value, std::string_view suffix)
{
    std::string text;
    text.reserve(prefix.size() + value.size() + suffix.size());
    text.append(prefix).append(value).append(suffix);
    return text;
}
}  // namespace

std::string CannotOpenFile(std::string_view path, std::string_view systemText)
{
    return Quoted("Cannot open file \"", path, "\". ").append(systemText);
}

std::string CannotCreateFile(std::string_view path, std::string_view systemText)
{
    return Quoted("Cannot create file \"", path, "\". ").append(systemText);
}

std::string JpegError(int code)
{
    return "JPEG error #" + std::to_string(code);
}

std::string SystemErrorWithCode(std::uint32_t code, std::string_view systemText)
{
    return ("System Error.  Code: " + std::to_string(code) + ".\r\n").append(systemText);
}

std::string FailedToSetData(std::string_view valueName)
{
    return Quoted("Failed to set data for '", valueName, "'");
}

std::string InvalidScreenSaverName(std::string_view name)
{
    return Quoted("Invalid screen saver name \"", name, "\"");
}

}  // namespace scrinst::messages
