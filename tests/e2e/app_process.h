#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32_handles.h"

namespace scrinst::e2e {

// One run of a package. A run that the scenario did not end is killed when
// the object goes, so a failed check never leaves a window behind for the
// next test.
class AppProcess {
public:
    // arguments follow the quoted program path on the command line.
    explicit AppProcess(const std::string& exePath, const std::string& arguments = "");
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;
    ~AppProcess();

    DWORD processId() const noexcept { return processId_; }
    DWORD threadId() const noexcept { return threadId_; }

    // Top-level windows of the process, hidden ones included.
    std::vector<HWND> topLevelWindows() const;
    // The first top-level window of that class, or null.
    HWND findTopLevel(const std::string& className, bool visibleOnly) const;
    // Every top-level window as class, caption and visibility, for messages.
    std::string describeWindows() const;

    bool waitForExit(DWORD timeoutMs) const;
    // 32 or 64: which kind of program the package is, as the system runs it.
    int bits() const;
    bool hasExited() const { return waitForExit(0); }
    DWORD exitCode() const;

private:
    KernelHandle process_;
    KernelHandle thread_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
};

}  // namespace scrinst::e2e
