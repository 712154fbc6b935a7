#pragma once

#include <array>
#include <cstdint>

#include "bmp_cursor.h"

namespace scrinst::bmp {

inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::uint32_t kCoreHeaderSize = 12;
inline constexpr std::uint32_t kInfoHeaderSize = 40;
// From the 52-byte header on, the red, green and blue masks are fields of the
// header itself (at byte 40) instead of three words after it.
inline constexpr std::uint32_t kMasksInHeaderSize = 52;

inline constexpr std::uint32_t kCompressionRgb = 0;
inline constexpr std::uint32_t kCompressionRle8 = 1;
inline constexpr std::uint32_t kCompressionRle4 = 2;
inline constexpr std::uint32_t kCompressionBitFields = 3;

// The fields of the core or information header, as stored. The core header's
// unsigned 16-bit sizes are widened; its compression is always none.
struct InfoHeader {
    std::uint32_t headerSize = 0;
    bool core = false;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: the rows are stored top-down
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    bool masksInHeader = false;
    std::array<std::uint32_t, 3> headerMasks{};  // red, green, blue
};

// The 14-byte file header: "Stream read error" when the file is shorter,
// "Bitmap image is not valid" unless it starts with "BM". Its other fields
// (file size, offset to the pixels) are not used.
void ReadFileHeader(ByteCursor& cursor);

// The header that follows, its variant chosen by its size field; the cursor
// is left after the whole announced header. A header cut short is "Bitmap
// image is not valid".
InfoHeader ReadInfoHeader(ByteCursor& cursor);

}  // namespace scrinst::bmp
