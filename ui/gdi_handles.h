#pragma once

#include <windows.h>

#include <utility>

namespace scrinst {

// Owns a top-level window; child windows go with their parent.
class WindowHandle {
public:
    WindowHandle() noexcept = default;
    explicit WindowHandle(HWND window) noexcept : window_(window) {}
    ~WindowHandle() { reset(); }
    WindowHandle(WindowHandle&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
    WindowHandle& operator=(WindowHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
        }
        return *this;
    }
    WindowHandle(const WindowHandle&) = delete;
    WindowHandle& operator=(const WindowHandle&) = delete;

    HWND get() const noexcept { return window_; }
    void reset() noexcept
    {
        if (window_ != nullptr) {
            DestroyWindow(std::exchange(window_, nullptr));
        }
    }

private:
    HWND window_ = nullptr;
};

// Owns a font, brush or bitmap.
class GdiObject {
public:
    GdiObject() noexcept = default;
    explicit GdiObject(HGDIOBJ object) noexcept : object_(object) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    HGDIOBJ get() const noexcept { return object_; }
    void reset() noexcept
    {
        if (object_ != nullptr) {
            DeleteObject(std::exchange(object_, nullptr));
        }
    }

private:
    HGDIOBJ object_ = nullptr;
};

// A device context for the whole screen, for measuring text.
class ScreenDc {
public:
    ScreenDc() noexcept : dc_(GetDC(nullptr)) {}
    ~ScreenDc()
    {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// A memory device context to draw into or copy the screen into.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) noexcept : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDc()
    {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a device context for one scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace scrinst
