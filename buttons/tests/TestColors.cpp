#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "buttons/Colors.h"
#include "gdi/SysColor.h"
#include "gdi/Types.h"

namespace {

using buttons::ShiftColor;
using gdi::RGB;

struct ShiftCase {
    const char* name;
    gdi::COLORREF colour;
    std::int16_t amount;
    bool scaleBlue;
    bool retry;
    bool invert;
    gdi::COLORREF expected;
    std::int16_t amountAfter;
};

TEST(ShiftColor, WorkedExamplesAndClamping) {
    const ShiftCase cases[] = {
        {"darken grey", RGB(100, 100, 100), -10, true, false, false, RGB(90, 90, 95), -10},
        {"lighten silver", RGB(192, 192, 192), 16, true, false, false, RGB(208, 209, 209), 16},
        {"value-true colour", RGB(255, 255, 255), -32, true, false, false, RGB(223, 224, 214), -32},
        {"lighten to white", RGB(236, 233, 216), 48, true, false, false, RGB(255, 255, 255), 48},
        {"white stays white", RGB(255, 255, 255), 48, true, false, false, RGB(255, 255, 255), 48},
        {"black stays black", RGB(0, 0, 0), -48, true, false, false, RGB(0, 0, 0), -48},
        {"channels clamp separately", RGB(250, 10, 128), 20, false, false, false, RGB(255, 30, 149), 20},
        {"retry negates the caller's amount", RGB(255, 255, 255), 10, false, true, false, RGB(245, 246, 246), -10},
        {"retry from a zero amount", RGB(0, 0, 0), 0, false, true, false, RGB(64, 64, 64), 64},
        {"no retry without the flag", RGB(255, 255, 255), 10, false, false, false, RGB(255, 255, 255), 10},
        {"invert after clamping", RGB(10, 20, 30), -20, false, false, true, RGB(255, 255, 245), -20},
        {"button face lightened", RGB(212, 208, 200), 48, true, false, false, RGB(255, 255, 251), 48},
        {"pressed from the lightened face", RGB(255, 255, 251), -32, true, false, false, RGB(223, 224, 210), -32},
    };
    for (const auto& c : cases) {
        std::int16_t amount = c.amount;
        EXPECT_EQ(ShiftColor(c.colour, amount, c.scaleBlue, c.retry, c.invert), c.expected) << c.name;
        EXPECT_EQ(amount, c.amountAfter) << c.name;
    }
}

TEST(ShiftColor, ExtremeBothWaysStopsInsteadOfLoopingForever) {
    // White +300 clamps to white and -300 clamps to black: every retry is extreme again.
    std::int16_t amount = 300;
    const auto result = ShiftColor(RGB(255, 255, 255), amount, true, true, false);
    EXPECT_TRUE(result == 0 || result == 0xFFFFFF);
    EXPECT_TRUE(amount == 300 || amount == -300);
}

TEST(ConvertSysColor, ResolvesOnlyTopBitValues) {
    EXPECT_EQ(buttons::ConvertSysColor(0x8000000F), gdi::GetSysColor(15));
    EXPECT_EQ(buttons::ConvertSysColor(0x80000012), gdi::GetSysColor(18));
    EXPECT_EQ(buttons::ConvertSysColor(0xFF), 0xFFu);
    EXPECT_EQ(buttons::ConvertSysColor(0x00FFFFFF), 0x00FFFFFFu);
    // Only the low byte names the index.
    EXPECT_EQ(buttons::ConvertSysColor(0x8000FF0F), gdi::GetSysColor(15));
}

TEST(Nearest, HalvesGoToEven) {
    const struct {
        double x;
        std::int32_t expected;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {15.75, 16},
                 {1e300, INT32_MAX}, {-1e300, INT32_MIN}, {std::nan(""), 0}};
    for (const auto& c : cases) EXPECT_EQ(buttons::Nearest(c.x), c.expected) << c.x;
}

}  // namespace
