#pragma once

#include <cstdint>
#include <span>

#include "bitmap.h"
#include "bmp_colours.h"
#include "bmp_layout.h"

namespace scrinst::bmp {

// Decodes uncompressed or bit-field pixels, stored rows padded to four bytes,
// into output (already sized and zeroed). Data that ends early leaves the
// remaining pixels zero; only whole pixels are taken from a row cut short.
void DecodeUncompressed(const Layout& layout, const ChannelMasks& masks, std::span<const std::uint8_t> data,
                        Bitmap& output);

}  // namespace scrinst::bmp
