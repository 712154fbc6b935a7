#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "bitmap.h"
#include "bmp_cursor.h"
#include "bmp_header.h"
#include "bmp_layout.h"

namespace scrinst::bmp {

// One colour field of a 16- or 32-bit pixel: a run of contiguous bits.
struct ChannelMask {
    std::uint32_t mask = 0;
    std::uint32_t shift = 0;  // position of the lowest bit
    std::uint32_t bits = 0;   // width of the field, 1 to 32
    // For fields of 8 bits or fewer, each value scaled to 8 bits.
    std::array<std::uint8_t, 256> scaled{};

    // The field of pixel scaled to 8 bits: wider fields keep their top 8
    // bits, narrower ones repeat their bits downwards so that the largest
    // value becomes 255 (white stays white).
    std::uint8_t Extract(std::uint32_t pixel) const noexcept
    {
        const std::uint32_t value = (pixel & mask) >> shift;
        return bits > 8 ? static_cast<std::uint8_t>(value >> (bits - 8)) : scaled[value];
    }
};

struct ChannelMasks {
    ChannelMask red;
    ChannelMask green;
    ChannelMask blue;
};

// The masks of a 16- or 32-bit picture: the defaults 5-5-5 and 8-8-8 without
// compression, or the stored masks for bit fields, which a 40-byte header
// keeps in three words after itself ("Stream read error" when they are cut
// short). Masks that are zero, not contiguous, overlapping or wider than the
// pixel are "Bitmap image is not valid". Other depths have no masks.
ChannelMasks ReadChannelMasks(ByteCursor& cursor, const InfoHeader& header, const Layout& layout);

// Reads the colour table, all of it ("Stream read error" when it is cut
// short), and returns the palette of a picture of 8 bits or fewer: one entry
// for every index its depth can hold, those beyond the table black.
std::vector<PaletteEntry> ReadColourTable(ByteCursor& cursor, const InfoHeader& header, const Layout& layout);

}  // namespace scrinst::bmp
