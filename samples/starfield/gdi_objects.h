#pragma once

#include <windows.h>

#include <utility>

namespace scrinst::starfield {

// An off-screen bitmap selected into a memory device context: every frame is
// drawn here and copied to the window in one blit, so nothing flickers.
class BackBuffer {
public:
    BackBuffer() noexcept = default;
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    ~BackBuffer() { release(); }

    // Makes the buffer at least width x height, compatible with `screen`;
    // returns false when GDI has no room for it.
    bool ensure(HDC screen, int width, int height) noexcept
    {
        if (dc_ != nullptr && width_ == width && height_ == height) {
            return true;
        }
        release();
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        if (dc_ == nullptr || bitmap_ == nullptr) {
            release();
            return false;
        }
        previous_ = SelectObject(dc_, bitmap_);
        width_ = width;
        height_ = height;
        return true;
    }

    HDC dc() const noexcept { return dc_; }

private:
    void release() noexcept
    {
        if (dc_ != nullptr && previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
        if (bitmap_ != nullptr) {
            DeleteObject(std::exchange(bitmap_, nullptr));
        }
        if (dc_ != nullptr) {
            DeleteDC(std::exchange(dc_, nullptr));
        }
        previous_ = nullptr;
        width_ = 0;
        height_ = 0;
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace scrinst::starfield
