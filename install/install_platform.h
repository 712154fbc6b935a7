#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace scrinst {

// The few things installing needs from Windows, behind one interface so that
// the sequence can be driven through every failure on any host.
class InstallPlatform {
public:
    virtual ~InstallPlatform() = default;

    // The Windows directory as GetWindowsDirectoryA reports it into a 255-byte
    // buffer; nothing when it cannot be obtained or does not fit.
    virtual std::optional<std::string> WindowsDirectory() = 0;

    // Writes the bytes to path so that an existing file is replaced only by a
    // complete new one. Throws Error with "Cannot create file "PATH". TEXT" or
    // "Stream write error"; on failure no partial file is left at path.
    virtual void WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes) = 0;

    // Opens HKCU "Control Panel\Desktop" (never creating it), sets
    // "SCRNSAVE.EXE" to path as REG_SZ, closes the key. False on any failure.
    virtual bool SetScreenSaverValue(const std::string& path) = 0;

    // SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, NULL, SPIF_SENDWININICHANGE); result ignored.
    virtual void BroadcastDesktopChange() = 0;

    // WinExec of the command line with the show state; result ignored.
    virtual void StartCommand(const std::string& commandLine, int showState) = 0;
};

// The progress bar as installing sees it.
class ProgressIndicator {
public:
    virtual ~ProgressIndicator() = default;
    virtual void SetMax(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
};

}  // namespace scrinst
