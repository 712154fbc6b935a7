#pragma once

#include "install_platform.h"

namespace scrinst {

// The real thing: the Windows directory, the file system, the registry, the
// system parameter call and WinExec.
class Win32InstallPlatform final : public InstallPlatform {
public:
    std::optional<std::string> WindowsDirectory() override;
    void WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes) override;
    bool SetScreenSaverValue(const std::string& path) override;
    void BroadcastDesktopChange() override;
    void StartCommand(const std::string& commandLine, int showState) override;
};

}  // namespace scrinst
