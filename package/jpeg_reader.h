#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "bitmap.h"

namespace scrinst {

// A JPEG picture in two stages, because the window drops its banner between
// them: Load parses the markers up to the first scan and fails on header
// errors; Decode decompresses and fails on errors in the compressed data.
// Failures throw Error("JPEG error #N") with libjpeg's message code.
class JpegImage {
public:
    static JpegImage Load(std::span<const std::uint8_t> data);

    // Colour pictures give 24-bit output; greyscale ones 8-bit through the
    // library's quantiser (236 levels, Floyd-Steinberg).
    Bitmap Decode() const;

    std::int32_t width() const noexcept { return width_; }
    std::int32_t height() const noexcept { return height_; }

private:
    JpegImage() = default;
    std::vector<std::uint8_t> data_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

}  // namespace scrinst
