#pragma once

#include <cstdint>

namespace scrinst {

// Windows' MulDiv: number * numerator / denominator with a 64-bit product,
// rounded to nearest with halves away from zero; -1 when the denominator is 0
// or the result does not fit. Portable so that the host tests check the same
// arithmetic the window uses.
std::int32_t MulDivRound(std::int32_t number, std::int32_t numerator, std::int32_t denominator) noexcept;

// The layout is designed at 96 dots per inch for a font whose digit 0 is 13
// pixels high.
inline constexpr std::int32_t kDesignDpi = 96;
inline constexpr std::int32_t kDesignDigitHeight = 13;

// The font height for the display's dots per inch.
std::int32_t ScaleFontHeight(std::int32_t designHeight, std::int32_t dpi) noexcept;
// A position or size for the font's actual digit height.
std::int32_t ScaleToFont(std::int32_t designValue, std::int32_t digitHeight) noexcept;

struct LayoutRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// Each of the four numbers scaled on its own, as the layout rule says (the
// right edge is not scaled separately, so neighbours may drift by a pixel).
LayoutRect ScaleRect(const LayoutRect& design, std::int32_t digitHeight) noexcept;

// The area of all monitors together, in screen coordinates.
struct DesktopArea {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct WindowOrigin {
    std::int32_t left = 0;
    std::int32_t top = 0;
    bool operator==(const WindowOrigin&) const = default;
};

// (desktop width - window width) / 2 and the same for the height, halved
// towards zero and taken as screen coordinates, whose origin is the primary
// monitor's corner rather than the desktop's. When monitors lie left of or
// above the primary one that can put the window past the desktop's far edge,
// out of sight; only then, and only when it fits, is it pulled back onto the
// desktop.
WindowOrigin CentredOrigin(const DesktopArea& desktop, std::int32_t windowWidth, std::int32_t windowHeight) noexcept;

}  // namespace scrinst
