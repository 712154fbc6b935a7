#include <gtest/gtest.h>

#include <cstdint>

#include "layout.h"
#include "layout_scaling.h"

namespace {

using scrinst::MulDivRound;

TEST(LayoutScaling, MulDivRoundsToNearestWithHalvesAwayFromZero)
{
    struct Case {
        std::int32_t number, numerator, denominator, result;
    };
    const Case cases[] = {
        {-11, 120, 96, -14},  // -13.75
        {-11, 144, 96, -17},  // -16.5, away from zero
        {11, 144, 96, 17},
        {306, 16, 13, 377},   // 376.6
        {5, 16, 13, 6},       // 6.15
        {1, 1, 2, 1},         // 0.5 rounds up
        {-1, 1, 2, -1},
        {1, -1, 2, -1},
        {7, 3, -2, -11},      // negative denominator: -10.5
        {0, 5, 7, 0},
        {5, 7, 0, -1},        // no denominator
        {INT32_MAX, 2, 1, -1},  // overflow
        {INT32_MAX, 4, 2, -1},
        {INT32_MAX, 2, 2, INT32_MAX},  // 64-bit product
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.number << " * " << c.numerator << " / " << c.denominator);
        EXPECT_EQ(MulDivRound(c.number, c.numerator, c.denominator), c.result);
    }
}

TEST(LayoutScaling, FontHeightFollowsTheDisplayDpi)
{
    EXPECT_EQ(scrinst::ScaleFontHeight(-11, 96), -11);
    EXPECT_EQ(scrinst::ScaleFontHeight(-11, 120), -14);
    EXPECT_EQ(scrinst::ScaleFontHeight(-11, 144), -17);
    EXPECT_EQ(scrinst::ScaleFontHeight(-11, 192), -22);
}

TEST(LayoutScaling, EveryNumberScalesOnItsOwnByTheDigitHeight)
{
    using scrinst::LayoutRect;
    using namespace scrinst::layout;
    // 13 leaves the design untouched.
    for (const ControlLayout& c : kControls) {
        SCOPED_TRACE(c.name);
        const LayoutRect design{c.left, c.top, c.width, c.height};
        EXPECT_EQ(scrinst::ScaleRect(design, 13), design);
    }
    // 16 (the usual digit height at 120 dpi): each value rounded on its own.
    const ControlLayout& cancel = kControls[kBtnCancel];
    EXPECT_EQ(scrinst::ScaleRect({cancel.left, cancel.top, cancel.width, cancel.height}, 16),
              (LayoutRect{287, 370, 84, 27}));
    EXPECT_EQ(scrinst::ScaleToFont(kClientWidth, 16), 377);
    EXPECT_EQ(scrinst::ScaleToFont(kClientHeight, 16), 402);
    // Smaller fonts shrink the window.
    EXPECT_EQ(scrinst::ScaleToFont(kClientWidth, 12), 282);
}

TEST(LayoutScaling, CentresOnTheDesktopMeasuredFromThePrimaryMonitor)
{
    struct Case {
        const char* name;
        scrinst::DesktopArea desktop;
        std::int32_t width, height;
        scrinst::WindowOrigin origin;
    };
    const Case cases[] = {
        {"one monitor", {0, 0, 1024, 768}, 312, 356, {356, 206}},
        {"odd difference halves towards zero", {0, 0, 1025, 769}, 312, 356, {356, 206}},
        {"second monitor on the right widens the desktop", {0, 0, 2048, 768}, 312, 356, {868, 206}},
        // Formula taken from the primary's corner, not the desktop's: the
        // window sits right of the desktop's centre but is still on it.
        {"monitor on the left", {-500, 0, 2000, 768}, 312, 356, {844, 206}},
        {"primary lower than the other monitor", {0, -200, 1024, 968}, 312, 356, {356, 306}},
        // The halved width would start past the desktop's far edge.
        {"equal monitor on the left", {-1024, 0, 2048, 768}, 312, 356, {712, 206}},
        {"wide monitor left of a small primary", {-1920, 0, 2720, 1080}, 312, 356, {488, 362}},
        {"monitor above the primary", {0, -1000, 1024, 1768}, 312, 356, {356, 412}},
        {"window larger than the desktop", {0, 0, 300, 300}, 312, 356, {-6, -28}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scrinst::CentredOrigin(c.desktop, c.width, c.height), c.origin);
    }
}

}  // namespace
