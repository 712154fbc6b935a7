#include "application.h"

#include <commctrl.h>

#include <array>
#include <span>

#include "app_title.h"
#include "error.h"
#include "error_text.h"
#include "resource_ids.h"
#include "system_error.h"
#include "uFrmInstallation.h"
#include "window_owner.h"

namespace scrinst {

// While the error box shows, every other window of the program is disabled,
// whether or not it is the box's owner. The owner itself is left to the box,
// which disables it and, when dismissed, enables it again before the box
// disappears; the others follow at that moment (WM_ENABLE on the owner), so
// nobody can see the program still disabled after the box has gone.
class DisabledTaskWindows {
public:
    explicit DisabledTaskWindows(HWND owner) noexcept : owner_(owner)
    {
        EnumThreadWindows(GetCurrentThreadId(), &DisabledTaskWindows::Disable, reinterpret_cast<LPARAM>(this));
    }
    ~DisabledTaskWindows() { Restore(); }
    DisabledTaskWindows(const DisabledTaskWindows&) = delete;
    DisabledTaskWindows& operator=(const DisabledTaskWindows&) = delete;

    void Restore() noexcept
    {
        for (std::size_t i = 0; i < count_; ++i) {
            EnableWindow(windows_[i], TRUE);
        }
        count_ = 0;
    }

private:
    static BOOL CALLBACK Disable(HWND window, LPARAM self) noexcept
    {
        auto& list = *reinterpret_cast<DisabledTaskWindows*>(self);
        if (window != list.owner_ && list.count_ < list.windows_.size() && IsWindowVisible(window) &&
            IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            list.windows_[list.count_++] = window;
        }
        return TRUE;
    }

    HWND owner_;
    std::array<HWND, 16> windows_{};
    std::size_t count_ = 0;
};

namespace {

constexpr const char* kWindowClass = "TApplication";
// Posted rather than acted on at once: activation must not be moved while the
// system is still in the middle of activating this window.
constexpr UINT kActivateMainForm = WM_APP + 1;

std::string ModuleTitle()
{
    // Fixed at 256 bytes: a longer path is cut, and older systems then leave
    // it unterminated.
    std::array<char, 256> buffer{};
    GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.back() = '\0';
    OemToCharA(buffer.data(), buffer.data());
    return ApplicationTitle(buffer.data(), [](std::span<char> text) {
        CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    });
}

[[noreturn]] void FailWithLastError()
{
    throw Error(SystemErrorText(GetLastError()));
}

}  // namespace

Application::Application(HINSTANCE instance) : instance_(instance), title_(ModuleTitle())
{
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    icon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON, 0, 0,
                                          LR_DEFAULTSIZE | LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Application::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon_;
    windowClass.hIconSm = smallIcon_;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExA(&windowClass) == 0) {
        FailWithLastError();
    }
    // A captioned pop-up of no size: invisible on screen, yet it carries the
    // title on the taskbar button and owns the form and the error box.
    const HWND window = CreateWindowExA(0, kWindowClass, title_.c_str(),
                                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                        nullptr, nullptr, instance, this);
    if (window == nullptr) {
        FailWithLastError();
    }
    window_ = WindowHandle(window);
}

void Application::Run(TFrmInstallation& form)
{
    mainForm_ = &form;
    ShowWindow(window_.get(), SW_SHOWNA);
    form.Show();

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (form.PreTranslateMessage(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    mainForm_ = nullptr;
}

void Application::ShowError(std::string_view message) noexcept
{
    std::string text;
    try {
        text = ErrorBoxText(message);
    } catch (...) {
        text.clear();
    }
    const char* shown = text.empty() && !message.empty() ? "Out of memory." : text.c_str();
    DisabledTaskWindows disabled(window_.get());
    disabledWhileError_ = &disabled;
    MessageBoxA(window_.get(), shown, title_.c_str(), MB_OK | MB_ICONERROR);
    disabledWhileError_ = nullptr;
}

LRESULT CALLBACK Application::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* self = WindowOwner<Application>(window, message, lParam);
    if (self == nullptr || self->window_.get() == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    const HWND window = window_.get();
    switch (message) {
    case WM_ACTIVATE:
        // The taskbar button activates this window; the user means the form.
        if (LOWORD(wParam) != WA_INACTIVE) {
            PostMessageA(window, kActivateMainForm, 0, 0);
        }
        return 0;
    case kActivateMainForm:
        if (mainForm_ != nullptr) {
            mainForm_->Activate();
        }
        return 0;
    case WM_ENABLE:
        // The error box gives its owner back first: the rest follows at once.
        if (wParam != 0 && disabledWhileError_ != nullptr) {
            disabledWhileError_->Restore();
        }
        return 0;
    case WM_CLOSE:
        // Closing from the taskbar is closing the form.
        if (mainForm_ != nullptr) {
            mainForm_->Close();
        }
        return 0;
    case WM_ENDSESSION:
        // Logging off ends the loop without the form's close.
        if (wParam != 0) {
            PostQuitMessage(0);
        }
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace scrinst
