// Stands in for the display settings applet (desk.cpl), which Wine does not
// carry. Wine's own rundll32 and shell32 load it as they would the real one;
// it writes down how it was started and what the control panel asked of it,
// then ends without showing anything, so the end-to-end tests can see the
// command the installer ran.
#include <windows.h>
#include <cpl.h>

#include <cstdio>
#include <string>

namespace {

constexpr const char* kRecordPath = "C:\\windows\\temp\\e2e-display-settings.txt";

void Record(const std::string& line)
{
    std::FILE* out = std::fopen(kRecordPath, "ab");
    if (out != nullptr) {
        std::fprintf(out, "%s\n", line.c_str());
        std::fclose(out);
    }
}

std::string Narrow(const wchar_t* text)
{
    std::string out;
    for (; text != nullptr && *text != 0; ++text) {
        out += *text < 128 ? static_cast<char>(*text) : '?';
    }
    return out;
}

}  // namespace

extern "C" __declspec(dllexport) LONG CALLBACK CPlApplet(HWND, UINT message, LPARAM, LPARAM lParam2)
{
    switch (message) {
    case CPL_INIT: {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        GetStartupInfoA(&startup);
        Record(std::string("command=") + GetCommandLineA());
        Record("show=" + std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1));
        return TRUE;
    }
    case CPL_GETCOUNT:
        return 1;
    case CPL_INQUIRE: {
        auto* info = reinterpret_cast<CPLINFO*>(lParam2);
        info->idIcon = CPL_DYNAMIC_RES;
        info->idName = CPL_DYNAMIC_RES;
        info->idInfo = CPL_DYNAMIC_RES;
        info->lData = 0;
        return 0;
    }
    case CPL_STARTWPARMSW:
        Record("start=" + Narrow(reinterpret_cast<const wchar_t*>(lParam2)));
        return TRUE;
    case CPL_STARTWPARMSA:
        Record(std::string("start=") + reinterpret_cast<const char*>(lParam2));
        return TRUE;
    case CPL_DBLCLK:
        Record("open");
        return 0;
    default:
        return 0;
    }
}
