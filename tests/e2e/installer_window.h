#pragma once

#include <windows.h>

#include <string>

#include "app_process.h"

namespace scrinst::e2e {

inline constexpr const char* kFormClass = "TFrmInstallation";
inline constexpr const char* kMessageBoxClass = "#32770";

// Hang guards only: a window that has not appeared by then never will.
inline constexpr DWORD kStartTimeoutMs = 30000;
inline constexpr DWORD kReactTimeoutMs = 10000;

// The installer window's controls, found the way a person tells them apart:
// by kind and place, not by any identifier of the program's own.
struct InstallerWindow {
    HWND form = nullptr;
    HWND panel = nullptr;
    HWND image = nullptr;
    HWND memo = nullptr;
    HWND label = nullptr;
    HWND progress = nullptr;
    HWND install = nullptr;
    HWND cancel = nullptr;

    // "btnInstall", "Memo1"... or the class and caption of a stranger.
    std::string nameOf(HWND window) const;
};

// The visible installer window, or null when none appeared in time.
HWND WaitForForm(const AppProcess& app, DWORD timeoutMs = kStartTimeoutMs);
InstallerWindow IdentifyControls(HWND form);

// The numbers and settings the window is built from.
void CheckLayout(const InstallerWindow& window);
// Caption, control kinds and texts, styles, focus, progress.
void CheckOpenState(const AppProcess& app, const InstallerWindow& window, const std::string& caption);
// The text box shows exactly these lines.
void CheckMemoText(const InstallerWindow& window, const std::string& expectedText);

// What the picture area shows: "banner" (the built-in one), "empty" (button
// face only) or "split:RRGGBB:RRGGBB" (a picture whose left and right halves
// have those colours).
void CheckPicture(const InstallerWindow& window, const std::string& expectation);

struct ExpectedMessage {
    std::string text;
    bool prefixOnly = false;
};

// A visible message box of the process, or null.
HWND FindMessageBox(const AppProcess& app);
HWND WaitForMessageBox(const AppProcess& app, DWORD timeoutMs);
std::string MessageBoxText(HWND box);
// The application's error box: owner, caption, text, icon and one OK button;
// while it shows, form (when given) is disabled.
void CheckErrorBox(const AppProcess& app, HWND box, const std::string& title, const ExpectedMessage& expected,
                   HWND form);
// Presses OK and waits until the box has gone.
void DismissMessageBox(HWND box);

// Posts a button press the way BM_CLICK delivers it, without waiting for the
// handler: a handler may show a modal box.
void PressButton(HWND button);

}  // namespace scrinst::e2e
