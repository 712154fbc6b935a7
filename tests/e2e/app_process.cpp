#include "app_process.h"

#include "check.h"
#include "window_probe.h"

namespace scrinst::e2e {

AppProcess::AppProcess(const std::string& exePath, const std::string& arguments)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        Fail("cannot start " + Quoted(exePath) + ": error " + std::to_string(GetLastError()));
    }
    process_ = KernelHandle(info.hProcess);
    thread_ = KernelHandle(info.hThread);
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
}

int AppProcess::bits() const
{
    // A 32-bit process on 64-bit Windows runs under WOW64.
    BOOL wow64 = FALSE;
    if (!IsWow64Process(process_.get(), &wow64)) {
        Fail("cannot tell the bitness of the program: error " + std::to_string(GetLastError()));
    }
    return wow64 ? 32 : static_cast<int>(sizeof(void*) * 8);
}

AppProcess::~AppProcess()
{
    if (!hasExited()) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

namespace {

struct Collected {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    auto* collected = reinterpret_cast<Collected*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == collected->processId) {
        collected->windows.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> AppProcess::topLevelWindows() const
{
    Collected collected{processId_, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&collected));
    return collected.windows;
}

HWND AppProcess::findTopLevel(const std::string& className, bool visibleOnly) const
{
    for (HWND window : topLevelWindows()) {
        if (ClassOf(window) == className && (!visibleOnly || IsWindowVisible(window))) {
            return window;
        }
    }
    return nullptr;
}

std::string AppProcess::describeWindows() const
{
    std::string out;
    for (HWND window : topLevelWindows()) {
        out += out.empty() ? "" : ", ";
        out += "[" + ClassOf(window) + " " + Quoted(TextOf(window)) + (IsWindowVisible(window) ? " visible" : " hidden") +
               "]";
    }
    return out.empty() ? "no windows" : out;
}

bool AppProcess::waitForExit(DWORD timeoutMs) const
{
    return WaitForSingleObject(process_.get(), Patient(timeoutMs)) == WAIT_OBJECT_0;
}

DWORD AppProcess::exitCode() const
{
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

}  // namespace scrinst::e2e
