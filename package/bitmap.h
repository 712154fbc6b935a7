#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace scrinst {

// One palette entry, in the byte order of a Windows colour table.
struct PaletteEntry {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    bool operator==(const PaletteEntry&) const = default;
};

// A decoded picture as the picture control shows it: 24-bit colour (B, G, R)
// or 8-bit indexes into a palette. Rows run top-down and are padded to four
// bytes, the layout of a top-down device-independent bitmap, so the window
// hands the pixels to the system without converting them.
struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 24;  // 24 or 8
    std::vector<PaletteEntry> palette;  // 8-bit only, at most 256 entries
    std::vector<std::uint8_t> pixels;   // height * Stride() bytes

    bool empty() const noexcept { return width <= 0 || height <= 0; }
    std::size_t Stride() const noexcept { return static_cast<std::size_t>(StrideFor(width, bitsPerPixel)); }

    // In 64 bits: on a 32-bit build a width near the limit would overflow.
    // Callers check the result against kMaxBitmapBytes before narrowing it.
    static std::uint64_t StrideFor(std::int32_t width, std::uint16_t bitsPerPixel) noexcept
    {
        const std::uint64_t bits = static_cast<std::uint64_t>(width < 0 ? 0 : width) * bitsPerPixel;
        return ((bits + 31) / 32) * 4;
    }
};

// Larger decoded pictures are refused before anything is allocated, as the
// system refuses a bitmap it cannot create.
inline constexpr std::uint64_t kMaxBitmapBytes = std::uint64_t{256} * 1024 * 1024;

}  // namespace scrinst
