#pragma once

#include <cstdint>
#include <span>

#include "bitmap.h"
#include "bmp_layout.h"

namespace scrinst::bmp {

// Decodes RLE8 or RLE4 data (bottom-up, 8 or 4 bits per pixel) into the
// 8-bit output, already sized and zeroed. Nothing is ever written outside the
// picture: runs and deltas that leave it are clipped, as the system clips
// them, and pixels no code reaches stay index 0.
void DecodeRle(const Layout& layout, std::span<const std::uint8_t> data, Bitmap& output);

}  // namespace scrinst::bmp
