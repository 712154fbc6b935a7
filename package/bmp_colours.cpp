#include "bmp_colours.h"

#include <algorithm>
#include <bit>

#include "messages.h"

namespace scrinst::bmp {

namespace {

[[noreturn]] void NotValid()
{
    throw Error(std::string(messages::kBitmapNotValid));
}

ChannelMask MaskOf(std::uint32_t mask)
{
    ChannelMask channel;
    channel.mask = mask;
    channel.shift = static_cast<std::uint32_t>(std::countr_zero(mask));
    channel.bits = static_cast<std::uint32_t>(std::popcount(mask));
    if (channel.bits <= 8) {
        for (std::uint32_t value = 0; value < (std::uint32_t{1} << channel.bits); ++value) {
            std::uint32_t scaled = 0;
            for (std::uint32_t filled = 0; filled < 8; filled += channel.bits) {
                const std::uint32_t room = 8 - filled;
                scaled |= room >= channel.bits ? value << (room - channel.bits) : value >> (channel.bits - room);
            }
            channel.scaled[value] = static_cast<std::uint8_t>(scaled);
        }
    }
    return channel;
}

// A field must be a single run of ones: shifted down to bit 0 it is then one
// less than a power of two.
bool Contiguous(std::uint32_t mask)
{
    const std::uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

ChannelMasks CheckedMasks(std::uint32_t red, std::uint32_t green, std::uint32_t blue, std::uint16_t bitCount)
{
    const std::uint32_t pixelBits = bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    for (const std::uint32_t mask : {red, green, blue}) {
        if (mask == 0 || !Contiguous(mask) || (mask & ~pixelBits) != 0) {
            NotValid();
        }
    }
    if ((red & green) != 0 || (red & blue) != 0 || (green & blue) != 0) {
        NotValid();
    }
    return {MaskOf(red), MaskOf(green), MaskOf(blue)};
}

}  // namespace

ChannelMasks ReadChannelMasks(ByteCursor& cursor, const InfoHeader& header, const Layout& layout)
{
    if (layout.bitCount != 16 && layout.bitCount != 32) {
        return {};
    }
    if (layout.compression == kCompressionRgb) {
        return layout.bitCount == 16 ? CheckedMasks(0x7C00, 0x03E0, 0x001F, 16)
                                     : CheckedMasks(0xFF0000, 0xFF00, 0xFF, 32);
    }
    if (header.masksInHeader) {
        const auto& masks = header.headerMasks;
        return CheckedMasks(masks[0], masks[1], masks[2], layout.bitCount);
    }
    const auto bytes = cursor.Take(12, messages::kStreamReadError);
    return CheckedMasks(LoadU32(bytes, 0), LoadU32(bytes, 4), LoadU32(bytes, 8), layout.bitCount);
}

std::vector<PaletteEntry> ReadColourTable(ByteCursor& cursor, const InfoHeader& header, const Layout& layout)
{
    const bool paletted = layout.bitCount <= 8;
    const std::uint32_t depthColours = paletted ? std::uint32_t{1} << layout.bitCount : 0;
    // The core header has no count: its table is always full. A count of 0
    // in the information header means the full table too. True-colour
    // pictures may carry a table as a display hint; it is read past, unused.
    const std::uint64_t announced = header.core || header.colorsUsed == 0 ? depthColours : header.colorsUsed;
    const std::uint64_t entrySize = header.core ? 3 : 4;
    // All announced entries are consumed, since the pixels follow the table.
    // Entries beyond what the depth can index are never used and are skipped,
    // as the system does; a count so large that the file cannot hold the
    // table is a table cut short.
    const auto table = cursor.Take(announced * entrySize, messages::kStreamReadError);
    if (!paletted) {
        return {};
    }
    // The palette always covers every index the depth can hold, so a pixel
    // naming an entry the file left out shows black instead of reading past
    // the table.
    std::vector<PaletteEntry> palette(depthColours);
    const auto kept = static_cast<std::size_t>(std::min<std::uint64_t>(announced, depthColours));
    for (std::size_t i = 0; i < kept; ++i) {
        const std::size_t at = i * static_cast<std::size_t>(entrySize);
        palette[i].blue = table[at];
        palette[i].green = table[at + 1];
        palette[i].red = table[at + 2];
    }
    return palette;
}

}  // namespace scrinst::bmp
