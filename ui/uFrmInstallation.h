#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "bitmap.h"
#include "byte_buffer.h"
#include "install_platform.h"
#include "load_target.h"
#include "picture_control.h"
#include "trailer.h"
#include "gdi_handles.h"

namespace scrinst {

class Application;

// The installer window. Loading reaches it only as a load target, installing
// only as a progress indicator.
class TFrmInstallation final : public LoadTarget, public ProgressIndicator {
public:
    static constexpr const char* kWindowClass = "TFrmInstallation";

    // Builds the window from its layout, hidden, then runs FormCreate; an
    // error there is reported at once and creation completes.
    explicit TFrmInstallation(Application& application);
    ~TFrmInstallation() override;
    TFrmInstallation(const TFrmInstallation&) = delete;
    TFrmInstallation& operator=(const TFrmInstallation&) = delete;

    HWND handle() const noexcept { return window_.get(); }

    // Centres the window on the desktop and shows it.
    void Show();
    // Gives the form the activation and its control the focus.
    void Activate() noexcept;
    // The form's close: runs FormClose once and ends the message loop.
    void Close() noexcept;

    // Keyboard handling before a message is translated and dispatched; true
    // when the message has been dealt with.
    bool PreTranslateMessage(const MSG& message) noexcept;

    // LoadTarget
    void StoreTrailer(const TPackageTrailer& newTrailer) override;
    void SetCaption(const std::string& caption) override;
    ByteBuffer& SaverBuffer() override;
    void DropPicture() override;
    void FillPicture(Bitmap picture) override;
    void SetLines(std::vector<std::string> lines) override;

    // ProgressIndicator
    void SetMax(int maximum) override;
    void SetPosition(int position) override;

private:
    using ClickHandler = void (TFrmInstallation::*)();

    // Event handlers.
    void FormCreate();
    void FormClose();
    void btnCancelClick();
    void btnInstallClick();
    void CloseAfterInstall();

    void CreateFromLayout();
    void Click(HWND button) noexcept;
    std::optional<std::size_t> FocusedControl() const noexcept;
    void MoveFocus(std::optional<std::size_t> control) noexcept;
    HWND ControlWindow(std::size_t index) const noexcept;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    Application& application_;
    WindowHandle window_;
    GdiObject font_;

public:
    // The window's parts, in the order of its design. Child windows are
    // destroyed with the form.
    HWND Panel1 = nullptr;
    HWND Memo1 = nullptr;
    HWND Label1 = nullptr;
    HWND progressBar = nullptr;
    HWND btnInstall = nullptr;
    HWND btnCancel = nullptr;
    PictureControl imgInstall;
    // Created empty by FormCreate, released by FormClose; empty in between
    // only when the window has closed.
    std::optional<ByteBuffer> saverStream;
    TPackageTrailer trailer{};

private:
    ClickHandler btnInstallOnClick_ = &TFrmInstallation::btnInstallClick;
    // Whether loading ran to its end; installing refuses a part-loaded package.
    bool packageIntact_ = false;
    // Set by the first close: later close requests and button presses that
    // arrive before the loop ends find the window already closed.
    bool closed_ = false;
    // Only a shown window ends the loop when it is destroyed.
    bool shown_ = false;
    HWND lastFocus_ = nullptr;
};

}  // namespace scrinst
