#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <utility>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"

using namespace gdi;
using test::Canvas;
using test::Black;
using test::Red;

namespace {

constexpr int Margin = 2;

using Pixels = std::set<std::pair<int, int>>;

Pixels Of(const Canvas& c, int w, int h, COLORREF colour) {
    Pixels p;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c.At(x, y) == colour) p.emplace(x, y);
    return p;
}

HBRUSH NullBrush() { return HBRUSH(GetStockObject(NULL_BRUSH).value); }

}  // namespace

TEST(Ellipse, OutlinesFillTheBoxSymmetricallyAndMatchTheWholeArc) {
    for (int w = 1; w <= 13; ++w)
        for (int h = 1; h <= 13; ++h) {
            const int cw = w + 2 * Margin, ch = h + 2 * Margin;
            Canvas e(cw, ch), a(cw, ch);
            SelectObject(e.dc(), NullBrush());
            Ellipse(e.dc(), Margin, Margin, Margin + w, Margin + h);
            // Equal start and end points: the whole ellipse.
            Arc(a.dc(), Margin, Margin, Margin + w, Margin + h, 0, 3, 0, 3);
            const Pixels p = Of(e, cw, ch, Black);
            ASSERT_EQ(p, Of(a, cw, ch, Black)) << w << "x" << h;
            int minX = cw, maxX = -1, minY = ch, maxY = -1;
            for (auto [x, y] : p) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
                EXPECT_TRUE(p.count({2 * Margin + w - 1 - x, y})) << w << "x" << h << " mirror of " << x << "," << y;
                EXPECT_TRUE(p.count({x, 2 * Margin + h - 1 - y})) << w << "x" << h << " mirror of " << x << "," << y;
            }
            EXPECT_EQ(minX, Margin) << w << "x" << h;
            EXPECT_EQ(maxX, Margin + w - 1) << w << "x" << h;
            // A box much taller than wide ends its walk short of the top and bottom rows,
            // as GDI's outline does; otherwise the outline touches all four sides.
            EXPECT_GE(minY, Margin) << w << "x" << h;
            EXPECT_LE(maxY, Margin + h - 1) << w << "x" << h;
            if (w >= h) {
                EXPECT_EQ(minY, Margin) << w << "x" << h;
                EXPECT_EQ(maxY, Margin + h - 1) << w << "x" << h;
            }
        }
}

TEST(Ellipse, InteriorStaysInsideTheOutlineOnEveryRow) {
    for (int w = 3; w <= 15; w += 3)
        for (int h = 3; h <= 15; h += 4) {
            const int cw = w + 2 * Margin, ch = h + 2 * Margin;
            Canvas c(cw, ch);
            OwnedBrush red(CreateSolidBrush(Red));
            HBRUSH old = SelectObject(c.dc(), red.get());
            Ellipse(c.dc(), Margin, Margin, Margin + w, Margin + h);
            SelectObject(c.dc(), old);
            for (int y = 0; y < ch; ++y) {
                int firstPen = -1, lastPen = -1;
                for (int x = 0; x < cw; ++x)
                    if (c.At(x, y) == Black) {
                        if (firstPen < 0) firstPen = x;
                        lastPen = x;
                    }
                for (int x = 0; x < cw; ++x)
                    if (c.At(x, y) == Red) {
                        EXPECT_GT(x, firstPen) << w << "x" << h << " row " << y;
                        EXPECT_LT(x, lastPen) << w << "x" << h << " row " << y;
                    }
                // Between the outline's ends, nothing is left unpainted.
                for (int x = firstPen; firstPen >= 0 && x <= lastPen; ++x)
                    EXPECT_NE(c.At(x, y), test::Sentinel) << w << "x" << h << " at " << x << "," << y;
            }
        }
}

TEST(Arc, PartialArcsRunCounterClockwiseFromStartToEnd) {
    // Box 1..12, centre 6.5: start on the right, end at the top is the top-right quarter;
    // the reverse is the other three quarters.
    struct Case {
        POINT start, end;
        bool (*allowed)(int x, int y);
        int minPixels;
    } cases[] = {
        {{13, 6}, {6, 0}, [](int x, int y) { return x >= 6 && y <= 7; }, 5},
        {{6, 0}, {13, 6}, [](int x, int y) { return x <= 7 || y >= 6; }, 20},
        {{0, 6}, {6, 13}, [](int x, int y) { return x <= 7 && y >= 6; }, 5},
    };
    for (const Case& k : cases) {
        Canvas c(14, 14);
        Arc(c.dc(), 1, 1, 13, 13, k.start.x, k.start.y, k.end.x, k.end.y);
        const Pixels p = Of(c, 14, 14, Black);
        EXPECT_GE(static_cast<int>(p.size()), k.minPixels);
        for (auto [x, y] : p) EXPECT_TRUE(k.allowed(x, y)) << "pixel " << x << "," << y;
    }
}

TEST(Arc, TwoPixelPenCoversTheOnePixelOutline) {
    Canvas thin(16, 12), wide(16, 12);
    Arc(thin.dc(), 2, 2, 14, 10, 5, 5, 5, 5);
    OwnedPen pen(CreatePen(PS_SOLID, 2, Black));
    HPEN old = SelectObject(wide.dc(), pen.get());
    Arc(wide.dc(), 2, 2, 14, 10, 5, 5, 5, 5);
    SelectObject(wide.dc(), old);
    const Pixels t = Of(thin, 16, 12, Black), w = Of(wide, 16, 12, Black);
    EXPECT_TRUE(std::includes(w.begin(), w.end(), t.begin(), t.end()));
    EXPECT_GT(w.size(), t.size() + t.size() / 2);
}

TEST(Ellipse, NullPenFillCoversTheSameShapeAsAnOutlinedOne) {
    for (int w = 2; w <= 16; w += 2)
        for (int h = 3; h <= 15; h += 3) {
            const int cw = w + 2 * Margin, ch = h + 2 * Margin;
            Canvas outlined(cw, ch), bare(cw, ch);
            OwnedBrush red(CreateSolidBrush(Red));
            OwnedPen redPen(CreatePen(PS_SOLID, 1, Red));
            HBRUSH oldBrush = SelectObject(outlined.dc(), red.get());
            HPEN oldPen = SelectObject(outlined.dc(), redPen.get());
            Ellipse(outlined.dc(), Margin, Margin, Margin + w, Margin + h);
            SelectObject(outlined.dc(), oldBrush);
            SelectObject(outlined.dc(), oldPen);
            oldBrush = SelectObject(bare.dc(), red.get());
            oldPen = SelectObject(bare.dc(), HPEN(GetStockObject(NULL_PEN).value));
            Ellipse(bare.dc(), Margin, Margin, Margin + w, Margin + h);
            SelectObject(bare.dc(), oldBrush);
            SelectObject(bare.dc(), oldPen);
            EXPECT_EQ(Of(bare, cw, ch, Red), Of(outlined, cw, ch, Red)) << w << "x" << h;
        }
}

// Where a dash pattern falls depends on the drawing order: counter-clockwise from the right end
// of the middle row (the upper one of two). Recorded from GDI.
TEST(Ellipse, DotsFallWhereGdiPutsThem) {
    Canvas c(24, 18);
    SetBkMode(c.dc(), TRANSPARENT);
    OwnedPen dots(CreatePen(PS_DOT, 1, Black));
    HPEN oldPen = SelectObject(c.dc(), dots.get());
    HBRUSH oldBrush = SelectObject(c.dc(), NullBrush());
    Ellipse(c.dc(), 0, 0, 24, 18);
    SelectObject(c.dc(), oldPen);
    SelectObject(c.dc(), oldBrush);
    EXPECT_EQ(c.Picture({{Black, '#'}}), test::Rows({
                                             "...........###..........",
                                             "......##.........#......",
                                             ".....#............##....",
                                             "........................",
                                             "........................",
                                             ".#......................",
                                             ".#....................#.",
                                             "#......................#",
                                             ".......................#",
                                             ".......................#",
                                             ".......................#",
                                             ".#......................",
                                             ".#......................",
                                             "..#.....................",
                                             "....................#...",
                                             "..................##....",
                                             "......##................",
                                             "........#...###.........",
                                         }));
}

TEST(Arc, ARadialPointAtTheCentreMeansAngleZero) {
    Canvas atCentre(24, 24), toRight(24, 24);
    Arc(atCentre.dc(), 2, 2, 22, 22, 2, 4, 12, 12);
    Arc(toRight.dc(), 2, 2, 22, 22, 2, 4, 30, 12);
    const Pixels a = Of(atCentre, 24, 24, Black), b = Of(toRight, 24, 24, Black);
    EXPECT_EQ(a, b);
    // Counter-clockwise from the upper left round to the right: the upper right stays empty.
    for (auto [x, y] : a) EXPECT_FALSE(x > 13 && y < 10) << x << "," << y;
}

// An inside-frame pen too wide to leave a path covers the ellipse of the box with its colour.
TEST(Ellipse, InsideFrameWiderThanTheBoxCoversTheFigure) {
    const RECT boxes[] = {{2, 2, 7, 7}, {2, 3, 10, 6}, {3, 2, 6, 12}};
    for (const RECT& b : boxes) {
        Canvas drawn(14, 14), filled(14, 14);
        OwnedPen pen(CreatePen(PS_INSIDEFRAME, 6, Red));
        const HPEN oldPen = SelectObject(drawn.dc(), pen.get());
        Ellipse(drawn.dc(), b.left, b.top, b.right, b.bottom);
        SelectObject(drawn.dc(), oldPen);
        OwnedRgn rgn(CreateEllipticRgn(b.left, b.top, b.right, b.bottom));
        OwnedBrush red(CreateSolidBrush(Red));
        FillRgn(filled.dc(), rgn.get(), red.get());
        EXPECT_EQ(Of(drawn, 14, 14, Red), Of(filled, 14, 14, Red)) << b.left << "," << b.top << "," << b.right << "," << b.bottom;
        EXPECT_FALSE(Of(drawn, 14, 14, Red).empty());
    }
}

// A whole arc with a wide pen is filled from the last outline's kept pixels while its box, the
// pen's width and the surface's size stay the same. Each case is drawn twice (made, then kept)
// after a case that differs in one of those, the clip or the colour, and both must match the
// ellipse's own stroke, which is made afresh every time.
TEST(Arc, KeptWideOutlineMatchesTheEllipsesOwnStroke) {
    struct Case {
        RECT box;
        int width, surfaceWidth, surfaceHeight;
        bool clipped;
        COLORREF colour;
    } cases[] = {
        {{0, 0, 145, 41}, 2, 145, 41, false, Black},
        {{0, 0, 145, 41}, 2, 145, 41, true, Black},   // through a clip
        {{0, 0, 145, 41}, 2, 145, 41, false, Red},    // another colour
        {{0, 0, 145, 41}, 3, 145, 41, false, Red},    // another width
        {{0, 0, 145, 41}, 3, 100, 30, false, Red},    // a surface that cuts it
        {{1, 0, 145, 41}, 3, 100, 30, true, Red},     // the box moved
        {{-5, -3, 40, 20}, 9, 64, 16, true, Black},
        {{0, 0, 145, 41}, 2, 145, 41, false, Black},  // the first again
    };
    auto draw = [](const Case& k, bool ellipse) {
        auto c = std::make_unique<Canvas>(k.surfaceWidth, k.surfaceHeight);
        OwnedRgn clip(CreateEllipticRgn(10, 4, k.surfaceWidth - 20, k.surfaceHeight));
        if (k.clipped) SelectClipRgn(c->dc(), clip.get());
        OwnedPen pen(CreatePen(PS_SOLID, k.width, k.colour));
        const HPEN oldPen = SelectObject(c->dc(), pen.get());
        const HBRUSH oldBrush = SelectObject(c->dc(), NullBrush());
        if (ellipse)
            Ellipse(c->dc(), k.box.left, k.box.top, k.box.right, k.box.bottom);
        else
            Arc(c->dc(), k.box.left, k.box.top, k.box.right, k.box.bottom, 0, 0, 0, 0);
        SelectObject(c->dc(), oldPen);
        SelectObject(c->dc(), oldBrush);
        return c;
    };
    for (const Case& k : cases) {
        const auto expected = draw(k, true);
        const Pixels stroke = Of(*expected, k.surfaceWidth, k.surfaceHeight, k.colour);
        ASSERT_GT(stroke.size(), 20u) << k.box.left << "," << k.box.top << " width " << k.width;
        for (const char* pass : {"made", "kept"})
            EXPECT_EQ(Of(*draw(k, false), k.surfaceWidth, k.surfaceHeight, k.colour), stroke)
                << pass << " " << k.box.left << "," << k.box.top << " width " << k.width << " on "
                << k.surfaceWidth << "x" << k.surfaceHeight << (k.clipped ? " clipped" : "");
    }
}
