#include "uFrmInstallation.h"

#include <commctrl.h>

#include <array>
#include <string_view>
#include <utility>

#include "application.h"
#include "default_banner.h"
#include "error.h"
#include "install_sequence.h"
#include "keyboard_rules.h"
#include "layout.h"
#include "layout_scaling.h"
#include "loader.h"
#include "system_error.h"
#include "win32_install_platform.h"
#include "window_owner.h"

namespace scrinst {

namespace {

constexpr const char* kPanelClass = "TPanel";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = 0;

[[noreturn]] void FailWithLastError()
{
    throw Error(SystemErrorText(GetLastError()));
}

void RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure, HICON icon, HICON smallIcon)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = name;
    if (RegisterClassExA(&windowClass) == 0) {
        FailWithLastError();
    }
}

HWND CreateChild(DWORD exStyle, const char* windowClass, const char* caption, DWORD style, const LayoutRect& rect,
                 HWND parent, std::int32_t id, HINSTANCE instance)
{
    const HWND window = CreateWindowExA(exStyle, windowClass, caption, WS_CHILD | WS_VISIBLE | style, rect.left,
                                        rect.top, rect.width, rect.height, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (window == nullptr) {
        FailWithLastError();
    }
    return window;
}

NavigationKey ToNavigationKey(WPARAM virtualKey) noexcept
{
    switch (virtualKey) {
    case VK_TAB:
        return NavigationKey::Tab;
    case VK_RETURN:
        return NavigationKey::Enter;
    case VK_ESCAPE:
        return NavigationKey::Escape;
    case VK_LEFT:
        return NavigationKey::Left;
    case VK_RIGHT:
        return NavigationKey::Right;
    case VK_UP:
        return NavigationKey::Up;
    case VK_DOWN:
        return NavigationKey::Down;
    default:
        return NavigationKey::Other;
    }
}

// The fields that hold the controls' windows, by index into the layout.
using ControlField = HWND TFrmInstallation::*;

}  // namespace

TFrmInstallation::TFrmInstallation(Application& application) : application_(application)
{
    CreateFromLayout();
    // The banner is part of the layout, so a fault in it is reported like a
    // fault in loading, and the window opens without it.
    application_.Guarded([this] { imgInstall.SetPicture(LoadDefaultBanner(application_.instance())); });
    application_.Guarded([this] { FormCreate(); });
}

TFrmInstallation::~TFrmInstallation()
{
    closed_ = true;  // destroying the window must not post a second quit
}

HWND TFrmInstallation::ControlWindow(std::size_t index) const noexcept
{
    switch (index) {
    case layout::kPanel1:
        return Panel1;
    case layout::kImgInstall:
        return imgInstall.handle();
    case layout::kMemo1:
        return Memo1;
    case layout::kLabel1:
        return Label1;
    case layout::kProgressBar:
        return progressBar;
    case layout::kBtnInstall:
        return btnInstall;
    case layout::kBtnCancel:
        return btnCancel;
    default:
        return nullptr;
    }
}

void TFrmInstallation::CreateFromLayout()
{
    const HINSTANCE instance = application_.instance();
    RegisterWindowClass(instance, kWindowClass, &TFrmInstallation::WindowProc, application_.icon(),
                        application_.smallIcon());
    RegisterWindowClass(instance, kPanelClass, &DefWindowProcA, nullptr, nullptr);
    PictureControl::RegisterWindowClass(instance);

    // The font first: its digit height decides every other number.
    std::int32_t digitHeight = kDesignDigitHeight;
    {
        const ScreenDc screen;
        const std::int32_t dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
        font_ = GdiObject(CreateFontA(ScaleFontHeight(layout::kFontHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                      FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, layout::kFontFace));
        if (font_.get() == nullptr) {
            FailWithLastError();
        }
        const SelectedObject selected(screen.get(), font_.get());
        SIZE digit{};
        if (GetTextExtentPoint32A(screen.get(), "0", 1, &digit) && digit.cy > 0) {
            digitHeight = digit.cy;
        }
    }

    const std::int32_t clientWidth = ScaleToFont(layout::kClientWidth, digitHeight);
    const std::int32_t clientHeight = ScaleToFont(layout::kClientHeight, digitHeight);
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
    const HWND form = CreateWindowExA(kFormExStyle, kWindowClass, layout::kFormCaption, kFormStyle, 0, 0,
                                      frame.right - frame.left, frame.bottom - frame.top, application_.handle(),
                                      nullptr, instance, this);
    if (form == nullptr) {
        FailWithLastError();
    }
    window_ = WindowHandle(form);
    // The frame's real thickness can differ from the estimate (themes): the
    // client area is what the layout fixes.
    RECT client{};
    GetClientRect(form, &client);
    if (client.right != clientWidth || client.bottom != clientHeight) {
        RECT outer{};
        GetWindowRect(form, &outer);
        SetWindowPos(form, nullptr, 0, 0, outer.right - outer.left + clientWidth - client.right,
                     outer.bottom - outer.top + clientHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const auto fontParam = reinterpret_cast<WPARAM>(font_.get());
    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
        const layout::ControlLayout& control = layout::kControls[i];
        const LayoutRect rect = ScaleRect({control.left, control.top, control.width, control.height}, digitHeight);
        const HWND parent =
            control.parent == layout::kOnForm ? form : ControlWindow(static_cast<std::size_t>(control.parent));
        const DWORD tabStop = control.tabStop ? WS_TABSTOP : 0;
        HWND created = nullptr;
        switch (control.kind) {
        case layout::ControlKind::Panel:
            // A window of its own so that it can hold the focus.
            created = CreateChild(0, kPanelClass, control.caption, WS_CLIPCHILDREN | tabStop, rect, parent,
                                  control.id, instance);
            Panel1 = created;
            break;
        case layout::ControlKind::Image:
            imgInstall.Create(parent, control.id, rect.left, rect.top, rect.width, rect.height, instance);
            break;
        case layout::ControlKind::Memo:
            // Word wrap: no horizontal scrolling of any kind.
            created = CreateChild(WS_EX_CLIENTEDGE, "EDIT", control.caption,
                                  WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_LEFT | tabStop, rect,
                                  parent, control.id, instance);
            SendMessageA(created, EM_SETLIMITTEXT, 0, 0);  // no limit on the text
            Memo1 = created;
            break;
        case layout::ControlKind::Label:
            created = CreateChild(0, "STATIC", control.caption, SS_LEFT | tabStop, rect, parent, control.id, instance);
            Label1 = created;
            break;
        case layout::ControlKind::ProgressBar:
            created = CreateChild(0, PROGRESS_CLASSA, control.caption, tabStop, rect, parent, control.id, instance);
            SendMessageA(created, PBM_SETRANGE32, static_cast<WPARAM>(layout::kProgressMin), layout::kProgressMax);
            SendMessageA(created, PBM_SETPOS, static_cast<WPARAM>(layout::kProgressPosition), 0);
            progressBar = created;
            break;
        case layout::ControlKind::Button:
            created = CreateChild(0, "BUTTON", control.caption, BS_PUSHBUTTON | tabStop, rect, parent, control.id,
                                  instance);
            (i == layout::kBtnInstall ? btnInstall : btnCancel) = created;
            break;
        }
        if (created != nullptr) {
            SendMessageA(created, WM_SETFONT, fontParam, FALSE);
        }
    }

    // The label is sized to its text in the window's font.
    {
        const ScreenDc screen;
        const SelectedObject selected(screen.get(), font_.get());
        RECT text{};
        const layout::ControlLayout& label = layout::kControls[layout::kLabel1];
        DrawTextA(screen.get(), label.caption, -1, &text, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
        SetWindowPos(Label1, nullptr, 0, 0, text.right - text.left, text.bottom - text.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    lastFocus_ = ControlWindow(NextFocus(layout::kControls, std::nullopt, true, true).value_or(layout::kBtnInstall));
}

void TFrmInstallation::Show()
{
    const HWND form = window_.get();
    RECT outer{};
    GetWindowRect(form, &outer);
    const DesktopArea desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                              GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const WindowOrigin origin = CentredOrigin(desktop, outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(form, nullptr, origin.left, origin.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shown_ = true;
    ShowWindow(form, SW_SHOW);
    UpdateWindow(form);
    SetForegroundWindow(form);
}

void TFrmInstallation::Activate() noexcept
{
    const HWND form = window_.get();
    if (!closed_ && IsWindowVisible(form) && IsWindowEnabled(form)) {
        SetActiveWindow(form);
    }
}

void TFrmInstallation::Close() noexcept
{
    if (closed_) {
        return;
    }
    closed_ = true;
    FormClose();
    PostQuitMessage(0);
}

// Event handlers ------------------------------------------------------------

void TFrmInstallation::FormCreate()
{
    saverStream.emplace();
    LoadPackage(*this);
    packageIntact_ = true;
}

void TFrmInstallation::FormClose()
{
    saverStream.reset();
}

void TFrmInstallation::btnCancelClick()
{
    Close();
}

void TFrmInstallation::btnInstallClick()
{
    if (!saverStream) {
        return;
    }
    Win32InstallPlatform platform;
    InstallScreenSaver(*saverStream, trailer, packageIntact_, *this, platform);
    SetWindowTextA(btnInstall, layout::kCompleteCaption);
    btnInstallOnClick_ = &TFrmInstallation::CloseAfterInstall;
}

void TFrmInstallation::CloseAfterInstall()
{
    Close();
}

void TFrmInstallation::Click(HWND button) noexcept
{
    if (closed_) {
        return;
    }
    if (button == btnInstall) {
        application_.Guarded([this] { (this->*btnInstallOnClick_)(); });
    } else if (button == btnCancel) {
        application_.Guarded([this] { btnCancelClick(); });
    }
}

// Load target ---------------------------------------------------------------

void TFrmInstallation::StoreTrailer(const TPackageTrailer& newTrailer)
{
    trailer = newTrailer;
}

void TFrmInstallation::SetCaption(const std::string& caption)
{
    SetWindowTextA(window_.get(), caption.c_str());
}

ByteBuffer& TFrmInstallation::SaverBuffer()
{
    if (!saverStream) {
        saverStream.emplace();
    }
    return *saverStream;
}

void TFrmInstallation::DropPicture()
{
    imgInstall.SetPicture(Bitmap{});
}

void TFrmInstallation::FillPicture(Bitmap picture)
{
    imgInstall.SetPicture(std::move(picture));
}

void TFrmInstallation::SetLines(std::vector<std::string> lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) {
            text.append("\r\n");
        }
        text.append(lines[i]);
    }
    SetWindowTextA(Memo1, text.c_str());
}

// Progress indicator --------------------------------------------------------

void TFrmInstallation::SetMax(int maximum)
{
    SendMessageA(progressBar, PBM_SETRANGE32, 0, maximum);
}

void TFrmInstallation::SetPosition(int position)
{
    SendMessageA(progressBar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    UpdateWindow(progressBar);
}

// Keyboard ------------------------------------------------------------------

std::optional<std::size_t> TFrmInstallation::FocusedControl() const noexcept
{
    const HWND focus = GetFocus();
    if (focus == nullptr) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
        if (ControlWindow(i) == focus) {
            return i;
        }
    }
    return std::nullopt;
}

void TFrmInstallation::MoveFocus(std::optional<std::size_t> control) noexcept
{
    if (!control) {
        return;
    }
    SetFocus(ControlWindow(*control));
    // Moving by keyboard shows where the focus went, as dialogs do.
    SendMessageA(window_.get(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

bool TFrmInstallation::PreTranslateMessage(const MSG& message) noexcept
{
    const HWND form = window_.get();
    if (closed_ || form == nullptr || (message.hwnd != form && !IsChild(form, message.hwnd))) {
        return false;
    }
    const std::optional<std::size_t> focus = FocusedControl();
    const std::optional<layout::ControlKind> focusKind =
        focus ? std::optional<layout::ControlKind>(layout::kControls[*focus].kind) : std::nullopt;

    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const Modifiers modifiers{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                                  (HIWORD(message.lParam) & KF_ALTDOWN) != 0};
        switch (DecideKeyDown(ToNavigationKey(message.wParam), modifiers, focusKind)) {
        case KeyAction::PassOn:
            return false;
        case KeyAction::Swallow:
            return true;
        case KeyAction::FocusNextTabStop:
            MoveFocus(NextFocus(layout::kControls, focus, true, true));
            return true;
        case KeyAction::FocusPreviousTabStop:
            MoveFocus(NextFocus(layout::kControls, focus, false, true));
            return true;
        case KeyAction::FocusNext:
            MoveFocus(NextFocus(layout::kControls, focus, true, false));
            return true;
        case KeyAction::FocusPrevious:
            MoveFocus(NextFocus(layout::kControls, focus, false, false));
            return true;
        case KeyAction::PressFocusedButton:
            Click(GetFocus());
            return true;
        }
        return false;
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
        std::array<char, 32> installText{};
        std::array<char, 32> cancelText{};
        GetWindowTextA(btnInstall, installText.data(), static_cast<int>(installText.size()));
        GetWindowTextA(btnCancel, cancelText.data(), static_cast<int>(cancelText.size()));
        // Install first: after completion both buttons mark C.
        const std::array<std::string_view, 2> captions{installText.data(), cancelText.data()};
        const std::optional<std::size_t> pressed = MnemonicTarget(static_cast<char>(message.wParam),
                                                                  message.message == WM_SYSCHAR, focusKind, captions);
        if (!pressed) {
            return false;
        }
        Click(*pressed == 0 ? btnInstall : btnCancel);
        return true;
    }
    default:
        return false;
    }
}

// Window procedure ----------------------------------------------------------

LRESULT CALLBACK TFrmInstallation::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* self = WindowOwner<TFrmInstallation>(window, message, lParam);
    if (self == nullptr || self->window_.get() != window) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT TFrmInstallation::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    const HWND form = window_.get();
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            Click(reinterpret_cast<HWND>(lParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        // The read-only text box and the label sit on the button face.
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(form, focus)) {
                lastFocus_ = focus;
            }
        } else if (HIWORD(wParam) == 0 && lastFocus_ != nullptr) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (lastFocus_ != nullptr) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // Minimising hides the form behind the application's taskbar button.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            ShowWindow(application_.handle(), SW_MINIMIZE);
            return 0;
        }
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        // Destroyed by anything but the program's own end: end the loop too.
        if (shown_ && !closed_) {
            closed_ = true;
            PostQuitMessage(0);
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcA(form, message, wParam, lParam);
}

}  // namespace scrinst
