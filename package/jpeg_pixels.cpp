#include "jpeg_pixels.h"

#include <utility>

namespace scrinst {

namespace {

// a * b / 255, rounded, for two light levels in 0..255.
std::uint8_t Multiply(unsigned a, unsigned b) noexcept
{
    return static_cast<std::uint8_t>((a * b + 127U) / 255U);
}

}  // namespace

void SwapRedAndBlue(std::uint8_t* row, std::size_t width) noexcept
{
    for (std::size_t x = 0; x < width; ++x) {
        std::swap(row[3 * x], row[3 * x + 2]);
    }
}

void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, std::size_t width,
               bool inverted) noexcept
{
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t* in = cmyk + 4 * x;
        // As light levels: how much of each primary the ink lets through.
        const unsigned c = inverted ? in[0] : 255U - in[0];
        const unsigned m = inverted ? in[1] : 255U - in[1];
        const unsigned y = inverted ? in[2] : 255U - in[2];
        const unsigned k = inverted ? in[3] : 255U - in[3];
        std::uint8_t* out = bgr + 3 * x;
        out[0] = Multiply(y, k);
        out[1] = Multiply(m, k);
        out[2] = Multiply(c, k);
    }
}

}  // namespace scrinst
