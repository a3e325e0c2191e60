#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>

#include "buttons/Shapes.h"

namespace {

using buttons::PlanRegions;
using buttons::RegionPlan;
using buttons::RequiredWidth;
using gdi::POINT;
using gdi::RECT;

struct WidthCase {
    const char* name;
    std::int32_t shape;
    int width;
    int height;
    int expected;
};

TEST(RequiredWidth, SlantShapesWidenInStepsOfFive) {
    const WidthCase cases[] = {
        {"slant both 20 x 23 grows to 30", 3, 20, 23, 30},
        {"slant left wide enough", 1, 100, 23, 100},
        {"exactly five of flat top", 2, 29, 23, 29},
        {"one short grows by five", 2, 28, 23, 33},
        {"zero size", 1, 0, 0, 10},
        {"rectangle never widens", 0, 20, 23, 20},
        {"oval never widens", 6, 1, 40, 1},
        {"unknown shape never widens", 9, 1, 40, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(RequiredWidth(c.shape, c.width, c.height), c.expected) << c.name;
}

struct PlanCase {
    const char* name;
    std::int32_t shape;
    int width;
    int height;
    RegionPlan::Kind kind;
    RECT box;
    std::array<POINT, 4> polygon;
    bool cutLeft;
    bool cutRight;
    bool hasFaceClip;
    RECT faceClip;
    int slantLeftX;
    int slantRightX;
};

TEST(PlanRegions, EveryShape) {
    using K = RegionPlan::Kind;
    const PlanCase cases[] = {
        {"rectangle 75 x 23", 0, 75, 23, K::Rectangle, {0, 0, 76, 24}, {}, true, true, false, {}, 0, 75},
        {"slant left 100 x 23", 1, 100, 23, K::Polygon, {}, {{{0, 0}, {24, 24}, {101, 24}, {101, 0}}}, false, true,
         false, {}, 24, 100},
        {"slant right 100 x 23", 2, 100, 23, K::Polygon, {}, {{{0, 0}, {0, 24}, {101, 24}, {77, 0}}}, true, false,
         false, {}, 0, 76},
        {"slant both 30 x 23", 3, 30, 23, K::Polygon, {}, {{{0, 0}, {24, 24}, {31, 24}, {7, 0}}}, false, false, false,
         {}, 24, 6},
        {"oval rim 60 x 30", 4, 60, 30, K::Ellipse, {0, 0, 61, 31}, {}, false, false, true, {1, 1, 60, 30}, 0, 60},
        {"oval raised 60 x 30", 5, 60, 30, K::Ellipse, {0, 0, 61, 31}, {}, false, false, true, {1, 1, 60, 30}, 0, 60},
        {"oval outline 60 x 30", 6, 60, 30, K::Ellipse, {0, 0, 61, 31}, {}, false, false, true, {2, 2, 59, 29}, 0, 60},
        {"stored shape 7", 7, 60, 30, K::None, {}, {}, false, false, false, {}, 0, 60},
        {"stored shape -1", -1, 60, 30, K::None, {}, {}, false, false, false, {}, 0, 60},
        {"stored shape INT_MAX", INT_MAX, 60, 30, K::None, {}, {}, false, false, false, {}, 0, 60},
        {"rectangle 0 x 0", 0, 0, 0, K::Rectangle, {0, 0, 1, 1}, {}, true, true, false, {}, 0, 0},
    };
    for (const auto& c : cases) {
        const RegionPlan p = PlanRegions(c.shape, c.width, c.height);
        EXPECT_EQ(p.kind, c.kind) << c.name;
        if (c.kind == K::Polygon) {
            EXPECT_EQ(p.polygon, c.polygon) << c.name;
        } else {
            EXPECT_EQ(p.box, c.box) << c.name;
        }
        EXPECT_EQ(p.cutLeft, c.cutLeft) << c.name;
        EXPECT_EQ(p.cutRight, c.cutRight) << c.name;
        EXPECT_EQ(p.hasFaceClip, c.hasFaceClip) << c.name;
        if (c.hasFaceClip) {
            EXPECT_EQ(p.faceClip, c.faceClip) << c.name;
        }
        EXPECT_EQ(p.slantLeftX, c.slantLeftX) << c.name;
        EXPECT_EQ(p.slantRightX, c.slantRightX) << c.name;
    }
}

TEST(CornerCuts, TopLegsOfTwoBottomLegsOfThree) {
    using Triangles = std::array<std::array<POINT, 3>, 2>;
    const Triangles left{{{{{0, 0}, {2, 0}, {0, 2}}}, {{{0, 23}, {3, 23}, {0, 20}}}}};
    const Triangles right{{{{{75, 0}, {73, 0}, {75, 2}}}, {{{75, 23}, {72, 23}, {75, 20}}}}};
    EXPECT_EQ(buttons::CornerCuts(false, 75, 23), left);
    EXPECT_EQ(buttons::CornerCuts(true, 75, 23), right);
}

}  // namespace
