#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "buttons/testing/FaceRig.h"
#include "buttons/Gradient.h"
#include "gdi/Screen.h"

namespace {

using namespace buttons;
using namespace buttons::testing;
using gdi::RGB;

TEST(FillGradient, FourColumnsBlackToWhite) {
    struct Case {
        const char* name;
        std::int32_t mode;
        gdi::COLORREF first;
        gdi::COLORREF last;
    };
    const Case cases[] = {
        {"left to right", 1, RGB(0, 0, 0), RGB(255, 255, 255)},
        {"right to left", 2, RGB(255, 255, 255), RGB(0, 0, 0)},
    };
    for (const auto& c : cases) {
        FaceRig rig(4, 3);
        rig.s.Props.GradientMode = c.mode;
        FillGradient(rig.Current(), rig.buffer, rig.s.Props.GradientMode, RGB(0, 0, 0), RGB(255, 255, 255));
        EXPECT_EQ(rig.Pixel(0, 0), c.first) << c.name;
        EXPECT_EQ(rig.Pixel(3, 2), c.last) << c.name;
        const gdi::COLORREF second = c.mode == 1 ? RGB(85, 85, 85) : RGB(170, 170, 170);
        for (int y = 0; y < 3; ++y) EXPECT_EQ(rig.Pixel(1, y), second) << c.name << " row " << y;
    }
}

TEST(FillGradient, TwoPixelStripsLeaveTheOddLastRow) {
    // 768 / 301 = 2, less than 4: 150 strips two rows tall cover rows 0..299.
    FaceRig rig(3, 301);
    rig.Paint();  // fills the sentinel first (and a face, which the gradient then covers)
    const gdi::BitmapView view = gdi::GetBitmapView(gdi::GetCurrentBitmap(rig.buffer.Dc()));
    for (int x = 0; x < 3; ++x) view.pixels32[300 * view.stride + x] = 0x00FF00FF;
    rig.s.Props.GradientMode = 3;
    FillGradient(rig.Current(), rig.buffer, rig.s.Props.GradientMode, RGB(0, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(rig.Pixel(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(rig.Pixel(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(rig.Pixel(1, 2), rig.Pixel(1, 3)) << "a strip is two rows";
    EXPECT_NE(rig.Pixel(1, 1), rig.Pixel(1, 2));
    EXPECT_EQ(rig.Pixel(1, 299), RGB(255, 255, 255));
    EXPECT_EQ(rig.Pixel(1, 300), Sentinel);
}

// A 200-row blend takes 2-row strips on a 768-row screen (768 / 200 < 4) and 1-row strips on a
// 1080-row one: the rule reads the screen the host gives.
TEST(FillGradient, StripsFollowTheScreenHeight) {
    for (const auto& [screenHeight, stripRows] : {std::pair{768, 2}, std::pair{1080, 1}}) {
        gdi::SetScreenSize({1920, screenHeight});
        FaceRig rig(3, 200);
        FillGradient(rig.Current(), rig.buffer, 3, RGB(0, 0, 0), RGB(255, 255, 255));
        int strips = 1;
        for (int y = 1; y < 200; ++y) strips += rig.Pixel(1, y) != rig.Pixel(1, y - 1);
        EXPECT_EQ(strips, 200 / stripRows) << screenHeight;
    }
    gdi::SetScreenSize({});
}

// The colour tables are kept between fills: each fill of a sequence, differing from the one before
// in one input, must still paint its own table's colours.
TEST(FillGradient, EachFillOfASequencePaintsItsOwnColours) {
    struct Case {
        std::int32_t mode;
        int width, height;
        gdi::COLORREF start, end;
    };
    const Case cases[] = {
        {1, 5, 2, RGB(0, 0, 0), RGB(255, 255, 255)},   {1, 5, 2, RGB(0, 0, 0), RGB(255, 0, 0)},
        {1, 5, 2, RGB(0, 0, 255), RGB(255, 0, 0)},     {1, 7, 2, RGB(0, 0, 255), RGB(255, 0, 0)},
        {2, 7, 2, RGB(0, 0, 255), RGB(255, 0, 0)},     {4, 2, 7, RGB(0, 0, 255), RGB(255, 0, 0)},
        {1, 5, 2, RGB(0, 0, 0), RGB(255, 255, 255)},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        FaceRig rig(c.width, c.height);
        FillGradient(rig.Current(), rig.buffer, c.mode, c.start, c.end);
        const bool across = c.mode <= 2;
        std::vector<gdi::COLORREF> table(static_cast<std::size_t>(across ? c.width : c.height));
        CalcGradientColors(table, c.start, c.end);
        for (std::size_t i = 0; i < table.size(); ++i) {
            const int at = static_cast<int>(i);
            const gdi::COLORREF expected = (c.mode & 1) != 0 ? table[i] : table[table.size() - 1 - i];
            EXPECT_EQ(across ? rig.Pixel(at, 1) : rig.Pixel(1, at), expected) << "fill " << k << ", strip " << i;
        }
    }
}

TEST(FillGradient, SingleStripTakesTheStartColour) {
    // A face one pixel across the blend: a one-entry table, which must not divide by zero.
    struct Case {
        std::int32_t mode;
        int width;
        int height;
    };
    for (const Case c : {Case{1, 1, 3}, Case{2, 1, 3}, Case{3, 3, 1}, Case{4, 3, 1}}) {
        FaceRig rig(c.width, c.height);
        rig.s.Props.GradientMode = c.mode;
        FillGradient(rig.Current(), rig.buffer, rig.s.Props.GradientMode, RGB(10, 20, 30), RGB(200, 100, 0));
        EXPECT_EQ(rig.Pixel(0, 0), RGB(10, 20, 30)) << c.mode;
        EXPECT_EQ(rig.Pixel(c.width - 1, c.height - 1), RGB(10, 20, 30)) << c.mode;
    }
}

TEST(FillGradient, ZeroSizePaintsNothing) {
    FaceRig rig(4, 4);
    rig.Paint();
    const gdi::COLORREF before = rig.Pixel(0, 0);
    rig.host.SetClientSize(0, 0);
    rig.s.Props.GradientMode = 3;
    FillGradient(rig.Current(), rig.buffer, rig.s.Props.GradientMode, RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(rig.Pixel(0, 0), before);
}

}  // namespace
