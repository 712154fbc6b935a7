#include "install_sequence.h"

#include <optional>

#include "error.h"
#include "messages.h"
#include "saver_name.h"

namespace scrinst {

namespace {

constexpr int kStepDirectory = 1;
constexpr int kStepWrite = 2;
constexpr int kStepActivate = 3;

// The separator goes in even after a root's own trailing one: the doubled
// separator is harmless to Windows and keeps the registry value identical to
// the path the file was written under.
std::string TargetPath(const std::string& windowsDirectory, const std::string& saverName)
{
    std::string path;
    path.reserve(windowsDirectory.size() + 1 + saverName.size() + 4);
    path.append(windowsDirectory).append("\\").append(saverName).append(".scr");
    return path;
}

}  // namespace

void InstallScreenSaver(const ByteBuffer& saverStream, const TPackageTrailer& trailer, bool packageIntact,
                        ProgressIndicator& progress, InstallPlatform& platform)
{
    // Both refusals come before the progress moves: nothing has been tried,
    // so the bar keeps showing that nothing happened.
    if (!packageIntact) {
        throw Error(std::string(messages::kPackageDamaged));
    }
    // The name comes from the package, so it is untrusted: a separator or a
    // device name would write outside the Windows directory or to a device.
    const std::string saverName = SaverName(trailer);
    if (!IsPlainFileName(saverName)) {
        throw Error(messages::InvalidScreenSaverName(saverName));
    }

    progress.SetMax(kInstallSteps);
    progress.SetPosition(kStepDirectory);

    // Without the directory there is nowhere sound to write; the bar stays at
    // the first step.
    const std::optional<std::string> windowsDirectory = platform.WindowsDirectory();
    if (!windowsDirectory) {
        throw Error(std::string(messages::kNoWindowsDirectory));
    }
    const std::string path = TargetPath(*windowsDirectory, saverName);

    progress.SetPosition(kStepWrite);
    // The whole contents, wherever the buffer's position stands.
    platform.WriteFileReplacing(path, saverStream.bytes());

    progress.SetPosition(kStepActivate);
    ActivateScreenSaver(path, platform);
}

void ActivateScreenSaver(const std::string& path, InstallPlatform& platform)
{
    if (!platform.SetScreenSaverValue(path)) {
        throw Error(messages::FailedToSetData(messages::kScreenSaverValueName));
    }
    // Neither result can fail the installation: the screen saver is already
    // in place and recorded; these only make the system notice it.
    platform.BroadcastDesktopChange();
    platform.StartCommand(kDisplaySettingsCommand, kDisplaySettingsShowState);
}

}  // namespace scrinst
