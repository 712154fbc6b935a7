#pragma once

#include <cstdint>
#include <span>

#include "bitmap.h"

namespace scrinst {

// Reads a Windows bitmap file (file header, core or information header,
// colour table or bit-field masks, then the pixels) into a Bitmap. Throws
// Error with the user-facing message for each failure. Pixel data that ends
// early is no error: the missing pixels stay zero.
Bitmap ReadBitmapFile(std::span<const std::uint8_t> file);

}  // namespace scrinst
