#pragma once

#include <cstddef>
#include <cstdint>

namespace scrinst {

// libjpeg writes R, G, B; the bitmap keeps B, G, R.
void SwapRedAndBlue(std::uint8_t* row, std::size_t width) noexcept;

// Four-component pictures have no colour management here: a plain
// subtractive conversion is enough to show them. Files that carry an Adobe
// marker (all YCCK ones, and CMYK from the usual image editors) store the
// components inverted, 255 meaning no ink; files without one store ink.
void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, std::size_t width,
               bool inverted) noexcept;

}  // namespace scrinst
