#include "bmp_pixels.h"

#include <algorithm>
#include <cstring>

namespace scrinst::bmp {

namespace {

// Indexes of 1 and 4 bits fill each byte from its most significant bit.
template <unsigned Bits>
void UnpackIndexes(std::span<const std::uint8_t> row, std::uint8_t* out, std::size_t count)
{
    constexpr unsigned perByte = 8 / Bits;
    constexpr auto valueMask = static_cast<std::uint8_t>((1u << Bits) - 1);
    for (std::size_t x = 0; x < count; ++x) {
        const std::uint8_t byte = row[x / perByte];
        const auto shift = static_cast<unsigned>(8 - Bits * (x % perByte + 1));
        out[x] = static_cast<std::uint8_t>((byte >> shift) & valueMask);
    }
}

void DecodePalettedRow(std::uint16_t bitCount, std::span<const std::uint8_t> row, std::uint8_t* out,
                       std::size_t count)
{
    switch (bitCount) {
    case 1: UnpackIndexes<1>(row, out, count); break;
    case 4: UnpackIndexes<4>(row, out, count); break;
    default: std::memcpy(out, row.data(), count); break;
    }
}

void DecodeColourRow(std::uint16_t bitCount, const ChannelMasks& masks, std::span<const std::uint8_t> row,
                     std::uint8_t* out, std::size_t count)
{
    if (bitCount == 24) {
        std::memcpy(out, row.data(), count * 3);
        return;
    }
    const std::size_t pixelBytes = bitCount / 8u;
    for (std::size_t x = 0; x < count; ++x) {
        const std::size_t at = x * pixelBytes;
        const std::uint32_t pixel = bitCount == 16 ? LoadU16(row, at) : LoadU32(row, at);
        out[x * 3] = masks.blue.Extract(pixel);
        out[x * 3 + 1] = masks.green.Extract(pixel);
        out[x * 3 + 2] = masks.red.Extract(pixel);
    }
}

}  // namespace

void DecodeUncompressed(const Layout& layout, const ChannelMasks& masks, std::span<const std::uint8_t> data,
                        Bitmap& output)
{
    const std::size_t outStride = output.Stride();
    std::size_t offset = 0;
    for (std::uint32_t stored = 0; stored < layout.rows && offset < data.size(); ++stored) {
        // Validation bounded the picture, so a stored row fits in size_t.
        const auto rowBytes = std::min<std::uint64_t>(layout.sourceStride, data.size() - offset);
        const auto row = data.subspan(offset, static_cast<std::size_t>(rowBytes));
        offset += row.size();
        const std::uint32_t outRow = layout.topDown ? stored : layout.rows - 1 - stored;
        std::uint8_t* out = output.pixels.data() + std::size_t{outRow} * outStride;
        const std::size_t whole = row.size() * 8 / layout.bitCount;
        const std::size_t count = std::min<std::size_t>(layout.width, whole);
        if (layout.bitCount <= 8) {
            DecodePalettedRow(layout.bitCount, row, out, count);
        } else {
            DecodeColourRow(layout.bitCount, masks, row, out, count);
        }
    }
}

}  // namespace scrinst::bmp
