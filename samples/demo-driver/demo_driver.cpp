// Drives the installer window and the sample screen saver from inside Wine for
// the demo and the 32-bit smoke run. Each argument group is one step, run in
// order; the first failing step ends the program with exit code 1. Every step
// prints one line and flushes, so a shell reading the output can take a
// screenshot at the right moment.
//
//   start <command line>                 start a program, do not wait
//   wait <caption> <seconds>             a visible top-level window appears; prints its rectangle
//   gone <caption> <seconds>             no window with the caption is left
//   button <caption> <text> <seconds>    the window has a button with this text
//   click <caption> <text>               press that button (BM_CLICK)
//   close <caption>                      ask the window to close (WM_CLOSE)
//   dialog <caption> <text> <seconds>    a message box with this caption shows this text;
//                                        prints its rectangle
//   kill <image name>                    end every process started from that file name
//   file <path> [bytes]                  the file exists (and has this size)
//   reg <HKCU key> <value> <text>        the REG_SZ value reads the text (case aside)
//   delreg <HKCU key> <value>            remove the value if it is there, so a later
//                                        reg step proves a new write
//   preview <saver path> <seconds>       host a preview window, run "<saver> /p HWND" in it,
//                                        then close the host and expect the saver to end
//   mouse <x> <y>                        move the pointer there, as a user's hand would
//   key                                  press and release the space bar
//   sleep <milliseconds>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = DWORD;

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

class Handle {
public:
    explicit Handle(HANDLE handle) noexcept : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    HANDLE get() const noexcept { return handle_; }
    bool valid() const noexcept { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

class Key {
public:
    Key() noexcept = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key()
    {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    HKEY* out() noexcept { return &key_; }
    HKEY get() const noexcept { return key_; }

private:
    HKEY key_ = nullptr;
};

// Polls `ready` every 100 ms, pumping this thread's messages, until it holds
// or the time is up.
template <typename Ready>
bool WaitFor(DWORD seconds, Ready ready)
{
    const Clock start = GetTickCount();
    for (;;) {
        if (ready()) {
            return true;
        }
        if (GetTickCount() - start >= seconds * 1000u) {
            return false;
        }
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(100);
    }
}

HWND FindTopLevel(const std::string& caption)
{
    HWND window = FindWindowA(nullptr, caption.c_str());
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

std::string TextOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, static_cast<int>(sizeof text));
    return text;
}

std::string ClassOf(HWND window)
{
    char name[128] = {};
    GetClassNameA(window, name, static_cast<int>(sizeof name));
    return name;
}

struct ChildSearch {
    const char* className;  // nullptr: any
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM context)
{
    auto* search = reinterpret_cast<ChildSearch*>(context);
    if (search->className != nullptr && lstrcmpiA(ClassOf(child).c_str(), search->className) != 0) {
        return TRUE;
    }
    if (TextOf(child) != *search->text) {
        return TRUE;
    }
    search->found = child;
    return FALSE;
}

HWND FindChild(HWND parent, const char* className, const std::string& text)
{
    ChildSearch search{className, &text, nullptr};
    EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD Seconds(const std::string& text)
{
    return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
}

bool Fail(const char* format, const std::string& detail)
{
    std::printf("FAILED: ");
    Say(format, detail.c_str());
    return false;
}

bool Start(const std::string& commandLine)
{
    std::string buffer = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return Fail("cannot start %s", commandLine);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Say("started %s (process %lu)", commandLine.c_str(), static_cast<unsigned long>(process.dwProcessId));
    return true;
}

// The line a screenshot script crops by.
void SayWhere(const std::string& caption, HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    Say("window \"%s\" at %ld %ld size %ld %ld", caption.c_str(), static_cast<long>(bounds.left),
        static_cast<long>(bounds.top), static_cast<long>(bounds.right - bounds.left),
        static_cast<long>(bounds.bottom - bounds.top));
}

bool WaitWindow(const std::string& caption, DWORD seconds)
{
    HWND window = nullptr;
    if (!WaitFor(seconds, [&] { return (window = FindTopLevel(caption)) != nullptr; })) {
        return Fail("no window \"%s\" appeared", caption);
    }
    SayWhere(caption, window);
    return true;
}

bool WaitGone(const std::string& caption, DWORD seconds)
{
    if (!WaitFor(seconds, [&] { return FindWindowA(nullptr, caption.c_str()) == nullptr; })) {
        return Fail("window \"%s\" is still there", caption);
    }
    Say("window \"%s\" is gone", caption.c_str());
    return true;
}

bool WaitButton(const std::string& caption, const std::string& text, DWORD seconds)
{
    const bool found = WaitFor(seconds, [&] {
        HWND window = FindTopLevel(caption);
        return window != nullptr && FindChild(window, "Button", text) != nullptr;
    });
    if (!found) {
        return Fail("no button reading %s", text);
    }
    Say("button reads %s", text.c_str());
    return true;
}

bool Click(const std::string& caption, const std::string& text)
{
    HWND window = FindTopLevel(caption);
    HWND button = window == nullptr ? nullptr : FindChild(window, "Button", text);
    if (button == nullptr) {
        return Fail("no button %s to press", text);
    }
    // Posted rather than sent: the click runs the installer's whole handler,
    // and an error box there would block a sent message until someone answers.
    PostMessageA(button, BM_CLICK, 0, 0);
    Say("pressed %s", text.c_str());
    return true;
}

bool Close(const std::string& caption)
{
    HWND window = FindWindowA(nullptr, caption.c_str());
    if (window == nullptr) {
        return Fail("no window \"%s\" to close", caption);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    Say("asked \"%s\" to close", caption.c_str());
    return true;
}

bool WaitDialog(const std::string& caption, const std::string& text, DWORD seconds)
{
    HWND dialog = nullptr;
    const bool found = WaitFor(seconds, [&] {
        dialog = FindWindowA("#32770", caption.c_str());
        return dialog != nullptr && FindChild(dialog, nullptr, text) != nullptr;
    });
    if (!found) {
        return Fail("no message box saying \"%s\"", text);
    }
    Say("message box \"%s\" says \"%s\"", caption.c_str(), text.c_str());
    SayWhere(caption, dialog);
    return true;
}

bool Kill(const std::string& imageName)
{
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) {
        return Fail("cannot list processes to end %s", imageName);
    }
    int ended = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, imageName.c_str()) != 0) {
            continue;
        }
        Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process.valid() && TerminateProcess(process.get(), 0)) {
            WaitForSingleObject(process.get(), 10000);
            ++ended;
        }
    }
    Say("ended %d process(es) of %s", ended, imageName.c_str());
    return true;
}

bool ExpectFile(const std::string& path, const std::string* expectedSize)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return Fail("no file %s", path);
    }
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (expectedSize != nullptr && size != std::strtoull(expectedSize->c_str(), nullptr, 10)) {
        return Fail("file has the wrong size, expected %s bytes", *expectedSize);
    }
    Say("file %s has %llu bytes", path.c_str(), size);
    return true;
}

bool ExpectRegistry(const std::string& keyPath, const std::string& valueName, const std::string& expected)
{
    Key key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) {
        return Fail("no key HKCU\\%s", keyPath);
    }
    char value[1024] = {};
    DWORD type = 0;
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return Fail("no text value %s", valueName);
    }
    if (lstrcmpiA(value, expected.c_str()) != 0) {
        return Fail("the value reads %s", value);
    }
    Say("registry %s = %s", valueName.c_str(), value);
    return true;
}

bool DeleteRegistryValue(const std::string& keyPath, const std::string& valueName)
{
    Key key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, key.out()) != ERROR_SUCCESS) {
        return Fail("no key HKCU\\%s", keyPath);
    }
    const LONG result = RegDeleteValueA(key.get(), valueName.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        return Fail("cannot remove the value %s", valueName);
    }
    Say("registry %s removed", valueName.c_str());
    return true;
}

// The little monitor of the display settings, reduced to a plain window.
LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

bool Preview(const std::string& saverPath, DWORD seconds)
{
    constexpr char kHostClass[] = "DemoDriverPreviewHost";
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = &HostProcedure;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    hostClass.lpszClassName = kHostClass;
    RegisterClassA(&hostClass);
    HWND host = CreateWindowExA(0, kHostClass, "Starfield Preview", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN, 40, 40, 320,
                                240, nullptr, nullptr, hostClass.hInstance, nullptr);
    if (host == nullptr) {
        return Fail("cannot create the preview host for %s", saverPath);
    }

    std::string commandLine = "\"" + saverPath + "\" /p " + std::to_string(reinterpret_cast<std::uintptr_t>(host));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        DestroyWindow(host);
        return Fail("cannot start %s", commandLine);
    }
    CloseHandle(info.hThread);
    Handle process(info.hProcess);

    // Wait for the saver's child window, then let it animate for a while.
    const bool drawing = WaitFor(seconds + 60, [&] { return GetWindow(host, GW_CHILD) != nullptr; });
    if (!drawing) {
        DestroyWindow(host);
        return Fail("the saver made no window inside the preview (%s)", commandLine);
    }
    Say("preview at 40 40 size 320 240");
    WaitFor(seconds, [] { return false; });

    DestroyWindow(host);
    const bool ended = WaitFor(30, [&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; });
    if (!ended) {
        TerminateProcess(process.get(), 1);
        return Fail("the saver kept running after its preview window went away (%s)", commandLine);
    }
    Say("the preview ended with its window");
    return true;
}

bool MovePointer(const std::string& x, const std::string& y)
{
    const int toX = std::atoi(x.c_str());
    const int toY = std::atoi(y.c_str());
    if (!SetCursorPos(toX, toY)) {
        return Fail("cannot move the pointer to %s", x + " " + y);
    }
    Say("pointer at %d %d", toX, toY);
    return true;
}

bool PressKey()
{
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_SPACE;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, inputs, sizeof(INPUT)) != 2) {
        return Fail("cannot send a key press%s", "");
    }
    Say("pressed the space bar");
    return true;
}

void Usage()
{
    std::fputs("usage: demo-driver STEP [ARGS] [STEP [ARGS]]...\n"
               "steps: start CMDLINE | wait CAPTION SECONDS | gone CAPTION SECONDS |\n"
               "       button CAPTION TEXT SECONDS | click CAPTION TEXT | close CAPTION |\n"
               "       dialog CAPTION TEXT SECONDS | kill IMAGE | file PATH [BYTES] |\n"
               "       reg KEY VALUE TEXT | delreg KEY VALUE | preview SAVER SECONDS |\n"
               "       mouse X Y | key | sleep MILLISECONDS\n",
               stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        Usage();
        return 2;
    }
    std::size_t i = 0;
    const auto take = [&](std::size_t count) {
        if (args.size() - i < count) {
            return false;
        }
        i += count;
        return true;
    };
    while (i < args.size()) {
        const std::string step = args[i++];
        const std::size_t at = i;
        bool ok = false;
        if (step == "start" && take(1)) {
            ok = Start(args[at]);
        } else if (step == "wait" && take(2)) {
            ok = WaitWindow(args[at], Seconds(args[at + 1]));
        } else if (step == "gone" && take(2)) {
            ok = WaitGone(args[at], Seconds(args[at + 1]));
        } else if (step == "button" && take(3)) {
            ok = WaitButton(args[at], args[at + 1], Seconds(args[at + 2]));
        } else if (step == "click" && take(2)) {
            ok = Click(args[at], args[at + 1]);
        } else if (step == "close" && take(1)) {
            ok = Close(args[at]);
        } else if (step == "dialog" && take(3)) {
            ok = WaitDialog(args[at], args[at + 1], Seconds(args[at + 2]));
        } else if (step == "kill" && take(1)) {
            ok = Kill(args[at]);
        } else if (step == "file" && take(1)) {
            // An optional size follows when the next word is a number.
            const bool sized = i < args.size() && !args[i].empty() &&
                               args[i].find_first_not_of("0123456789") == std::string::npos;
            ok = ExpectFile(args[at], sized ? &args[i] : nullptr);
            i += sized ? 1 : 0;
        } else if (step == "reg" && take(3)) {
            ok = ExpectRegistry(args[at], args[at + 1], args[at + 2]);
        } else if (step == "delreg" && take(2)) {
            ok = DeleteRegistryValue(args[at], args[at + 1]);
        } else if (step == "preview" && take(2)) {
            ok = Preview(args[at], Seconds(args[at + 1]));
        } else if (step == "mouse" && take(2)) {
            ok = MovePointer(args[at], args[at + 1]);
        } else if (step == "key") {
            ok = PressKey();
        } else if (step == "sleep" && take(1)) {
            Sleep(Seconds(args[at]));
            ok = true;
        } else {
            Usage();
            return 2;
        }
        if (!ok) {
            return 1;
        }
    }
    return 0;
}
