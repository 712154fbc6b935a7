#pragma once

#include <cstdint>

#include "bmp_header.h"

namespace scrinst::bmp {

// The picture's shape once the header has been checked: every value here is
// in range, so the decoding steps need no further checks on the header.
struct Layout {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    bool topDown = false;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint64_t sourceStride = 0;  // bytes per stored row of uncompressed pixels
    std::uint16_t outputBits = 24;   // 8 (with a palette) or 24
};

// Refuses, with "Bitmap image is not valid", what the system would not make a
// bitmap of: planes other than 1, an empty picture, a bit depth or
// compression it does not know, a compression that does not fit the depth.
Layout ValidateHeader(const InfoHeader& header);

// The byte count of the decoded picture. A picture above kMaxBitmapBytes is
// refused as the system refuses a bitmap it has no memory for, with
// "System Error.  Code: 8." and the system's text, before anything is
// allocated.
std::uint64_t DecodedSize(const Layout& layout);

}  // namespace scrinst::bmp
