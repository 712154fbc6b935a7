#include "picture_control.h"

#include <cstring>
#include <utility>

#include "error.h"
#include "system_error.h"
#include "window_owner.h"

namespace scrinst {

namespace {

std::vector<std::uint8_t> BitmapInfoFor(const Bitmap& picture)
{
    const std::size_t colours = picture.bitsPerPixel == 8 ? picture.palette.size() : 0;
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD));
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = picture.width;
    header.biHeight = -picture.height;  // rows run top-down
    header.biPlanes = 1;
    header.biBitCount = picture.bitsPerPixel;
    header.biCompression = BI_RGB;
    header.biClrUsed = static_cast<DWORD>(colours);
    std::memcpy(info.data(), &header, sizeof(header));
    for (std::size_t i = 0; i < colours; ++i) {
        const PaletteEntry& entry = picture.palette[i];
        const RGBQUAD quad{entry.blue, entry.green, entry.red, 0};
        std::memcpy(info.data() + sizeof(header) + i * sizeof(RGBQUAD), &quad, sizeof(quad));
    }
    return info;
}

bool Drawable(const Bitmap& picture) noexcept
{
    if (picture.empty() || (picture.bitsPerPixel != 24 && picture.bitsPerPixel != 8)) {
        return false;
    }
    const std::uint64_t needed = std::uint64_t{picture.Stride()} * static_cast<std::uint64_t>(picture.height);
    return picture.pixels.size() >= needed;
}

}  // namespace

void PictureControl::RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &PictureControl::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExA(&windowClass) == 0) {
        throw Error(SystemErrorText(GetLastError()));
    }
}

void PictureControl::Create(HWND parent, int id, int left, int top, int width, int height, HINSTANCE instance)
{
    window_ = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE, left, top, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    if (window_ == nullptr) {
        throw Error(SystemErrorText(GetLastError()));
    }
}

void PictureControl::SetPicture(Bitmap picture)
{
    bitmapInfo_ = Drawable(picture) ? BitmapInfoFor(picture) : std::vector<std::uint8_t>{};
    picture_ = std::move(picture);
    if (window_ != nullptr) {
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void PictureControl::Paint(HDC dc) const noexcept
{
    RECT area{};
    GetClientRect(window_, &area);
    if (bitmapInfo_.empty()) {
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    // Halftoning keeps a shrunk picture readable; it needs the brush origin reset.
    const int previousMode = SetStretchBltMode(dc, HALFTONE);
    POINT previousOrigin{};
    SetBrushOrgEx(dc, 0, 0, &previousOrigin);
    StretchDIBits(dc, 0, 0, area.right, area.bottom, 0, 0, picture_.width, picture_.height, picture_.pixels.data(),
                  reinterpret_cast<const BITMAPINFO*>(bitmapInfo_.data()), DIB_RGB_COLORS, SRCCOPY);
    SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
    SetStretchBltMode(dc, previousMode);
}

LRESULT CALLBACK PictureControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    const auto* self = WindowOwner<const PictureControl>(window, message, lParam);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // Paint covers every pixel
    case WM_PAINT:
        if (self != nullptr && self->window_ == window) {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            self->Paint(dc);
            EndPaint(window, &paint);
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (self != nullptr && self->window_ == window) {
            self->Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        break;
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // clicks belong to the panel
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace scrinst
