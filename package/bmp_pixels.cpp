#include "bmp_pixels.h"

#include <algorithm>
#include <cstring>

namespace scrinst::bmp {

namespace {

void DecodePalettedRow(std::uint16_t bitCount, std::span<const std::uint8_t> row, std::uint8_t* out,
                       std::size_t count)
{
    if (bitCount == 8) {
        std::memcpy(out, row.data(), count);
        return;
    }
    // Indexes of 1 and 4 bits fill each byte from its most significant bit.
    const std::size_t perByte = 8u / bitCount;
    const auto valueMask = static_cast<std::uint8_t>((1u << bitCount) - 1);
    for (std::size_t x = 0; x < count; ++x) {
        const std::uint8_t byte = row[x / perByte];
        const auto shift = static_cast<unsigned>(8 - bitCount * (x % perByte + 1));
        out[x] = static_cast<std::uint8_t>((byte >> shift) & valueMask);
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
