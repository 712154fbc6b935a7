#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "bitmap.h"

namespace scrinst {

// The picture on the panel: shows a bitmap stretched to fill its whole area,
// aspect ratio not kept. An empty bitmap shows only the button-face colour.
class PictureControl {
public:
    static constexpr const char* kWindowClass = "TImage";
    static void RegisterWindowClass(HINSTANCE instance);

    PictureControl() = default;
    PictureControl(const PictureControl&) = delete;
    PictureControl& operator=(const PictureControl&) = delete;

    void Create(HWND parent, int id, int left, int top, int width, int height, HINSTANCE instance);
    HWND handle() const noexcept { return window_; }

    void SetPicture(Bitmap picture);
    const Bitmap& picture() const noexcept { return picture_; }

    // The one place that draws, for the screen and for WM_PRINTCLIENT alike.
    void Paint(HDC dc) const noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND window_ = nullptr;  // a child: destroyed with its parent
    Bitmap picture_;
    // BITMAPINFOHEADER followed by the colour table, laid out as the system
    // reads it.
    std::vector<std::uint8_t> bitmapInfo_;
};

}  // namespace scrinst
