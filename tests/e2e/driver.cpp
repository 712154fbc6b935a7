// Drives the real installer window the way a person would: starts a package,
// looks at what the window shows, types, clicks, and checks what is left on
// disk and in the registry afterwards. One scenario per run:
//
//   driver SCENARIO PACKAGE.exe [key=value ...]
//
// Exit status 0 when every check passed. Keys used by the scenarios:
//   name=      the screen saver name in the package (the installed file's name)
//   caption=   the window caption expected (default: name + " Installation")
//   title=     the application title expected on error boxes
//   text=      a file with the lines the text box must show, LF-separated
//   picture=   banner | empty | split:RRGGBB:RRGGBB
//   load-error=  the text of the error box expected before the window opens
//                (load-error-prefix= when only its start is fixed)
//   saver=     the screen saver file that was packed
//   shot=      path without extension for screenshots (.bmp)
//   how=       the way to close or to install, per scenario
//   bits=      32 or 64: how the system must run the package
//   settings-text=  what the installed screen saver answers to /c
//   keep=1     leave what the scenario installed in place (the demo)
//   slowness=  every wait lasts this many times longer (emulated programs)
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "app_process.h"
#include "check.h"
#include "input.h"
#include "installer_window.h"
#include "options.h"
#include "system_state.h"
#include "win32_handles.h"
#include "window_probe.h"

namespace scrinst::e2e {

namespace {

std::string ReadText(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    Require(bytes.has_value(), "cannot read " + Quoted(path));
    // The file lists the expected lines one per line; the text box separates
    // them by CR LF.
    std::string text;
    for (const std::uint8_t byte : *bytes) {
        if (byte == '\n') {
            text += "\r\n";
        } else {
            text += static_cast<char>(byte);
        }
    }
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
        text.resize(text.size() - 2);
    }
    return text;
}

std::string InstalledPath(const std::string& name)
{
    return WindowsDirectory() + "\\" + name + ".scr";
}

std::string ExpectedCaption(const Options& options)
{
    if (options.has("caption")) {
        return options.get("caption");
    }
    return options.need("name") + " Installation";
}

void SaveShot(const Options& options, const std::string& suffix, const RECT& area)
{
    if (!options.has("shot")) {
        return;
    }
    // Lets the last paint reach the screen.
    WaitFor([] { return false; }, 200);
    const std::string path = options.path("shot") + suffix + ".bmp";
    Expect(CaptureScreen(area).saveBmp(path), "cannot save the screenshot " + Quoted(path));
}

RECT WholeScreen()
{
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// "{windir}" in an expected text stands for the Windows directory.
ExpectedMessage Message(const Options& options, const std::string& key)
{
    const bool prefixOnly = options.has(key + "-prefix");
    std::string text = prefixOnly ? options.get(key + "-prefix") : options.need(key);
    const std::string placeholder = "{windir}";
    for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at)) {
        const std::string directory = WindowsDirectory();
        text.replace(at, placeholder.size(), directory);
        at += directory.size();
    }
    return ExpectedMessage{text, prefixOnly};
}

// Waits for the window to open. A package whose loading fails shows its
// error box first, while the window is still hidden.
InstallerWindow OpenWindow(const AppProcess& app, const Options& options)
{
    HWND form = nullptr;
    HWND box = nullptr;
    WaitFor([&] {
        form = app.findTopLevel(kFormClass, true);
        box = FindMessageBox(app);
        return form != nullptr || box != nullptr || app.hasExited();
    }, kStartTimeoutMs);

    if (options.has("load-error") || options.has("load-error-prefix")) {
        Expect(form == nullptr, "the window was shown before the error box");
        if (box == nullptr) {
            box = WaitForMessageBox(app, kReactTimeoutMs);
        }
        Require(box != nullptr, "no error box while loading; windows: " + app.describeWindows());
        Note("error box: " + Quoted(MessageBoxText(box)));
        Expect(app.findTopLevel(kFormClass, true) == nullptr, "the window is visible while the loading error shows");
        CheckErrorBox(app, box, options.need("title"), Message(options, "load-error"), nullptr);
        SaveShot(options, "-error", WholeScreen());
        DismissMessageBox(box);
        form = WaitForForm(app);
    } else if (box != nullptr) {
        Fail("unexpected error box " + Quoted(MessageBoxText(box)) + " while the window opens");
    }
    Require(app.hasExited() == false, "the program ended before its window opened, exit code " +
                                          std::to_string(app.exitCode()));
    Require(form != nullptr, "no visible window of class " + std::string(kFormClass) +
                                 " appeared; windows: " + app.describeWindows());
    if (options.has("bits")) {
        ExpectEqual("the program's bitness", std::stoll(options.get("bits")), app.bits());
    }
    return IdentifyControls(form);
}

void RequireExit(const AppProcess& app, const std::string& how)
{
    Require(app.waitForExit(kReactTimeoutMs), how + " did not end the program; windows: " + app.describeWindows());
    ExpectEqual("exit code after " + how, 0, app.exitCode());
}

void RequireForeground(const InstallerWindow& window)
{
    Require(BringToForeground(window.form), "the installer window cannot be brought to the foreground");
}

// What every scenario that installs nothing must leave behind.
class NothingInstalled {
public:
    explicit NothingInstalled(const Options& options)
        : path_(options.has("name") ? InstalledPath(options.get("name")) : ""), cleared_(path_)
    {
    }
    void check() const
    {
        if (!path_.empty()) {
            Expect(KindOf(path_) == PathKind::Absent, Quoted(path_) + " exists although nothing was installed");
        }
        Expect(ScreenSaverSetting() == setting_.original(), "SCRNSAVE.EXE changed although nothing was installed");
    }

private:
    std::string path_;
    ClearedPath cleared_;
    RestoredScreenSaverSetting setting_;
};

// ----------------------------------------------------------------------------
// Scenarios

void KeepAlive(const Options&)
{
    // Holds the prefix's wineserver and services up between tests. Asking
    // for the desktop window starts the desktop's process here, detached from
    // any test's output, instead of in the first test.
    GetDesktopWindow();
    Sleep(INFINITE);
}

// The window as it opens: caption, layout, controls, texts, picture, focus.
void Window(const Options& options)
{
    NothingInstalled nothing(options);
    AppProcess app(options.package());
    const InstallerWindow window = OpenWindow(app, options);
    CheckOpenState(app, window, ExpectedCaption(options));
    CheckLayout(window);
    CheckMemoText(window, options.has("text") ? ReadText(options.path("text")) : "");
    CheckPicture(window, options.get("picture", "banner"));
    SaveShot(options, "", ScreenRectOf(window.form));

    PressButton(window.cancel);
    RequireExit(app, "Cancel");
    nothing.check();
}

struct CloseWay {
    const char* name;
    std::function<void(const InstallerWindow&)> close;
};

void TypeFocused(const InstallerWindow& window, WORD key, Keys modifiers = {})
{
    RequireForeground(window);
    PressKey(key, modifiers);
}

void TabTo(const AppProcess& app, const InstallerWindow& window, HWND target)
{
    RequireForeground(window);
    for (int i = 0; i < 3 && FocusOf(app.threadId()) != target; ++i) {
        PressKey(VK_TAB);
        WaitFor([&] { return FocusOf(app.threadId()) == target; }, 1000);
    }
    Require(FocusOf(app.threadId()) == target, "Tab does not reach " + window.nameOf(target));
}

POINT CentreOf(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Finds the close box along the title bar the way the window itself tells
// where its parts are.
POINT CloseBoxOf(HWND form)
{
    const RECT frame = ScreenRectOf(form);
    const int y = frame.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = frame.right - 1; x > frame.left; --x) {
        DWORD_PTR hit = 0;
        SendMessageTimeoutA(form, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 5000, &hit);
        if (hit == HTCLOSE) {
            // Well inside the box, not on its edge.
            return POINT{x - GetSystemMetrics(SM_CXSIZE) / 3, y};
        }
    }
    Fail("the title bar has no close box");
}

void Close(const Options& options)
{
    NothingInstalled nothing(options);
    AppProcess app(options.package());
    const InstallerWindow window = OpenWindow(app, options);
    const std::string how = options.need("how");

    const std::map<std::string, std::function<void()>> ways = {
        {"cancel-button", [&] { PressButton(window.cancel); }},
        {"cancel-mouse",
         [&] {
             RequireForeground(window);
             ClickAt(CentreOf(ScreenRectOf(window.cancel)));
         }},
        {"close-box",
         [&] {
             RequireForeground(window);
             ClickAt(CloseBoxOf(window.form));
         }},
        {"system-menu-close", [&] { PostMessageA(window.form, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        // Requests that arrive after the first close but before the program
        // has ended reach the window again; they must do no harm.
        {"every-way-at-once",
         [&] {
             PressButton(window.cancel);
             PressButton(window.cancel);
             PostMessageA(window.form, WM_SYSCOMMAND, SC_CLOSE, 0);
             PostMessageA(window.form, WM_CLOSE, 0, 0);
             PressButton(window.install);
         }},
        {"wm-close", [&] { PostMessageA(window.form, WM_CLOSE, 0, 0); }},
        {"alt-f4", [&] { TypeFocused(window, VK_F4, Keys{false, false, true}); }},
        {"letter-c", [&] { TypeFocused(window, 'C'); }},
        {"shift-c", [&] { TypeFocused(window, 'C', Keys{true, false, false}); }},
        {"alt-c-in-memo",
         [&] {
             TabTo(app, window, window.memo);
             PressKey('C', Keys{false, false, true});
         }},
        {"enter-on-cancel",
         [&] {
             TabTo(app, window, window.cancel);
             PressKey(VK_RETURN);
         }},
        {"space-on-cancel",
         [&] {
             TabTo(app, window, window.cancel);
             PressKey(VK_SPACE);
         }},
    };
    const auto way = ways.find(how);
    Require(way != ways.end(), "unknown way to close: " + how);
    way->second();
    RequireExit(app, how);
    nothing.check();
}

// Tab order, arrows, Escape and letters typed into the text box.
void Keyboard(const Options& options)
{
    NothingInstalled nothing(options);
    AppProcess app(options.package());
    const InstallerWindow window = OpenWindow(app, options);
    RequireForeground(window);

    struct Step {
        WORD key;
        Keys modifiers;
        HWND InstallerWindow::*focus;
    };
    const Keys none{};
    const Keys shift{true, false, false};
    const Step steps[] = {
        {VK_TAB, none, &InstallerWindow::cancel},
        {VK_TAB, none, &InstallerWindow::memo},
        {VK_TAB, none, &InstallerWindow::install},
        {VK_TAB, shift, &InstallerWindow::memo},
        {VK_TAB, shift, &InstallerWindow::cancel},
        {VK_TAB, shift, &InstallerWindow::install},
        // Arrows reach every control with a tab order, tab stop or not...
        {VK_RIGHT, none, &InstallerWindow::cancel},
        {VK_RIGHT, none, &InstallerWindow::panel},
        {VK_DOWN, none, &InstallerWindow::memo},
        // ...except out of the text box, which keeps them for its caret.
        {VK_DOWN, none, &InstallerWindow::memo},
        {VK_RIGHT, none, &InstallerWindow::memo},
        {VK_TAB, none, &InstallerWindow::install},
        {VK_LEFT, none, &InstallerWindow::progress},
        {VK_LEFT, none, &InstallerWindow::memo},
        {VK_TAB, none, &InstallerWindow::install},
        {VK_UP, none, &InstallerWindow::progress},
        {VK_DOWN, none, &InstallerWindow::install},
        {VK_DOWN, none, &InstallerWindow::cancel},
        {VK_UP, none, &InstallerWindow::install},
        // Neither button is a cancel button: Escape does nothing.
        {VK_ESCAPE, none, &InstallerWindow::install},
        {VK_TAB, none, &InstallerWindow::cancel},
        // Enter presses the focused button only with no modifier held.
        {VK_RETURN, shift, &InstallerWindow::cancel},
        {VK_RETURN, Keys{false, true, false}, &InstallerWindow::cancel},
        {VK_RETURN, Keys{false, false, true}, &InstallerWindow::cancel},
        {VK_TAB, none, &InstallerWindow::memo},
        // Letters typed into the text box go to it, not to the buttons.
        {'C', none, &InstallerWindow::memo},
        {'I', none, &InstallerWindow::memo},
        {VK_TAB, none, &InstallerWindow::install},
    };
    HWND before = FocusOf(app.threadId());
    Expect(before == window.install, "the focus starts on " + window.nameOf(before));
    for (const Step& step : steps) {
        const HWND expected = window.*step.focus;
        PressKey(step.key, step.modifiers);
        WaitFor([&] { return FocusOf(app.threadId()) == expected || app.hasExited(); }, 2000);
        Require(!app.hasExited(), KeyName(step.key, step.modifiers) + " on " + window.nameOf(before) +
                                      " ended the program");
        Require(FindMessageBox(app) == nullptr, KeyName(step.key, step.modifiers) + " on " + window.nameOf(before) +
                                                    " showed " + Quoted(MessageBoxText(FindMessageBox(app))));
        const HWND after = FocusOf(app.threadId());
        Require(after == expected, KeyName(step.key, step.modifiers) + " on " + window.nameOf(before) +
                                       " moved the focus to " + window.nameOf(after) + ", expected " +
                                       window.nameOf(expected));
        before = after;
    }
    ExpectEqual("Memo1 text after typing into it", options.has("text") ? ReadText(options.path("text")) : "",
                TextOf(window.memo));
    ExpectEqual("btnInstall caption after the keys", "&Install", TextOf(window.install));
    ExpectEqual("progress position after the keys", 0, ProgressOf(window.progress).position);
    nothing.check();

    // With the focus on Install, the letter c presses Cancel.
    PressKey('C');
    RequireExit(app, "the letter c");
    nothing.check();
}

// Waits until Install has either finished or shown an error box.
HWND WaitForInstallOutcome(const AppProcess& app, const InstallerWindow& window)
{
    HWND box = nullptr;
    WaitFor([&] {
        box = FindMessageBox(app);
        return box != nullptr || TextOf(window.install) == "&Complete" || app.hasExited();
    }, kReactTimeoutMs);
    Require(!app.hasExited(), "the program ended while installing, exit code " + std::to_string(app.exitCode()));
    return box;
}

// Install pressed: it must end without an error box.
void RequireInstalled(const AppProcess& app, const InstallerWindow& window)
{
    const HWND box = WaitForInstallOutcome(app, window);
    if (box != nullptr) {
        const std::string text = MessageBoxText(box);
        DismissMessageBox(box);
        Fail("installing showed the error " + Quoted(text));
    }
}

// The stand-in display settings applet writes down how it was started here.
constexpr const char* kDisplaySettingsRecord = "C:\\windows\\temp\\e2e-display-settings.txt";

std::string ReadRecord()
{
    const auto bytes = ReadBytes(kDisplaySettingsRecord);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::string RecordValue(const std::string& record, const std::string& key)
{
    const std::string start = key + "=";
    for (std::size_t at = 0; at < record.size();) {
        const std::size_t end = std::min(record.find('\n', at), record.size());
        if (record.compare(at, start.size(), start) == 0) {
            return record.substr(at + start.size(), end - at - start.size());
        }
        at = end + 1;
    }
    return "<none>";
}

// The display settings must have been started with the one command line and
// show state. (The desktop-wallpaper call cannot be watched here: Wine
// broadcasts a settings change only when the call also updates the user's
// profile, which this one does not ask for.)
void CheckDisplaySettingsStarted()
{
    const bool started = WaitFor([] { return ReadRecord().find("show=") != std::string::npos; }, kReactTimeoutMs);
    Expect(started, "the display settings applet was not started");
    if (started) {
        const std::string record = ReadRecord();
        ExpectEqual("display settings command line", "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1",
                    RecordValue(record, "command"));
        ExpectEqual("display settings show state (SW_RESTORE)", "9", RecordValue(record, "show"));
        Note("display settings applet asked to start with " + Quoted(RecordValue(record, "start")));
    }
}

// What a failed install must not have done.
void CheckDisplaySettingsNotStarted()
{
    WaitFor([] { return false; }, 500);
    Expect(KindOf(kDisplaySettingsRecord) == PathKind::Absent,
           "the display settings were started although installing failed");
}

// Ends whatever the display settings left running: it belongs to the
// system, not to the program under test, and must not outlive the scenario.
void EndStrays(const std::set<DWORD>& before)
{
    std::set<DWORD> stray;
    for (const DWORD id : ProcessesNamed("rundll32.exe")) {
        if (before.count(id) == 0) {
            stray.insert(id);
        }
    }
    TerminateProcesses(stray);
}

void Install(const Options& options)
{
    const std::string name = options.need("name");
    const std::string target = InstalledPath(name);
    const auto saver = ReadBytes(options.path("saver"));
    Require(saver.has_value(), "cannot read the packed screen saver " + Quoted(options.path("saver")));
    const std::string how = options.get("how", "click");

    ClearedPath cleared(target);
    RestoredScreenSaverSetting setting;
    if (options.get("existing") == "1") {
        // Longer than the new file, so that a write without truncation shows.
        const std::vector<std::uint8_t> old(saver->size() + 4096, 0xEE);
        Require(WriteBytes(target, old), "cannot place an old file at " + Quoted(target));
    }
    ClearedPath record(kDisplaySettingsRecord);
    const std::set<DWORD> rundllBefore = ProcessesNamed("rundll32.exe");

    AppProcess app(options.package());
    const InstallerWindow window = OpenWindow(app, options);
    if (how == "alt-i") {
        RequireForeground(window);
        PressKey('I', Keys{false, false, true});
    } else {
        PressButton(window.install);
    }
    RequireInstalled(app, window);
    CheckDisplaySettingsStarted();
    EndStrays(rundllBefore);

    ExpectEqual("btnInstall caption after installing", "&Complete", TextOf(window.install));
    ExpectEqual("btnCancel caption after installing", "&Cancel", TextOf(window.cancel));
    const ProgressState progress = ProgressOf(window.progress);
    ExpectEqual("progress minimum after installing", 0, progress.low);
    ExpectEqual("progress maximum after installing", 3, progress.high);
    ExpectEqual("progress position after installing", 3, progress.position);
    const auto written = ReadBytes(target);
    Expect(written.has_value(), Quoted(target) + " was not written");
    if (written) {
        Expect(*written == *saver, Quoted(target) + " differs from the packed screen saver: " +
                                       std::to_string(written->size()) + " bytes, expected " +
                                       std::to_string(saver->size()));
    }
    const auto setting_after = ScreenSaverSetting();
    Expect(setting_after.has_value(), "SCRNSAVE.EXE was not set");
    if (setting_after) {
        ExpectEqual("SCRNSAVE.EXE", target, setting_after->text);
        ExpectEqual("SCRNSAVE.EXE type (REG_SZ)", REG_SZ, setting_after->type);
    }
    SaveShot(options, "", ScreenRectOf(window.form));

    // Complete closes and installs nothing more: take away what the first
    // press wrote and see that it does not come back.
    Require(DeleteFileA(target.c_str()) != 0, "cannot delete " + Quoted(target));
    DeleteFileA(kDisplaySettingsRecord);
    {
        RegistryKey key;
        RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, key.out());
        RegDeleteValueA(key.get(), kScreenSaverValue);
    }
    if (how == "alt-i") {
        // Both buttons now carry the letter C; Complete answers it first.
        RequireForeground(window);
        PressKey('C');
    } else {
        PressButton(window.install);
    }
    RequireExit(app, "Complete");
    Expect(KindOf(target) == PathKind::Absent, "Complete wrote " + Quoted(target) + " again");
    Expect(!ScreenSaverSetting().has_value(), "Complete set SCRNSAVE.EXE again");
    WaitFor([] { return false; }, 500);
    Expect(KindOf(kDisplaySettingsRecord) == PathKind::Absent, "Complete started the display settings again");
    EndStrays(rundllBefore);
}

// Install fails: the error box, the progress where it stopped, the button
// still Install, and only what the failing step left behind.
void InstallFails(const Options& options)
{
    const std::string name = options.need("name");
    const std::string target = options.has("target") ? WindowsPath(options.get("target")) : InstalledPath(name);
    const std::string setup = options.get("setup", "none");
    const std::string leaves = options.get("leaves", "nothing");

    // Declared before the key removal, so that the value is put back into
    // the restored key. A device name is no path to clear or look at.
    std::optional<ClearedPath> cleared;
    if (leaves != "unchecked") {
        cleared.emplace(target);
    }
    RestoredScreenSaverSetting setting;
    std::optional<RemovedDesktopKey> removedKey;
    if (setup == "directory") {
        Require(CreateDirectoryA(target.c_str(), nullptr) != 0, "cannot create the folder " + Quoted(target));
    } else {
        Require(setup == "none" || setup == "no-desktop-key", "unknown setup " + Quoted(setup));
    }
    ClearedPath record(kDisplaySettingsRecord);
    const std::set<DWORD> rundllBefore = ProcessesNamed("rundll32.exe");

    AppProcess app(options.package());
    const InstallerWindow window = OpenWindow(app, options);
    if (setup == "no-desktop-key") {
        // Only now: under Wine every process that starts creates the key
        // again (it keeps its window metrics beneath it).
        removedKey.emplace();
    }
    PressButton(window.install);
    const HWND box = WaitForInstallOutcome(app, window);
    Require(box != nullptr, "installing succeeded; expected an error");
    Note("error box: " + Quoted(MessageBoxText(box)));
    CheckErrorBox(app, box, options.need("title"), Message(options, "error"), window.form);
    SaveShot(options, "-install-error", WholeScreen());
    if (options.has("progress")) {
        ExpectEqual("progress position after the failure", std::stoi(options.get("progress")),
                    ProgressOf(window.progress).position);
    } else {
        Note("progress position after the failure: " + std::to_string(ProgressOf(window.progress).position));
    }
    DismissMessageBox(box);

    // The box is gone a moment before the program enables its window again.
    Expect(WaitFor([&] { return IsWindowEnabled(window.form) != 0; }, kReactTimeoutMs),
           "the window stays disabled after the error box");
    ExpectEqual("btnInstall caption after the failure", "&Install", TextOf(window.install));
    CheckDisplaySettingsNotStarted();
    EndStrays(rundllBefore);

    if (leaves == "saver") {
        const auto saver = ReadBytes(options.path("saver"));
        Require(saver.has_value(), "cannot read the packed screen saver");
        const auto written = ReadBytes(target);
        Expect(written.has_value() && *written == *saver,
               "the screen saver was not written in full to " + Quoted(target) + " before the failure");
    } else if (leaves == "directory") {
        Expect(KindOf(target) == PathKind::Directory, "the folder at " + Quoted(target) + " is gone");
    } else if (leaves == "nothing") {
        Expect(KindOf(target) == PathKind::Absent, Quoted(target) + " was written");
    }
    if (setup == "no-desktop-key") {
        Expect(!DesktopKeyExists(), "installing created \"Control Panel\\Desktop\"");
    } else {
        Expect(ScreenSaverSetting() == setting.original(), "SCRNSAVE.EXE changed although installing failed");
    }

    PressButton(window.cancel);
    RequireExit(app, "Cancel after the failure");
}

POINT ScreenCentre()
{
    return POINT{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
}

void MovePointer(POINT to)
{
    Require(SetCursorPos(to.x, to.y) != 0, "cannot move the pointer");
    // Lets the move reach whichever window is under the pointer.
    WaitFor([] { return false; }, 300);
}

// A visible top-level window of the process that covers the whole primary
// screen, or null.
HWND FullScreenWindowOf(const AppProcess& app)
{
    const RECT screen = WholeScreen();
    for (HWND window : app.topLevelWindows()) {
        const RECT bounds = ScreenRectOf(window);
        if (IsWindowVisible(window) && bounds.left <= screen.left && bounds.top <= screen.top &&
            bounds.right >= screen.right && bounds.bottom >= screen.bottom) {
            return window;
        }
    }
    return nullptr;
}

// A package with a real screen saver, from the window to the saver at work:
// install, then /s (full screen until the pointer really moves) and /c (its
// answer about settings). The demo takes its screenshots here.
void Saver(const Options& options)
{
    const std::string name = options.need("name");
    const std::string target = InstalledPath(name);
    const bool keep = options.get("keep") == "1";
    std::optional<ClearedPath> cleared;
    std::optional<RestoredScreenSaverSetting> setting;
    if (keep) {
        DeleteFileA(target.c_str());
    } else {
        cleared.emplace(target);
        setting.emplace();
    }

    {
        const std::set<DWORD> rundllBefore = ProcessesNamed("rundll32.exe");
        AppProcess app(options.package());
        const InstallerWindow window = OpenWindow(app, options);
        SaveShot(options, "-window", ScreenRectOf(window.form));
        PressButton(window.install);
        RequireInstalled(app, window);
        ExpectEqual("btnInstall caption after installing", "&Complete", TextOf(window.install));
        // Whatever the display settings command shows would sit over the
        // screen saver.
        EndStrays(rundllBefore);
        SaveShot(options, "-installed", ScreenRectOf(window.form));
        PressButton(window.install);
        RequireExit(app, "Complete");
    }
    if (options.has("saver")) {
        const auto saver = ReadBytes(options.path("saver"));
        Require(saver.has_value(), "cannot read the packed screen saver " + Quoted(options.path("saver")));
        Expect(ReadBytes(target) == saver, Quoted(target) + " differs from the packed screen saver");
    }
    const auto setting_after = ScreenSaverSetting();
    Expect(setting_after.has_value() && setting_after->text == target, "SCRNSAVE.EXE does not name " + Quoted(target));

    const POINT centre = ScreenCentre();
    MovePointer(centre);
    {
        AppProcess saver(target, "/s");
        HWND full = nullptr;
        WaitFor([&] { return (full = FullScreenWindowOf(saver)) != nullptr || saver.hasExited(); }, kStartTimeoutMs);
        Require(full != nullptr, "/s showed no window over the whole screen; windows: " + saver.describeWindows());
        Note("/s: " + ClassOf(full) + " " + Quoted(TextOf(full)) + " covers the screen");
        // A moment of animation for the screenshot.
        WaitFor([] { return false; }, 2000);
        SaveShot(options, "-running", WholeScreen());
        // A hand resting on the mouse must not end it; a real move must.
        MovePointer(POINT{centre.x + 3, centre.y + 2});
        WaitFor([] { return false; }, 1000);
        Require(!saver.hasExited(), "a nudge of a few pixels ended the screen saver");
        MovePointer(POINT{centre.x + 200, centre.y + 150});
        Require(saver.waitForExit(kReactTimeoutMs), "moving the pointer did not end the screen saver");
        ExpectEqual("exit code of /s", 0, saver.exitCode());
    }
    {
        AppProcess settings(target, "/c");
        const HWND box = WaitForMessageBox(settings, kStartTimeoutMs);
        Require(box != nullptr, "/c showed no message box; windows: " + settings.describeWindows());
        ExpectEqual("answer to /c", options.need("settings-text"), MessageBoxText(box));
        SaveShot(options, "-settings", ScreenRectOf(box));
        DismissMessageBox(box);
        RequireExit(settings, "OK on the /c box");
    }
}

int Run(int argc, char** argv)
{
    const Options options(argc, argv);
    const std::map<std::string, void (*)(const Options&)> scenarios = {
        {"keep-alive", KeepAlive}, {"window", Window},   {"close", Close},
        {"keyboard", Keyboard},    {"install", Install}, {"install-fails", InstallFails},
        {"saver", Saver},
    };
    const auto scenario = scenarios.find(options.scenario());
    Require(scenario != scenarios.end(), "unknown scenario " + Quoted(options.scenario()));
    SetSlowness(static_cast<DWORD>(std::stoul(options.get("slowness", "1"))));
    RestoreDesktopKeyFromBackup();
    Note(options.scenario() + " " + options.package());
    scenario->second(options);
    return FailureCount() == 0 ? 0 : 1;
}

}  // namespace

}  // namespace scrinst::e2e

int main(int argc, char** argv)
{
    using namespace scrinst::e2e;
    int status = 1;
    try {
        status = Run(argc, argv);
    } catch (const Fatal& fatal) {
        std::printf("FAIL: %s\n", fatal.what());
    } catch (const std::exception& error) {
        std::printf("FAIL: unexpected exception: %s\n", error.what());
    }
    std::printf("%s\n", status == 0 ? "PASS" : "FAILED");
    return status;
}
