#include "window_probe.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "check.h"
#include "gdi_handles.h"

namespace scrinst::e2e {

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, static_cast<int>(sizeof name));
    return name;
}

std::string TextOf(HWND window)
{
    // WM_GETTEXT with a timeout: a hung program must fail the check, not
    // hang the driver.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return "<no answer>";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(copied);
    return text;
}

LONG_PTR StyleOf(HWND window)
{
    return GetWindowLongPtrA(window, GWL_STYLE);
}

RECT RectInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    HWND parent = GetAncestor(window, GA_PARENT);
    if (parent != nullptr && parent != GetDesktopWindow()) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

SIZE ClientSize(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

std::string Describe(const RECT& rect)
{
    char text[96];
    std::snprintf(text, sizeof text, "%ld,%ld %ldx%ld", rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
    return text;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

HWND FocusOf(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

HWND ActiveOf(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndActive : nullptr;
}

ProgressState ProgressOf(HWND progressBar)
{
    ProgressState state;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(progressBar, PBM_GETRANGE, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &result);
    state.low = static_cast<int>(result);
    SendMessageTimeoutA(progressBar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &result);
    state.high = static_cast<int>(result);
    SendMessageTimeoutA(progressBar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    state.position = static_cast<int>(result);
    return state;
}

namespace {
DWORD slowness = 1;
}  // namespace

void SetSlowness(DWORD factor)
{
    slowness = factor == 0 ? 1 : factor;
}

DWORD Patient(DWORD timeoutMs)
{
    return timeoutMs == INFINITE ? INFINITE : timeoutMs * slowness;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + Patient(timeoutMs);
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(20);
    }
}

Image::Image(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
{
}

COLORREF Image::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return CLR_INVALID;
    }
    const std::uint32_t bgrx = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                       static_cast<std::size_t>(x)];
    return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
}

bool Image::saveBmp(const std::string& path) const
{
    // 24 bits per pixel: a 32-bit file's unused fourth byte reads as a fully
    // transparent alpha channel in some viewers.
    const std::size_t stride = (static_cast<std::size_t>(width_) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = rows.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width_; ++x) {
            const COLORREF pixel = at(x, y);
            row[3 * x] = GetBValue(pixel);
            row[3 * x + 1] = GetGValue(pixel);
            row[3 * x + 2] = GetRValue(pixel);
        }
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width_;
    info.biHeight = -height_;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rows.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    return std::fclose(out) == 0 && written;
}

Image CaptureScreen(const RECT& screenRect)
{
    const int width = screenRect.right - screenRect.left;
    const int height = screenRect.bottom - screenRect.top;
    Image image(width, height);
    if (width <= 0 || height <= 0) {
        return image;
    }
    ScreenDc screen;
    MemoryDc memory(screen.get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Require(bitmap.get() != nullptr && bits != nullptr, "cannot create a bitmap for a screen capture");
    {
        SelectedObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), screenRect.left, screenRect.top, SRCCOPY);
        GdiFlush();
    }
    const auto* source = static_cast<const std::uint32_t*>(bits);
    std::copy(source, source + static_cast<std::size_t>(width) * static_cast<std::size_t>(height), image.data());
    return image;
}

RECT ScreenRectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ScreenClientRectOf(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string ColourName(COLORREF colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

}  // namespace scrinst::e2e
