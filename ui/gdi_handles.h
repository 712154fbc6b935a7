#pragma once

#include <windows.h>

#include "win32_handles.h"

namespace scrinst {

// Owns a top-level window; child windows go with their parent.
struct WindowHandleTraits {
    using Handle = HWND;
    static Handle None() noexcept { return nullptr; }
    static bool Holds(Handle window) noexcept { return window != nullptr; }
    static bool Release(Handle window) noexcept { return DestroyWindow(window) != FALSE; }
};
using WindowHandle = UniqueResource<WindowHandleTraits>;

// Owns a font, brush or bitmap.
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle None() noexcept { return nullptr; }
    static bool Holds(Handle object) noexcept { return object != nullptr; }
    static bool Release(Handle object) noexcept { return DeleteObject(object) != FALSE; }
};
using GdiObject = UniqueResource<GdiObjectTraits>;

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
