#pragma once

#include <windows.h>

#include <memory>
#include <utility>

namespace scrinst::e2e {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept
    {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

class UniqueKey {
public:
    UniqueKey() = default;
    explicit UniqueKey(HKEY key) noexcept : key_(key) {}
    UniqueKey(UniqueKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    UniqueKey& operator=(UniqueKey&& other) noexcept
    {
        std::swap(key_, other.key_);
        return *this;
    }
    ~UniqueKey()
    {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    HKEY get() const noexcept { return key_; }
    HKEY* out() noexcept { return &key_; }

private:
    HKEY key_ = nullptr;
};

class ScreenDc {
public:
    ScreenDc() noexcept : dc_(GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc()
    {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) noexcept : dc_(CreateCompatibleDC(compatible)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc()
    {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) noexcept : object_(object) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject()
    {
        if (object_ != nullptr) {
            DeleteObject(object_);
        }
    }
    HGDIOBJ get() const noexcept { return object_; }

private:
    HGDIOBJ object_;
};

// Keeps an object selected into a device context for one scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace scrinst::e2e
