#include "win32_install_platform.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "error.h"
#include "messages.h"
#include "system_error.h"
#include "win32_handles.h"

namespace scrinst {

namespace {

constexpr UINT kWindowsDirectoryBufferSize = 255;
constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr UINT kSetDeskWallpaper = 20;  // SPI_SETDESKWALLPAPER
constexpr UINT kSendWinIniChange = 2;   // SPIF_SENDWININICHANGE
// WriteFile takes a 32-bit count; large screen savers go out in pieces.
constexpr std::size_t kWriteChunk = std::size_t{16} << 20;

[[noreturn]] void FailCreate(const std::string& path, DWORD code)
{
    throw Error(messages::CannotCreateFile(path, SystemErrorText(code)));
}

[[noreturn]] void FailWrite()
{
    throw Error(std::string(messages::kStreamWriteError));
}

// The folder the target lies in: everything before its last separator. The
// temporary file must sit on the same volume for the final move to be a
// rename rather than a copy.
std::string FolderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of('\\');
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

// Up to this many names are tried for the temporary file before giving up.
constexpr DWORD kTemporaryNameAttempts = 100;

std::string HexText(DWORD value)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(8, '0');
    for (std::size_t i = text.size(); i-- > 0; value >>= 4) {
        text[i] = kDigits[value & 0xFU];
    }
    return text;
}

struct NewFile {
    std::string path;
    KernelHandle handle;
};

// A new, empty, uniquely named file in folder, opened for writing. It is
// created the same way the target would be, so a folder that cannot take the
// target fails here with the error creating the target would have given.
// GetTempFileNameA is no help: it reports a missing folder differently.
NewFile CreateTemporaryFile(const std::string& folder, const std::string& target)
{
    const std::string stem = folder + "\\~scr" + HexText(GetCurrentProcessId()) + ".";
    const DWORD start = GetTickCount();
    for (DWORD attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        std::string path = stem + HexText(start + attempt).substr(4) + ".tmp";
        KernelHandle handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle) {
            return {std::move(path), std::move(handle)};
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            FailCreate(target, error);
        }
    }
    FailCreate(target, ERROR_FILE_EXISTS);
}

void WriteAll(HANDLE file, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const std::size_t chunk = std::min(bytes.size(), kWriteChunk);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(chunk), &written, nullptr) || written == 0 ||
            written > chunk) {
            FailWrite();
        }
        bytes = bytes.subspan(written);
    }
}

}  // namespace

std::optional<std::string> Win32InstallPlatform::WindowsDirectory()
{
    std::array<char, kWindowsDirectoryBufferSize> buffer{};
    const UINT length = GetWindowsDirectoryA(buffer.data(), kWindowsDirectoryBufferSize);
    // On a buffer too small the result is the size needed, terminator included,
    // and the buffer holds nothing usable.
    if (length == 0 || length >= kWindowsDirectoryBufferSize) {
        return std::nullopt;
    }
    const auto end = std::find(buffer.begin(), buffer.begin() + length, '\0');
    return std::string(buffer.begin(), end);
}

// The bytes go to a temporary file beside the target, reach the disk, and only
// then replace the target in one rename: a failure part-way leaves an older
// screen saver of the same name as it was instead of a truncated one.
void Win32InstallPlatform::WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes)
{
    // Creating over a read-only file fails, but a rename replaces one on some
    // systems; refuse it here so the outcome does not depend on which.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        FailCreate(path, ERROR_ACCESS_DENIED);
    }

    NewFile created = CreateTemporaryFile(FolderOf(path), path);
    TemporaryFile temporary(std::move(created.path));
    // Declared after the temporary file, so that after a failure the handle
    // is closed before the file is deleted.
    KernelHandle file = std::move(created.handle);
    WriteAll(file.get(), bytes);
    if (!FlushFileBuffers(file.get()) || !file.reset()) {
        FailWrite();
    }
    if (!MoveFileExA(temporary.path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        // Whatever stands in the way (a screen saver that is running, a folder
        // of that name), the target could not be made.
        FailCreate(path, GetLastError());
    }
    temporary.release();
}

bool Win32InstallPlatform::SetScreenSaverValue(const std::string& path)
{
    // The terminating zero belongs to a REG_SZ value's data.
    if (path.size() >= MAXDWORD) {
        return false;
    }
    RegistryKey key;
    // Registry functions return their error instead of setting the last error.
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS) {
        return false;
    }
    const auto* data = reinterpret_cast<const BYTE*>(path.c_str());
    const auto size = static_cast<DWORD>(path.size() + 1);
    const std::string valueName(messages::kScreenSaverValueName);
    return RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ, data, size) == ERROR_SUCCESS;
}

void Win32InstallPlatform::BroadcastDesktopChange()
{
    SystemParametersInfoA(kSetDeskWallpaper, 0, nullptr, kSendWinIniChange);
}

void Win32InstallPlatform::StartCommand(const std::string& commandLine, int showState)
{
    WinExec(commandLine.c_str(), static_cast<UINT>(showState));
}

}  // namespace scrinst
