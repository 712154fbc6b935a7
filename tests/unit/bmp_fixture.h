#pragma once

// Builds small Windows bitmap files in memory for tests: every field can be
// set, including to values a valid file never holds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "bitmap.h"

namespace scrinst::test {

struct BmpFields {
    std::int32_t width = 1;
    std::int32_t height = 1;  // negative: top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;  // 12 writes the core header
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<PaletteEntry> palette;  // the colour table, 3 bytes an entry under a core header
    // Red, green, blue masks: inside the header when it has 52 bytes or more,
    // otherwise as words after it.
    std::vector<std::uint32_t> masks;
    std::vector<std::uint8_t> pixels;  // the stored pixel bytes, exactly as given
};

inline void PutU16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

inline void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

inline std::vector<std::uint8_t> BuildBmp(const BmpFields& fields)
{
    const bool core = fields.headerSize == 12;
    const bool masksInHeader = fields.headerSize >= 52;
    const std::size_t entrySize = core ? 3 : 4;
    // Header sizes that no test lays out in full (below 40, or absurdly
    // large) get the 40 bytes of the information header behind them.
    const std::size_t headerBytes =
        core ? 12 : (fields.headerSize >= 40 && fields.headerSize <= 4096 ? fields.headerSize : 40);
    const std::size_t maskBytes = masksInHeader ? 0 : fields.masks.size() * 4;
    const std::size_t pixelOffset = 14 + headerBytes + maskBytes + fields.palette.size() * entrySize;
    std::vector<std::uint8_t> out(pixelOffset, 0);

    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, 2, static_cast<std::uint32_t>(pixelOffset + fields.pixels.size()));
    PutU32(out, 10, static_cast<std::uint32_t>(pixelOffset));

    std::size_t at = 14;
    PutU32(out, at, fields.headerSize);
    if (core) {
        PutU16(out, at + 4, static_cast<std::uint32_t>(fields.width));
        PutU16(out, at + 6, static_cast<std::uint32_t>(fields.height));
        PutU16(out, at + 8, fields.planes);
        PutU16(out, at + 10, fields.bitCount);
    } else {
        PutU32(out, at + 4, static_cast<std::uint32_t>(fields.width));
        PutU32(out, at + 8, static_cast<std::uint32_t>(fields.height));
        PutU16(out, at + 12, fields.planes);
        PutU16(out, at + 14, fields.bitCount);
        PutU32(out, at + 16, fields.compression);
        PutU32(out, at + 20, fields.sizeImage);
        PutU32(out, at + 24, 2835);  // 72 dots per inch
        PutU32(out, at + 28, 2835);
        PutU32(out, at + 32, fields.colorsUsed);
        if (masksInHeader) {
            for (std::size_t i = 0; i < fields.masks.size() && i < 3; ++i) {
                PutU32(out, at + 40 + 4 * i, fields.masks[i]);
            }
        }
    }
    at += headerBytes;
    if (!masksInHeader) {
        for (const std::uint32_t mask : fields.masks) {
            PutU32(out, at, mask);
            at += 4;
        }
    }
    for (const PaletteEntry& entry : fields.palette) {
        out[at] = entry.blue;
        out[at + 1] = entry.green;
        out[at + 2] = entry.red;
        if (!core) {
            out[at + 3] = entry.reserved;
        }
        at += entrySize;
    }
    out.insert(out.end(), fields.pixels.begin(), fields.pixels.end());
    return out;
}

// Stored rows of the given bytes each, padded to four bytes as a bitmap file
// stores them.
inline std::vector<std::uint8_t> PadRows(std::span<const std::uint8_t> bytes, std::size_t rowBytes)
{
    std::vector<std::uint8_t> out;
    const std::size_t stride = (rowBytes + 3) / 4 * 4;
    for (std::size_t start = 0; start < bytes.size(); start += rowBytes) {
        const auto row = bytes.subspan(start, rowBytes);
        out.insert(out.end(), row.begin(), row.end());
        out.resize(out.size() + stride - rowBytes, 0);
    }
    return out;
}

// A valid bottom-up 24-bit bitmap file from its pixels given top row first,
// three bytes (blue, green, red) a pixel, without padding.
inline std::vector<std::uint8_t> MakeBmp24(std::int32_t width, std::int32_t height,
                                           std::span<const std::uint8_t> bgrTopDown)
{
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> bottomUp;
    for (auto row = static_cast<std::size_t>(height); row-- > 0;) {
        const auto source = bgrTopDown.subspan(row * rowBytes, rowBytes);
        bottomUp.insert(bottomUp.end(), source.begin(), source.end());
    }
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    fields.pixels = PadRows(bottomUp, rowBytes);
    return BuildBmp(fields);
}

// A valid 24-bit bitmap file of one colour.
inline std::vector<std::uint8_t> SolidBmp24(std::int32_t width, std::int32_t height, std::uint8_t blue,
                                            std::uint8_t green, std::uint8_t red)
{
    std::vector<std::uint8_t> pixels;
    for (std::int64_t i = 0; i < std::int64_t{width} * height; ++i) {
        pixels.insert(pixels.end(), {blue, green, red});
    }
    return MakeBmp24(width, height, pixels);
}

// A valid bottom-up 8-bit paletted bitmap file from its indexes, top row first.
inline std::vector<std::uint8_t> MakeBmp8(std::int32_t width, std::int32_t height,
                                          std::vector<PaletteEntry> palette,
                                          std::span<const std::uint8_t> indexesTopDown)
{
    const auto rowBytes = static_cast<std::size_t>(width);
    std::vector<std::uint8_t> bottomUp;
    for (auto row = static_cast<std::size_t>(height); row-- > 0;) {
        const auto source = indexesTopDown.subspan(row * rowBytes, rowBytes);
        bottomUp.insert(bottomUp.end(), source.begin(), source.end());
    }
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    fields.bitCount = 8;
    fields.colorsUsed = static_cast<std::uint32_t>(palette.size());
    fields.palette = std::move(palette);
    fields.pixels = PadRows(bottomUp, rowBytes);
    return BuildBmp(fields);
}

}  // namespace scrinst::test
