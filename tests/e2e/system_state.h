#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace scrinst::e2e {

inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";
inline constexpr const char* kScreenSaverValue = "SCRNSAVE.EXE";

std::string WindowsDirectory();

enum class PathKind { Absent, File, Directory };
PathKind KindOf(const std::string& path);
std::optional<std::vector<std::uint8_t>> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Clears whatever stands at a path, when the scenario starts and again when
// it ends, so that no run depends on or leaves behind an installed file.
class ClearedPath {
public:
    explicit ClearedPath(std::string path);
    ClearedPath(const ClearedPath&) = delete;
    ClearedPath& operator=(const ClearedPath&) = delete;
    ~ClearedPath();
    const std::string& path() const noexcept { return path_; }

private:
    std::string path_;
};

// HKCU "Control Panel\Desktop" "SCRNSAVE.EXE": nothing when the key or the
// value is missing; the type is kept so that a wrong type shows.
struct RegistryString {
    DWORD type = 0;
    std::string text;
    bool operator==(const RegistryString&) const = default;
};
std::optional<RegistryString> ScreenSaverSetting();
bool DesktopKeyExists();

// Puts the value back as it was when the scenario started.
class RestoredScreenSaverSetting {
public:
    RestoredScreenSaverSetting();
    RestoredScreenSaverSetting(const RestoredScreenSaverSetting&) = delete;
    RestoredScreenSaverSetting& operator=(const RestoredScreenSaverSetting&) = delete;
    ~RestoredScreenSaverSetting();
    const std::optional<RegistryString>& original() const noexcept { return original_; }

private:
    std::optional<RegistryString> original_;
};

// Takes HKCU "Control Panel\Desktop" away (kept under a backup key) for the
// scenario's life and puts it back, values and subkeys, afterwards.
class RemovedDesktopKey {
public:
    RemovedDesktopKey();
    RemovedDesktopKey(const RemovedDesktopKey&) = delete;
    RemovedDesktopKey& operator=(const RemovedDesktopKey&) = delete;
    ~RemovedDesktopKey();
};
// A backup left by a driver that died before it could restore the key.
void RestoreDesktopKeyFromBackup();

// Processes by executable name, for starting commands the program leaves
// running (the display settings).
std::set<DWORD> ProcessesNamed(const std::string& exeName);
void TerminateProcesses(const std::set<DWORD>& ids);

}  // namespace scrinst::e2e
