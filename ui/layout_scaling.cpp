#include "layout_scaling.h"

namespace scrinst {

std::int32_t MulDivRound(std::int32_t number, std::int32_t numerator, std::int32_t denominator) noexcept
{
    if (denominator == 0) {
        return -1;
    }
    std::int64_t n = number;
    std::int64_t d = denominator;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const std::int64_t product = n * numerator;
    const std::int64_t half = d / 2;
    // Integer division truncates towards zero, so rounding moves away from it.
    const std::int64_t result = product >= 0 ? (product + half) / d : (product - half) / d;
    if (result > INT32_MAX || result < -INT32_MAX) {
        return -1;
    }
    return static_cast<std::int32_t>(result);
}

std::int32_t ScaleFontHeight(std::int32_t designHeight, std::int32_t dpi) noexcept
{
    return dpi == kDesignDpi ? designHeight : MulDivRound(designHeight, dpi, kDesignDpi);
}

std::int32_t ScaleToFont(std::int32_t designValue, std::int32_t digitHeight) noexcept
{
    return digitHeight == kDesignDigitHeight ? designValue : MulDivRound(designValue, digitHeight, kDesignDigitHeight);
}

LayoutRect ScaleRect(const LayoutRect& design, std::int32_t digitHeight) noexcept
{
    return {ScaleToFont(design.left, digitHeight), ScaleToFont(design.top, digitHeight),
            ScaleToFont(design.width, digitHeight), ScaleToFont(design.height, digitHeight)};
}

namespace {

std::int32_t CentreOnAxis(std::int32_t desktopStart, std::int32_t desktopLength, std::int32_t windowLength) noexcept
{
    const std::int64_t centred = (std::int64_t{desktopLength} - windowLength) / 2;
    const std::int64_t lastFitting = std::int64_t{desktopStart} + desktopLength - windowLength;
    // The virtual screen always contains the primary monitor's origin, so the
    // halved difference can only overshoot the far edge, never the near one.
    const std::int64_t origin = windowLength <= desktopLength && centred > lastFitting ? lastFitting : centred;
    return static_cast<std::int32_t>(origin);
}

}  // namespace

WindowOrigin CentredOrigin(const DesktopArea& desktop, std::int32_t windowWidth, std::int32_t windowHeight) noexcept
{
    return {CentreOnAxis(desktop.left, desktop.width, windowWidth),
            CentreOnAxis(desktop.top, desktop.height, windowHeight)};
}

}  // namespace scrinst
