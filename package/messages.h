#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scrinst::messages {

// The system's own texts. They are shown to the user verbatim, so they live in
// one place and tests compare against these constants.
inline constexpr std::string_view kStreamReadError = "Stream read error";
inline constexpr std::string_view kStreamWriteError = "Stream write error";
inline constexpr std::string_view kBitmapNotValid = "Bitmap image is not valid";
inline constexpr std::string_view kOutOfMemoryExpanding = "Out of memory while expanding memory stream";
inline constexpr std::string_view kOutOfMemory = "Out of memory";
inline constexpr std::string_view kOutOfSystemResources = "Out of system resources";
inline constexpr std::string_view kJpegTooManyScans = "JPEG image has too many scans";
inline constexpr std::string_view kPackageDamaged = "This package is damaged; nothing was installed";
inline constexpr std::string_view kNoWindowsDirectory = "Cannot locate the Windows directory";
inline constexpr std::string_view kScreenSaverValueName = "SCRNSAVE.EXE";

// Cannot open file "PATH". SYSTEMTEXT
std::string CannotOpenFile(std::string_view path, std::string_view systemText);
// Cannot create file "PATH". SYSTEMTEXT
std::string CannotCreateFile(std::string_view path, std::string_view systemText);
// JPEG error #CODE
std::string JpegError(int code);
// System Error.  Code: CODE.<CR><LF>SYSTEMTEXT
std::string SystemErrorWithCode(std::uint32_t code, std::string_view systemText);
// Failed to set data for 'NAME'
std::string FailedToSetData(std::string_view valueName);
// Invalid screen saver name "NAME"
std::string InvalidScreenSaverName(std::string_view name);

}  // namespace scrinst::messages
