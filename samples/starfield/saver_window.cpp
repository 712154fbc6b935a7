#include "saver_window.h"

#include "gdi_objects.h"
#include "star_field.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace scrinst::starfield {

namespace {

constexpr char kFullScreenClass[] = "StarfieldScreenSaver";
constexpr char kPreviewClass[] = "StarfieldScreenSaverPreview";
constexpr char kTitle[] = "Starfield";

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMilliseconds = 30;
constexpr float kStepPerFrame = 0.010f;
// How far behind its head a near star's streak starts, in depth.
constexpr float kStreakDepth = 0.05f;
// The pointer jitters by a pixel or two on some mice and tablets, and the
// system sends a move when the window appears; neither is the user waking up.
constexpr int kMouseSlack = 4;
// Monitors beyond this many stay dark.
constexpr std::size_t kMaxViews = 16;

// The monitors' rectangles in window coordinates, each drawn with its own
// vanishing point.
struct Views {
    std::array<RECT, kMaxViews> rects{};
    std::size_t count = 0;

    void add(const RECT& rect) noexcept
    {
        if (count < kMaxViews) {
            rects[count++] = rect;
        }
    }
    std::span<RECT> all() noexcept { return std::span<RECT>(rects).first(count); }
    std::span<const RECT> all() const noexcept { return std::span<const RECT>(rects).first(count); }
};

enum class Presentation { FullScreen, Preview };

constexpr COLORREF Colour(int red, int green, int blue) noexcept
{
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) | (static_cast<COLORREF>(blue) << 16);
}

// About one star per 1000 pixels of a monitor: dense on a big screen, still
// some in the preview's few thousand pixels.
std::size_t StarCountFor(int width, int height)
{
    const std::int64_t area = static_cast<std::int64_t>(std::max(width, 0)) * std::max(height, 0);
    return static_cast<std::size_t>(
        std::clamp<std::int64_t>(area / 1000, 60, static_cast<std::int64_t>(StarField::kMaxStars)));
}

std::int16_t LowWord(LPARAM value) noexcept
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

std::int16_t HighWord(LPARAM value) noexcept
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((value >> 16) & 0xFFFF));
}

class SaverWindow {
public:
    SaverWindow(Presentation presentation, std::size_t starCount, std::uint32_t seed)
        : presentation_(presentation), field_(starCount, seed)
    {
    }

    SaverWindow(const SaverWindow&) = delete;
    SaverWindow& operator=(const SaverWindow&) = delete;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            auto* self = static_cast<SaverWindow*>(create->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<SaverWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self == nullptr) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        return self->handle(message, wParam, lParam);
    }

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_CREATE:
            collectViews();
            SetTimer(window_, kFrameTimer, kFrameMilliseconds, nullptr);
            return 0;
        case WM_SIZE:
            collectViews();
            return 0;
        case WM_TIMER:
            if (wParam == kFrameTimer) {
                onFrame();
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;  // every frame paints the whole window
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kFrameTimer);
            SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
            PostQuitMessage(0);
            return 0;
        default:
            break;
        }
        if (presentation_ == Presentation::FullScreen) {
            switch (message) {
            case WM_SETCURSOR:
                SetCursor(nullptr);
                return TRUE;
            case WM_MOUSEMOVE:
                onMouseMove(POINT{LowWord(lParam), HighWord(lParam)});
                return 0;
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
            case WM_LBUTTONDOWN:
            case WM_MBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_XBUTTONDOWN:
                end();
                return 0;
            case WM_SYSCOMMAND:
                // The system must not start a second saver over this one.
                if ((wParam & 0xFFF0) == SC_SCREENSAVE) {
                    return 0;
                }
                break;
            default:
                break;
            }
        }
        return DefWindowProcA(window_, message, wParam, lParam);
    }

    void end() { PostMessageA(window_, WM_CLOSE, 0, 0); }

    void onMouseMove(POINT position)
    {
        if (!mouseSeen_) {
            mouseSeen_ = true;
            firstMouse_ = position;
            return;
        }
        if (std::abs(position.x - firstMouse_.x) > kMouseSlack || std::abs(position.y - firstMouse_.y) > kMouseSlack) {
            end();
        }
    }

    void onFrame()
    {
        // A preview's parent can die without its child hearing first when the
        // settings dialog's process is killed.
        if (presentation_ == Presentation::Preview && !IsWindow(GetParent(window_))) {
            DestroyWindow(window_);
            return;
        }
        field_.advance(kStepPerFrame);
        InvalidateRect(window_, nullptr, FALSE);
    }

    // Each monitor gets its own vanishing point, so the flight looks right on
    // every screen instead of centring on the seam between two of them.
    void collectViews()
    {
        views_.count = 0;
        if (presentation_ == Presentation::FullScreen) {
            EnumDisplayMonitors(nullptr, nullptr, &SaverWindow::AddMonitor, reinterpret_cast<LPARAM>(&views_));
            const int originX = GetSystemMetrics(SM_XVIRTUALSCREEN);
            const int originY = GetSystemMetrics(SM_YVIRTUALSCREEN);
            for (RECT& view : views_.all()) {
                OffsetRect(&view, -originX, -originY);
            }
        }
        if (views_.count == 0) {
            RECT client{};
            GetClientRect(window_, &client);
            views_.add(client);
        }
    }

    static BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT bounds, LPARAM context)
    {
        reinterpret_cast<Views*>(context)->add(*bounds);
        return TRUE;
    }

    void onPaint()
    {
        PAINTSTRUCT paint{};
        HDC screen = BeginPaint(window_, &paint);
        RECT client{};
        GetClientRect(window_, &client);
        if (buffer_.ensure(screen, client.right, client.bottom)) {
            render(buffer_.dc(), client);
            BitBlt(screen, 0, 0, client.right, client.bottom, buffer_.dc(), 0, 0, SRCCOPY);
        } else {
            render(screen, client);  // flickers, but still shows something
        }
        EndPaint(window_, &paint);
    }

    void render(HDC dc, const RECT& client) const
    {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
        const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
        for (const RECT& view : views_.all()) {
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, view.left, view.top, view.right, view.bottom);
            renderView(dc, view);
            RestoreDC(dc, saved);
        }
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }

    void renderView(HDC dc, const RECT& view) const
    {
        const float centreX = static_cast<float>(view.left + view.right) / 2.0f;
        const float centreY = static_cast<float>(view.top + view.bottom) / 2.0f;
        const float scale = static_cast<float>(std::max(view.right - view.left, view.bottom - view.top)) / 2.0f;
        const auto project = [&](float x, float y, float z) {
            return POINT{static_cast<LONG>(centreX + x / z * scale), static_cast<LONG>(centreY + y / z * scale)};
        };

        for (const Star& star : field_.stars()) {
            // 0 at the horizon, 1 at the viewer: drives brightness, size and streak.
            const float closeness = 1.0f - (star.z - StarField::kNear) / (StarField::kFar - StarField::kNear);
            const int level = 70 + static_cast<int>(185.0f * closeness);
            const COLORREF colour = Colour(level, level, std::min(255, level + 40));
            const POINT head = project(star.x, star.y, star.z);

            if (closeness < 0.45f) {
                SetPixelV(dc, head.x, head.y, colour);
                continue;
            }
            if (closeness > 0.65f) {
                const POINT tail = project(star.x, star.y, std::min(star.z + kStreakDepth * closeness, StarField::kFar));
                SetDCPenColor(dc, Colour(level * 2 / 3, level * 2 / 3, std::min(255, level * 2 / 3 + 50)));
                MoveToEx(dc, tail.x, tail.y, nullptr);
                LineTo(dc, head.x, head.y);
            }
            const LONG size = closeness > 0.85f ? 3 : 2;
            const RECT dot{head.x, head.y, head.x + size, head.y + size};
            SetDCBrushColor(dc, colour);
            FillRect(dc, &dot, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
    }

    HWND window_ = nullptr;
    Presentation presentation_;
    StarField field_;
    Views views_;
    BackBuffer buffer_;
    bool mouseSeen_ = false;
    POINT firstMouse_{};
};

bool RegisterSaverClass(HINSTANCE instance, const char* name)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &SaverWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass) != 0;
}

int RunMessageLoop()
{
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

std::uint32_t Seed() noexcept
{
    return static_cast<std::uint32_t>(GetTickCount()) ^ static_cast<std::uint32_t>(GetCurrentProcessId());
}

}  // namespace

int RunFullScreen(HINSTANCE instance)
{
    // The system can ask twice, for example when the timeout and a hot
    // corner meet; one flight is enough.
    if (HWND running = FindWindowA(kFullScreenClass, nullptr); running != nullptr) {
        SetForegroundWindow(running);
        return 0;
    }
    if (!RegisterSaverClass(instance, kFullScreenClass)) {
        return 1;
    }
    SaverWindow saver(Presentation::FullScreen,
                      StarCountFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)), Seed());
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kFullScreenClass, kTitle, WS_POPUP | WS_VISIBLE,
                                  GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr,
                                  nullptr, instance, &saver);
    if (window == nullptr) {
        return 1;
    }
    SetForegroundWindow(window);
    return RunMessageLoop();
}

int RunPreview(HINSTANCE instance, HWND parent)
{
    RECT area{};
    if (!IsWindow(parent) || !GetClientRect(parent, &area) || !RegisterSaverClass(instance, kPreviewClass)) {
        return 1;
    }
    SaverWindow saver(Presentation::Preview, StarCountFor(area.right, area.bottom), Seed());
    HWND window = CreateWindowExA(0, kPreviewClass, kTitle, WS_CHILD | WS_VISIBLE, 0, 0, area.right, area.bottom,
                                  parent, nullptr, instance, &saver);
    if (window == nullptr) {
        return 1;
    }
    return RunMessageLoop();
}

}  // namespace scrinst::starfield
