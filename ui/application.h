#pragma once

#include <windows.h>

#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "messages.h"
#include "gdi_handles.h"

namespace scrinst {

class TFrmInstallation;
class DisabledTaskWindows;

// The application object: the title, the hidden window that owns the taskbar
// button, the main form and the error box, the icon, and the message loop.
// Every error raised by the form's handlers stops here and is reported.
class Application {
public:
    explicit Application(HINSTANCE instance);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HINSTANCE instance() const noexcept { return instance_; }
    HWND handle() const noexcept { return window_.get(); }
    HICON icon() const noexcept { return icon_; }
    HICON smallIcon() const noexcept { return smallIcon_; }
    const std::string& title() const noexcept { return title_; }

    // Shows form and pumps messages until the form closes.
    void Run(TFrmInstallation& form);

    // Runs action as a handler: an error it raises is shown in the error box
    // and the program carries on.
    template <class Action>
    void Guarded(Action&& action) noexcept
    {
        try {
            action();
        } catch (const std::bad_alloc&) {
            ShowError(messages::kOutOfMemory);
        } catch (const std::exception& error) {
            ShowError(error.what());
        }
    }

    // The modal error box, owned by the application window and captioned
    // with the title; the form is disabled while it shows.
    void ShowError(std::string_view message) noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HINSTANCE instance_;
    std::string title_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    WindowHandle window_;
    TFrmInstallation* mainForm_ = nullptr;
    DisabledTaskWindows* disabledWhileError_ = nullptr;  // while the error box shows
};

}  // namespace scrinst
