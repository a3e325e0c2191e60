#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"

using namespace gdi;
using test::Canvas;
using test::Rows;

namespace {

constexpr int Grid = 24;

std::string RegionPicture(HRGN r, int w, int h) {
    std::string s;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) s += PtInRegion(r, x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

// The invariants of the banded form: bands sorted and disjoint, spans within a band sorted and
// not touching, and no two touching bands with the same spans (they would have been merged).
void ExpectCanonical(HRGN r) {
    const std::vector<RECT> rects = GetRegionRects(r);
    std::size_t i = 0;
    int prevBottom = INT32_MIN;
    std::vector<std::pair<int, int>> prevSpans;
    while (i < rects.size()) {
        const int top = rects[i].top, bottom = rects[i].bottom;
        ASSERT_LT(top, bottom);
        ASSERT_GE(top, prevBottom);
        std::vector<std::pair<int, int>> spans;
        for (; i < rects.size() && rects[i].top == top; ++i) {
            ASSERT_EQ(rects[i].bottom, bottom);
            ASSERT_LT(rects[i].left, rects[i].right);
            if (!spans.empty()) {
                ASSERT_GT(rects[i].left, spans.back().second);
            }
            spans.emplace_back(rects[i].left, rects[i].right);
        }
        if (top == prevBottom) {
            ASSERT_NE(spans, prevSpans) << "unmerged bands at " << top;
        }
        prevBottom = bottom;
        prevSpans = spans;
    }
}

struct Lcg {
    std::uint32_t state;
    int Next(int n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
    }
};

HRGN RandomRegion(Lcg& rng) {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    const int pieces = 1 + rng.Next(4);
    for (int i = 0; i < pieces; ++i) {
        const int x = rng.Next(Grid - 2), y = rng.Next(Grid - 2);
        HRGN piece = CreateRectRgn(x, y, x + 1 + rng.Next(Grid - x), y + 1 + rng.Next(Grid - y));
        CombineRgn(r, r, piece, i % 3 == 2 ? RGN_XOR : RGN_OR);
        DeleteObject(piece);
    }
    return r;
}

}  // namespace

TEST(Region, CombineMatchesThePixelSetsForEveryMode) {
    struct Mode {
        int mode;
        bool (*keep)(bool, bool);
    } modes[] = {
        {RGN_AND, [](bool a, bool b) { return a && b; }},  {RGN_OR, [](bool a, bool b) { return a || b; }},
        {RGN_XOR, [](bool a, bool b) { return a != b; }},  {RGN_DIFF, [](bool a, bool b) { return a && !b; }},
        {RGN_COPY, [](bool a, bool) { return a; }},
    };
    Lcg rng{12345};
    for (int round = 0; round < 60; ++round) {
        HRGN a = RandomRegion(rng), b = RandomRegion(rng);
        for (const Mode& m : modes) {
            HRGN out = CreateRectRgn(0, 0, 0, 0);
            const int type = CombineRgn(out, a, b, m.mode);
            int inside = 0;
            for (int y = -1; y <= Grid; ++y)
                for (int x = -1; x <= Grid; ++x) {
                    const bool want = m.keep(PtInRegion(a, x, y), PtInRegion(b, x, y));
                    ASSERT_EQ(static_cast<bool>(PtInRegion(out, x, y)), want)
                        << "round " << round << " mode " << m.mode << " at " << x << "," << y;
                    inside += want;
                }
            ExpectCanonical(out);
            const std::size_t n = GetRegionRects(out).size();
            EXPECT_EQ(type, inside == 0 ? NULLREGION : (n == 1 ? SIMPLEREGION : COMPLEXREGION));
            DeleteObject(out);
        }
        // Combining in place (dest aliasing a source) gives the same set.
        HRGN copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(copy, a, b, RGN_DIFF);
        CombineRgn(a, a, b, RGN_DIFF);
        EXPECT_TRUE(EqualRgn(a, copy));
        DeleteObject(copy);
        DeleteObject(a);
        DeleteObject(b);
    }
}

TEST(Region, EqualSetsAreEqualWhateverTheirHistory) {
    HRGN direct = CreateRectRgn(0, 0, 6, 4);
    HRGN pieces = CreateRectRgn(0, 0, 3, 4);
    HRGN right = CreateRectRgn(3, 0, 6, 2);
    HRGN lower = CreateRectRgn(3, 2, 6, 4);
    CombineRgn(pieces, pieces, right, RGN_OR);
    CombineRgn(pieces, pieces, lower, RGN_OR);
    EXPECT_TRUE(EqualRgn(direct, pieces));
    EXPECT_EQ(GetRegionRects(pieces).size(), 1u);
    EXPECT_FALSE(EqualRgn(direct, right));
    EXPECT_FALSE(EqualRgn(direct, HRGN{}));
    for (HRGN r : {direct, pieces, right, lower}) DeleteObject(r);
}

TEST(Region, CallsRefuseBadHandlesAndModes) {
    OwnedRgn a(CreateRectRgn(0, 0, 2, 2));
    OwnedRgn d(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(d.get(), a.get(), HRGN{}, RGN_OR), ERROR);
    EXPECT_EQ(CombineRgn(d.get(), a.get(), HRGN{}, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(HRGN{}, a.get(), a.get(), RGN_OR), ERROR);
    EXPECT_EQ(CombineRgn(d.get(), a.get(), a.get(), 0), ERROR);
    EXPECT_EQ(CombineRgn(d.get(), a.get(), a.get(), 6), ERROR);
    EXPECT_EQ(OffsetRgn(HRGN{}, 1, 1), ERROR);
    RECT box;
    EXPECT_EQ(GetRgnBox(HRGN{}, &box), ERROR);
    EXPECT_TRUE(GetRegionRects(HRGN{}).empty());
    EXPECT_FALSE(CreatePolygonRgn(nullptr, 3, ALTERNATE));
    const POINT tri[] = {{0, 0}, {4, 0}, {0, 4}};
    EXPECT_FALSE(CreatePolygonRgn(tri, 3, 0));
}

TEST(Region, RectanglesHitTestsBoxesAndOffsets) {
    OwnedRgn r(CreateRectRgn(5, 4, 1, 1));  // corners in any order
    RECT box;
    EXPECT_EQ(GetRgnBox(r.get(), &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{1, 1, 5, 4}));
    struct Hit {
        int x, y;
        bool in;
    } hits[] = {{1, 1, true}, {4, 3, true}, {5, 3, false}, {4, 4, false}, {0, 1, false}, {1, 0, false}};
    for (const Hit& h : hits) EXPECT_EQ(static_cast<bool>(PtInRegion(r.get(), h.x, h.y)), h.in) << h.x << "," << h.y;
    EXPECT_EQ(OffsetRgn(r.get(), -1, 2), SIMPLEREGION);
    GetRgnBox(r.get(), &box);
    EXPECT_EQ(box, (RECT{0, 3, 4, 6}));
    OwnedRgn empty(CreateRectRgn(3, 3, 3, 9));
    EXPECT_EQ(GetRgnBox(empty.get(), &box), NULLREGION);
    EXPECT_EQ(box, (RECT{}));
}

TEST(Region, PolygonsSamplePixelCornersWithLeftAndTopEdgesIn) {
    const POINT tri[] = {{0, 0}, {4, 0}, {0, 4}};
    OwnedRgn t(CreatePolygonRgn(tri, 3, ALTERNATE));
    EXPECT_EQ(RegionPicture(t.get(), 5, 5), Rows({"####.", "###..", "##...", "#....", "....."}));

    // An axis-aligned polygon is exactly the rectangle with the same corners.
    const POINT box[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    OwnedRgn p(CreatePolygonRgn(box, 4, WINDING));
    OwnedRgn r(CreateRectRgn(1, 1, 5, 4));
    EXPECT_TRUE(EqualRgn(p.get(), r.get()));
}

TEST(Region, FillModesDifferOnlyWhereTheOutlineOverlapsItself) {
    // Two overlapping squares traced as one path, both clockwise: the overlap has winding 2.
    const POINT twice[] = {{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0}, {3, 3}, {9, 3}, {9, 9}, {3, 9}, {3, 3}};
    OwnedRgn alt(CreatePolygonRgn(twice, 10, ALTERNATE));
    OwnedRgn wind(CreatePolygonRgn(twice, 10, WINDING));
    EXPECT_FALSE(PtInRegion(alt.get(), 4, 4));
    EXPECT_TRUE(PtInRegion(wind.get(), 4, 4));
    for (POINT q : {POINT{1, 1}, POINT{8, 8}, POINT{5, 1}, POINT{1, 5}}) {
        EXPECT_TRUE(PtInRegion(alt.get(), q.x, q.y));
        EXPECT_TRUE(PtInRegion(wind.get(), q.x, q.y));
    }
    // A pentagram: the centre pentagon has winding 2, a hole only for ALTERNATE.
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    OwnedRgn starAlt(CreatePolygonRgn(star, 5, ALTERNATE));
    OwnedRgn starWind(CreatePolygonRgn(star, 5, WINDING));
    EXPECT_FALSE(PtInRegion(starAlt.get(), 10, 10));
    EXPECT_TRUE(PtInRegion(starWind.get(), 10, 10));
    EXPECT_TRUE(PtInRegion(starAlt.get(), 10, 3));
}

TEST(Region, EllipsesAreSymmetricConvexAndLeaveTheLastRowAndColumnOut) {
    for (int w = 1; w <= 14; ++w)
        for (int h = 1; h <= 14; ++h) {
            OwnedRgn e(CreateEllipticRgn(2, 3, 2 + w, 3 + h));
            RECT box;
            const int type = GetRgnBox(e.get(), &box);
            if (w < 2 || h < 2) {
                EXPECT_EQ(type, NULLREGION) << w << "x" << h;
                continue;
            }
            // A tall, narrow ellipse ends short of its tip rows, as GDI's does; otherwise the
            // box is the bounding box less its last column and row.
            const RECT full{2, 3, 2 + w - 1, 3 + h - 1};
            EXPECT_EQ(box.left, full.left) << w << "x" << h;
            EXPECT_EQ(box.right, full.right) << w << "x" << h;
            if (w >= h) {
                EXPECT_EQ(box, full) << w << "x" << h;
            }
            for (int y = box.top; y < box.bottom; ++y) {
                bool seen = false, ended = false;
                for (int x = box.left; x < box.right; ++x) {
                    const bool in = PtInRegion(e.get(), x, y);
                    const int mx = box.left + box.right - 1 - x, my = box.top + box.bottom - 1 - y;
                    EXPECT_EQ(in, static_cast<bool>(PtInRegion(e.get(), mx, y))) << w << "x" << h;
                    EXPECT_EQ(in, static_cast<bool>(PtInRegion(e.get(), x, my))) << w << "x" << h;
                    if (in && ended) ADD_FAILURE() << "row with a gap in " << w << "x" << h;
                    if (in) seen = true;
                    if (!in && seen) ended = true;
                }
                EXPECT_TRUE(seen || w < h) << "empty row " << y << " in " << w << "x" << h;
            }
        }
}

TEST(Region, FillRgnPaintsThroughTheClip) {
    Canvas c(6, 3);
    OwnedRgn shape(CreateRectRgn(0, 0, 4, 3));
    OwnedRgn hole(CreateRectRgn(1, 1, 2, 2));
    CombineRgn(shape.get(), shape.get(), hole.get(), RGN_DIFF);
    OwnedRgn clip(CreateRectRgn(1, 0, 6, 3));
    SelectClipRgn(c.dc(), clip.get());
    OwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    EXPECT_TRUE(FillRgn(c.dc(), shape.get(), red.get()));
    EXPECT_EQ(c.Picture({{RGB(255, 0, 0), 'r'}}), Rows({".rrr..", "..rr..", ".rrr.."}));
    EXPECT_FALSE(FillRgn(c.dc(), HRGN{}, red.get()));
    EXPECT_EQ(GetRegionRects(shape.get()),
              (std::vector<RECT>{{0, 0, 4, 1}, {0, 1, 1, 2}, {2, 1, 4, 2}, {0, 2, 4, 3}}));
}

// Wide pens build their round joins once and move them to each point, which relies on an
// ellipse's region depending only on its box's size, not on where the box lies.
TEST(Region, EllipsesMovedWithTheirBoxKeepTheirShape) {
    for (int w = 2; w <= 12; ++w)
        for (const POINT at : {POINT{-7, 3}, POINT{5, -9}, POINT{100, 41}, POINT{-1000, 777}}) {
            OwnedRgn origin(CreateEllipticRgn(-(w / 2), -(w / 2), -(w / 2) + w + 1, -(w / 2) + w + 1));
            OwnedRgn there(CreateEllipticRgn(at.x - w / 2, at.y - w / 2, at.x - w / 2 + w + 1, at.y - w / 2 + w + 1));
            OffsetRgn(origin.get(), at.x, at.y);
            EXPECT_TRUE(EqualRgn(origin.get(), there.get())) << "width " << w << " at " << at.x << "," << at.y;
        }
}

// Clipped drawing finds each row's band through an index made when the clip is selected; rows
// past the index's reach are found by halving. Whatever the region (bands with holes, above the
// surface, taller than the index), a fill or a pixel lands exactly where the region holds it.
TEST(Region, ClippedDrawingLandsWhereTheRegionHoldsThePixel) {
    constexpr int W = 9, H = 4200;  // taller than the clip's row index reaches
    auto ring = [] {
        HRGN outer = CreateEllipticRgn(-3, -4, 9, 30), inner = CreateEllipticRgn(1, 2, 6, 20);
        CombineRgn(outer, outer, inner, RGN_XOR);  // two spans on the middle rows
        DeleteObject(inner);
        return outer;
    };
    auto tall = [] {
        HRGN r = CreateRectRgn(2, -5, 7, H - 2);
        HRGN cut = CreateRectRgn(0, H - 50, 4, H - 40);
        CombineRgn(r, r, cut, RGN_DIFF);
        DeleteObject(cut);
        return r;
    };
    auto empty = [] { return CreateRectRgn(0, 0, 0, 0); };
    // Rows, columns, a block and single pixels, each over part of the region.
    const RECT fills[] = {{0, 5, W, 6}, {4, 0, 5, H}, {1, 0, 8, 40}, {0, H - 60, W, H}};
    for (auto make : {+ring, +tall, +empty}) {
        const OwnedRgn region(make());
        for (const RECT& f : fills) {
            Canvas c(W, H);
            SelectClipRgn(c.dc(), region.get());
            OwnedBrush brush(CreateSolidBrush(test::Red));
            FillRect(c.dc(), f, brush.get());
            for (int y = 0; y < H; y += 7) SetPixel(c.dc(), y % W, y, test::Blue);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const bool in = PtInRegion(region.get(), x, y) != FALSE;
                    COLORREF expected = test::Sentinel;
                    if (in && x >= f.left && x < f.right && y >= f.top && y < f.bottom) expected = test::Red;
                    if (in && y % 7 == 0 && x == y % W) expected = test::Blue;
                    ASSERT_EQ(c.At(x, y), expected) << "fill " << f.left << "," << f.top << " at " << x << "," << y;
                }
        }
    }
}
