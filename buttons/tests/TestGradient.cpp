#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "buttons/Gradient.h"
#include "gdi/Types.h"

namespace {

using buttons::CalcGradientColors;
using buttons::PlanGradientStrips;
using gdi::RGB;

struct TableCase {
    const char* name;
    gdi::COLORREF start;
    gdi::COLORREF end;
    std::vector<gdi::COLORREF> expected;
};

TEST(CalcGradientColors, Tables) {
    const TableCase cases[] = {
        // Green and blue run at 256/255: 85.33, 170.67, then 256 held at 255.
        {"black to white in four", RGB(0, 0, 0), RGB(255, 255, 255),
         {RGB(0, 0, 0), RGB(85, 85, 85), RGB(170, 170, 170), RGB(255, 255, 255)}},
        {"white to black in four", RGB(255, 255, 255), RGB(0, 0, 0),
         {RGB(255, 255, 255), RGB(170, 170, 170), RGB(85, 85, 85), RGB(0, 0, 0)}},
        {"two entries are the ends", RGB(10, 20, 30), RGB(200, 100, 50), {RGB(10, 20, 30), RGB(200, 100, 50)}},
        // A green of 200 aims at nearest(200 * 256 / 255) = 201, and the last entry gets there.
        {"scaled green overshoots by one", RGB(0, 0, 0), RGB(0, 200, 0), {RGB(0, 0, 0), RGB(0, 100, 0), RGB(0, 201, 0)}},
        // A single strip has no step: it takes the start colour instead of dividing by zero.
        {"one entry is the start colour", RGB(1, 2, 3), RGB(250, 250, 250), {RGB(1, 2, 3)}},
        {"flat blend", RGB(40, 40, 40), RGB(40, 40, 40),
         {RGB(40, 40, 40), RGB(40, 40, 40), RGB(40, 40, 40)}},
    };
    for (const auto& c : cases) {
        std::vector<gdi::COLORREF> table(c.expected.size(), 0xDEADBEEF);
        CalcGradientColors(table, c.start, c.end);
        EXPECT_EQ(table, c.expected) << c.name;
    }
}

// Single-precision running channels drift from the exact blend: in this 100-column face the exact
// value of column 11 would be (232, 232, 252).
TEST(CalcGradientColors, RunsInSinglePrecision) {
    std::vector<gdi::COLORREF> table(100);
    CalcGradientColors(table, RGB(255, 255, 251), RGB(48, 48, 255));
    EXPECT_EQ(table[11], RGB(231, 232, 252));
}

TEST(CalcGradientColors, EmptyTableIsLeftAlone) {
    std::vector<gdi::COLORREF> table;
    CalcGradientColors(table, RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_TRUE(table.empty());
}

TEST(CalcGradientColors, LongBlendIsMonotonicAndEndsAtTheTarget) {
    std::vector<gdi::COLORREF> table(300);
    CalcGradientColors(table, RGB(255, 255, 255), RGB(0, 0, 0));
    for (std::size_t k = 1; k < table.size(); ++k) {
        ASSERT_LE(gdi::GetRValue(table[k]), gdi::GetRValue(table[k - 1])) << k;
        ASSERT_LE(gdi::GetGValue(table[k]), gdi::GetGValue(table[k - 1])) << k;
        ASSERT_LE(gdi::GetBValue(table[k]), gdi::GetBValue(table[k - 1])) << k;
    }
    EXPECT_EQ(table.back(), RGB(0, 0, 0));
}

struct StripCase {
    const char* name;
    std::int32_t mode;
    int faceWidth;
    int faceHeight;
    int screenWidth;
    int screenHeight;
    bool horizontal;
    int stripWidth;
    int count;
    bool startFirst;
};

TEST(PlanGradientStrips, DirectionWidthAndCount) {
    const StripCase cases[] = {
        {"left to right, 1024 / 100 = 10", 1, 100, 30, 1024, 768, true, 1, 100, true},
        {"right to left reverses", 2, 100, 30, 1024, 768, true, 1, 100, false},
        {"top to bottom, 768 / 300 = 2", 3, 100, 300, 1024, 768, false, 2, 150, true},
        {"odd height leaves the last row", 3, 100, 301, 1024, 768, false, 2, 150, true},
        {"bottom to top", 4, 100, 30, 1024, 768, false, 1, 30, false},
        {"exactly a quarter keeps 1-pixel strips", 3, 10, 192, 1024, 768, false, 1, 192, true},
        {"one pixel across", 1, 1, 30, 1024, 768, true, 1, 1, true},
        {"two pixels with wide strips", 1, 2, 30, 4, 768, true, 2, 1, true},
        {"three pixels with wide strips", 1, 3, 30, 4, 768, true, 2, 1, true},
        {"zero width paints nothing", 1, 0, 30, 1024, 768, true, 1, 0, true},
        {"zero height paints nothing", 3, 30, 0, 1024, 768, false, 1, 0, true},
        {"negative size paints nothing", 3, 30, -5, 1024, 768, false, 1, 0, true},
        {"stored mode 5 blends vertically", 5, 30, 20, 1024, 768, false, 1, 20, true},
        {"stored mode -1 blends vertically", -1, 30, 20, 1024, 768, false, 1, 20, true},
        {"stored mode INT_MIN", INT_MIN, 30, 20, 1024, 768, false, 1, 20, false},
        {"unknown screen size", 3, 30, 20, 0, 0, false, 2, 10, true},
    };
    for (const auto& c : cases) {
        const auto plan = PlanGradientStrips(c.mode, c.faceWidth, c.faceHeight, c.screenWidth, c.screenHeight);
        EXPECT_EQ(plan.horizontal, c.horizontal) << c.name;
        EXPECT_EQ(plan.stripWidth, c.stripWidth) << c.name;
        EXPECT_EQ(plan.count, c.count) << c.name;
        EXPECT_EQ(plan.startFirst, c.startFirst) << c.name;
    }
}

}  // namespace
