#pragma once

#include <string>

#include "byte_buffer.h"
#include "trailer.h"
#include "install_platform.h"

namespace scrinst {

inline constexpr int kInstallSteps = 3;
inline constexpr const char* kDisplaySettingsCommand = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1";
inline constexpr int kDisplaySettingsShowState = 9;  // SW_RESTORE

// Writes the screen saver into the Windows directory as NAME.scr, advancing
// the progress through its three steps, then activates it. Throws Error.
// packageIntact is false when loading the package failed: nothing is then
// installed, since the window holds at best part of the screen saver.
// Refusals, in this order, before the progress moves and before anything is
// written: a damaged package, then a name that is not a plain file name.
// Where a later failure leaves the progress: at 1 when the Windows directory
// cannot be obtained, at 2 when the file cannot be created or written, at 3
// when the registry value cannot be set.
void InstallScreenSaver(const ByteBuffer& saverStream, const TPackageTrailer& trailer, bool packageIntact,
                        ProgressIndicator& progress, InstallPlatform& platform);

// Records path as the user's screen saver, broadcasts the change and opens
// the display settings. Throws Error("Failed to set data for 'SCRNSAVE.EXE'").
void ActivateScreenSaver(const std::string& path, InstallPlatform& platform);

}  // namespace scrinst
