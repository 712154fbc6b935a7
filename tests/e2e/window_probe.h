#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace scrinst::e2e {

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
LONG_PTR StyleOf(HWND window);

// The window's rectangle in its parent's client area (in screen coordinates
// for a top-level window).
RECT RectInParent(HWND window);
SIZE ClientSize(HWND window);
std::string Describe(const RECT& rect);

// Children in z-order (creation order for windows that never reorder);
// direct children only.
std::vector<HWND> ChildrenOf(HWND parent);

// What the user-interface thread of another process has: the focus and the
// active window.
HWND FocusOf(DWORD threadId);
HWND ActiveOf(DWORD threadId);

struct ProgressState {
    int low = 0;
    int high = 0;
    int position = 0;
};
ProgressState ProgressOf(HWND progressBar);

// Polls until the condition holds or the time is up; true when it held.
// The times are hang guards, never measurements.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);
// Every wait and hang guard lasts this many times longer: programs run
// through emulation start and react many times slower than native ones.
void SetSlowness(DWORD factor);
DWORD Patient(DWORD timeoutMs);

// Pixels as the screen shows them, 32-bit BGRX, top row first.
class Image {
public:
    Image(int width, int height);
    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    std::uint32_t* data() noexcept { return pixels_.data(); }
    COLORREF at(int x, int y) const;
    bool saveBmp(const std::string& path) const;

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

Image CaptureScreen(const RECT& screenRect);
RECT ScreenRectOf(HWND window);
// A control's client area in screen coordinates.
RECT ScreenClientRectOf(HWND window);

bool Near(COLORREF a, COLORREF b, int tolerance);
std::string ColourName(COLORREF colour);

}  // namespace scrinst::e2e
