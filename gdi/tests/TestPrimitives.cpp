#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"

using namespace gdi;
using test::Canvas;
using test::Black;
using test::White;
using test::Red;
using test::Rows;

namespace {


// Selects a pen and brush for the lifetime of the object and deletes them afterwards.
class Tools {
public:
    Tools(HDC dc, HPEN pen, HBRUSH brush) : dc_(dc), pen_(pen), brush_(brush) {
        oldPen_ = SelectObject(dc, pen);
        oldBrush_ = SelectObject(dc, brush);
    }
    ~Tools() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        DeleteObject(pen_);
        DeleteObject(brush_);
    }

private:
    HDC dc_;
    HPEN pen_, oldPen_;
    HBRUSH brush_, oldBrush_;
};

using Pixels = std::set<std::pair<int, int>>;

Pixels Drawn(const Canvas& c, int w, int h, COLORREF colour) {
    Pixels p;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c.At(x, y) == colour) p.emplace(x, y);
    return p;
}

}  // namespace

TEST(Rectangle, PenOfTheFillColourPaintsExactlyTheHalfOpenBox) {
    // A thin pen of the brush's colour is one fill on a colour surface; each setting must still
    // give the box, cut by the surface and the clip, and nothing else.
    struct Box {
        int l, t, r, b;
    } boxes[] = {{1, 1, 5, 4}, {5, 4, 1, 1}, {0, 0, 1, 1}, {2, 0, 3, 6}, {-3, -2, 2, 2}, {4, 3, 9, 9},
                 {3, 3, 3, 5}, {-2000000000, 2, 2000000000, 3}};
    enum Setting { Plain, InsideFrame, DcObjects, Clipped, Mono };
    for (const Setting setting : {Plain, InsideFrame, DcObjects, Clipped, Mono}) {
        for (const Box& k : boxes) {
            Canvas c(7, 6, setting == Mono ? 1 : 32, setting == Mono ? Black : test::Sentinel);
            const COLORREF ink = setting == Mono ? White : Red;
            Tools t(c.dc(), CreatePen(setting == InsideFrame ? PS_INSIDEFRAME : PS_SOLID, 1, ink), CreateSolidBrush(ink));
            if (setting == DcObjects) {
                SelectObject(c.dc(), GetStockObject(DC_PEN));
                SelectObject(c.dc(), GetStockObject(DC_BRUSH));
                SetDCPenColor(c.dc(), ink);
                SetDCBrushColor(c.dc(), ink);
            }
            OwnedRgn clip(CreateEllipticRgn(0, 0, 7, 6));
            if (setting == Clipped) SelectClipRgn(c.dc(), clip.get());
            ASSERT_TRUE(Rectangle(c.dc(), k.l, k.t, k.r, k.b));
            const int l = std::max(0, std::min(k.l, k.r)), r = std::min(7, std::max(k.l, k.r));
            const int t0 = std::max(0, std::min(k.t, k.b)), b = std::min(6, std::max(k.t, k.b));
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 7; ++x)
                    EXPECT_EQ(c.At(x, y) == ink, x >= l && x < r && y >= t0 && y < b &&
                                                     (setting != Clipped || PtInRegion(clip.get(), x, y)))
                        << "setting " << setting << " box " << k.l << "," << k.t << "," << k.r << "," << k.b
                        << " pixel " << x << "," << y;
        }
    }
}

// On a monochrome surface a grey brush is dithered while a black pen stays black: the figure
// is an outline and a dithered interior, not one fill, though both inks have a black bit.
TEST(Rectangle, MonochromeInteriorKeepsTheBrushDither) {
    Canvas rect(8, 8, 1, White), filled(8, 8, 1, White);
    Tools t(rect.dc(), CreatePen(PS_SOLID, 1, Black), CreateSolidBrush(RGB(128, 128, 128)));
    Rectangle(rect.dc(), 0, 0, 8, 8);
    const OwnedBrush grey(CreateSolidBrush(RGB(128, 128, 128)));
    FillRect(filled.dc(), RECT{1, 1, 7, 7}, grey.get());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool edge = x == 0 || y == 0 || x == 7 || y == 7;
            EXPECT_EQ(rect.At(x, y), edge ? Black : filled.At(x, y)) << x << "," << y;
        }
}

TEST(Rectangle, OutlineAndInteriorPictures) {
    struct Case {
        const char* name;
        int penStyle, penWidth;
        bool nullBrush;
        int l, t, r, b;
        std::string expected;
    } cases[] = {
        {"thin pen", PS_SOLID, 1, false, 1, 1, 6, 5,
         Rows({"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####..", "........"})},
        {"null brush", PS_SOLID, 1, true, 1, 1, 6, 5,
         Rows({"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........"})},
        // GDI fills one pixel short on the right and bottom when there is no outline.
        {"null pen", PS_NULL, 1, false, 1, 1, 6, 5,
         Rows({"........", ".oooo...", ".oooo...", ".oooo...", "........", "........"})},
        // A two-pixel pen straddles the path with its extra pixel above and left of it.
        {"wide pen", PS_SOLID, 2, false, 2, 2, 8, 7,
         Rows({"........", ".#######", ".#######", ".##ooo##", ".##ooo##", ".#######"})},
        // Inside-frame pens are pulled in so that the outline stays within the box.
        {"inside frame", PS_INSIDEFRAME, 2, false, 1, 0, 8, 6,
         Rows({".#######", ".#######", ".##ooo##", ".##ooo##", ".#######", ".#######"})},
        // An inside-frame pen too wide to leave a path covers the whole box, and nothing beyond.
        {"inside frame wider than the box", PS_INSIDEFRAME, 6, false, 2, 1, 6, 4,
         Rows({"........", "..####..", "..####..", "..####..", "........", "........"})},
    };
    for (const Case& k : cases) {
        Canvas c(8, 6);
        HBRUSH brush = k.nullBrush ? HBRUSH{} : CreateSolidBrush(White);
        Tools t(c.dc(), CreatePen(k.penStyle, k.penWidth, Black), brush);
        if (k.nullBrush) SelectObject(c.dc(), HBRUSH(GetStockObject(NULL_BRUSH).value));
        Rectangle(c.dc(), k.l, k.t, k.r, k.b);
        EXPECT_EQ(c.Picture({{Black, '#'}, {White, 'o'}}), k.expected) << k.name;
    }
}

TEST(Lines, PictureOfTiesInTwoOctants) {
    struct Case {
        POINT a, b;
        std::string expected;
    } cases[] = {
        {{0, 0}, {4, 2}, Rows({"##...", "..##.", "....."})},
        {{4, 2}, {0, 0}, Rows({".#...", "..##.", "....#"})},
        {{0, 0}, {2, 4}, Rows({"#....", "#....", ".#...", ".#...", "....."})},
        {{2, 4}, {0, 0}, Rows({".....", "#....", ".#...", ".#...", "..#.."})},
    };
    for (const Case& k : cases) {
        Canvas c(5, k.expected.size() / 6);
        POINT pts[] = {k.a, k.b};
        Polyline(c.dc(), pts, 2);
        EXPECT_EQ(c.Picture({{Black, '#'}}), k.expected) << k.a.x << "," << k.a.y << " -> " << k.b.x << "," << k.b.y;
    }
}

// Every direction: one pixel per step of the major axis, the start drawn and the end not, each
// pixel within half a pixel of the true line, and the same pixels whichever way it is drawn.
TEST(Lines, AllOctantsFollowTheBresenhamRules) {
    const POINT centre{8, 8};
    for (int dy = -7; dy <= 7; ++dy)
        for (int dx = -7; dx <= 7; ++dx) {
            if (dx == 0 && dy == 0) continue;
            const POINT end{centre.x + dx, centre.y + dy};
            Canvas fwd(17, 17), back(17, 17);
            const POINT there[] = {centre, end}, home[] = {end, centre};
            Polyline(fwd.dc(), there, 2);
            Polyline(back.dc(), home, 2);
            Pixels f = Drawn(fwd, 17, 17, Black), b = Drawn(back, 17, 17, Black);
            const int adx = std::abs(dx), ady = std::abs(dy), major = std::max(adx, ady);
            ASSERT_EQ(static_cast<int>(f.size()), major) << dx << "," << dy;
            EXPECT_TRUE(f.count({centre.x, centre.y})) << dx << "," << dy;
            EXPECT_FALSE(f.count({end.x, end.y})) << dx << "," << dy;
            for (auto [x, y] : f) {
                const int i = x - centre.x, j = y - centre.y;
                // 2 * |cross product| <= major: within half a pixel along the minor axis.
                EXPECT_LE(2 * std::abs(i * dy - j * dx), major) << dx << "," << dy << " pixel " << x << "," << y;
            }
            f.emplace(end.x, end.y);
            b.emplace(centre.x, centre.y);
            EXPECT_EQ(f, b) << "direction changes the pixels for " << dx << "," << dy;
        }
}

TEST(Lines, PolylineJoinsDrawEachVertexOnceAndLeaveTheEndOut) {
    Canvas c(5, 5);
    const POINT pts[] = {{0, 0}, {3, 0}, {3, 3}, {1, 3}};
    Polyline(c.dc(), pts, 4);
    EXPECT_EQ(c.Picture({{Black, '#'}}), Rows({"####.", "...#.", "...#.", "..##.", "....."}));
    EXPECT_FALSE(Polyline(c.dc(), pts, 1));
    EXPECT_FALSE(Polyline(c.dc(), nullptr, 4));
}

// Unclipped solid lines are written straight into the rows, and a two-point polyline that is
// straight is one fill. A clip that holds the whole surface sends the same lines through the
// per-pixel visibility test, and a dotted pen whose opaque gaps have its own colour through the
// step-by-step walk: all three must agree pixel for pixel.
TEST(Lines, UnclippedLinesMatchThePerPixelWalk) {
    constexpr int W = 20, H = 9;
    // Corners, inside points, points off each side (lines that leave across their minor axis
    // too) and far away: every pair is one line.
    const POINT ends[] = {{0, 0},  {19, 8},  {19, 0},   {0, 8},         {7, 3},  {12, 5},  {-6, 4},
                          {26, 2}, {9, -5},  {3, 14},   {-3000000, 1},  {21, 9}, {-1, -1}, {18, 7},
                          {30, -2}, {-8, 10}, {-2, -30}, {23, 30},      {5, 2000000000},   {INT_MIN, 4},
                          {INT_MAX, 3}, {2, INT_MAX}};
    const OwnedPen dotted(CreatePen(PS_DOT, 1, Black));
    for (const POINT& a : ends)
        for (const POINT& b : ends) {
            Canvas plain(W, H), clipped(W, H), walked(W, H);
            const OwnedRgn all(CreateRectRgn(0, 0, W, H));
            SelectClipRgn(clipped.dc(), all.get());
            SelectObject(walked.dc(), dotted.get());
            SetBkColor(walked.dc(), Black);
            const POINT pts[] = {a, b};
            for (Canvas* c : {&plain, &clipped, &walked}) Polyline(c->dc(), pts, 2);
            EXPECT_EQ(test::PixelsOf(plain.bitmap()), test::PixelsOf(clipped.bitmap()))
                << a.x << "," << a.y << " -> " << b.x << "," << b.y;
            EXPECT_EQ(test::PixelsOf(plain.bitmap()), test::PixelsOf(walked.bitmap()))
                << a.x << "," << a.y << " -> " << b.x << "," << b.y << " walked";
        }
}

// SolidLines stands for making a one-pixel solid pen of each line's colour, selecting it and
// drawing the line: the same pixels, and the DC keeps its own pen and objects.
TEST(Lines, SolidLinesDrawWhatAPenOfEachColourDraws) {
    constexpr int W = 16, H = 9;
    const std::vector<ColouredLine> cases[] = {
        // a bevel: edges meeting at corners, later colours over earlier ones
        {{{0, 8}, {0, 0}, RGB(10, 20, 30)}, {{0, 0}, {15, 0}, RGB(40, 50, 60)}, {{15, 0}, {15, 8}, RGB(70, 80, 90)},
         {{15, 8}, {0, 8}, RGB(100, 110, 120)}, {{1, 7}, {1, 1}, RGB(255, 255, 255)}},
        // slanted edges leaving the surface, a flag byte above the colour, a point
        {{{-3, 9}, {6, 0}, 0x02000000 | RGB(9, 9, 200)}, {{9, 0}, {19, 10}, RGB(200, 9, 9)}, {{4, 4}, {4, 4}, 0}},
        // black and white, which a monochrome surface keeps as they are
        {{{2, 1}, {13, 6}, RGB(0, 0, 0)}, {{13, 1}, {2, 7}, RGB(255, 255, 255)}},
    };
    struct Setting {
        const char* name;
        int bitsPerPixel;
        bool clip;
    } settings[] = {{"colour", 32, false}, {"colour, clipped", 32, true}, {"monochrome", 1, false}};
    for (const Setting& setting : settings)
        for (std::size_t k = 0; k < std::size(cases); ++k) {
            Canvas pens(W, H, setting.bitsPerPixel), batch(W, H, setting.bitsPerPixel);
            const OwnedPen own(CreatePen(PS_DOT, 1, Red));
            for (Canvas* c : {&pens, &batch}) {
                SelectObject(c->dc(), own.get());
                SetBkColor(c->dc(), RGB(9, 9, 200));
                if (setting.clip) {
                    const OwnedRgn oval(CreateEllipticRgn(0, 0, W, H));
                    SelectClipRgn(c->dc(), oval.get());
                }
            }
            for (const ColouredLine& line : cases[k]) {
                const OwnedPen pen(CreatePen(PS_SOLID, 1, line.colour));
                const HPEN old = SelectObject(pens.dc(), pen.get());
                const POINT pts[] = {line.from, line.to};
                Polyline(pens.dc(), pts, 2);
                SelectObject(pens.dc(), old);
            }
            const ObjectCounts before = LiveObjects();
            EXPECT_TRUE(SolidLines(batch.dc(), cases[k].data(), static_cast<int>(cases[k].size())));
            EXPECT_EQ(LiveObjects(), before);
            // The pen left selected shows in one more line drawn with it.
            const POINT last[] = {{0, 4}, {W, 4}};
            for (Canvas* c : {&pens, &batch}) Polyline(c->dc(), last, 2);
            const std::string where = std::string(setting.name) + ", case " + std::to_string(k);
            EXPECT_EQ(test::PixelsOf(pens.bitmap()), test::PixelsOf(batch.bitmap())) << where;
            for (Canvas* c : {&pens, &batch}) SelectObject(c->dc(), HPEN(GetStockObject(BLACK_PEN).value));
        }
    const ColouredLine one{{0, 0}, {1, 1}, 0};
    EXPECT_FALSE(SolidLines(HDC{}, &one, 1));
    Canvas c(2, 2);
    EXPECT_FALSE(SolidLines(c.dc(), nullptr, 1));
    EXPECT_TRUE(SolidLines(c.dc(), nullptr, 0));
}

TEST(Lines, MoveToAndLineToTrackTheCurrentPosition) {
    Canvas c(5, 3);
    POINT prev{-1, -1};
    MoveToEx(c.dc(), 0, 1, &prev);
    EXPECT_EQ(prev, (POINT{0, 0}));
    LineTo(c.dc(), 4, 1);
    LineTo(c.dc(), 4, 3);
    MoveToEx(c.dc(), 0, 0, &prev);
    EXPECT_EQ(prev, (POINT{4, 3}));
    EXPECT_EQ(c.Picture({{Black, '#'}}), Rows({".....", "#####", "....#"}));
}

TEST(Lines, DashedPensAlternateAndFillGapsOnlyWhenOpaque) {
    struct Case {
        int style, bkMode;
        std::string expected;
    } cases[] = {
        {PS_DOT, OPAQUE, "###ooo###ooo###ooo##\n"},
        {PS_DOT, TRANSPARENT, "###...###...###...##\n"},
        {PS_DASH, TRANSPARENT, "##################..\n"},
        {PS_DASHDOT, OPAQUE, "#########oooooo###oo\n"},
        {PS_DASHDOTDOT, TRANSPARENT, "#########...###...##\n"},
    };
    for (const Case& k : cases) {
        Canvas c(20, 1);
        SetBkMode(c.dc(), k.bkMode);
        SetBkColor(c.dc(), White);
        Tools t(c.dc(), CreatePen(k.style, 1, Black), CreateSolidBrush(White));
        const POINT pts[] = {{0, 0}, {20, 0}};
        Polyline(c.dc(), pts, 2);
        EXPECT_EQ(c.Picture({{Black, '#'}, {White, 'o'}}), k.expected) << k.style;
    }
}

// On a monochrome surface the gaps of a dashed pen stay visible even when the background
// colour would land on the pen's bit.
TEST(Lines, DashGapsOnMonochromeDifferFromThePen) {
    struct Case {
        COLORREF pen, bk, gap;
    } cases[] = {
        {Black, Red, White},                    // red is nearer black, like the pen: flipped
        {White, RGB(192, 192, 192), Black},     // light grey is nearer white, like the pen
        {Black, RGB(192, 192, 192), White},     // already different
        {White, Red, Black},
    };
    for (const Case& k : cases) {
        Canvas c(6, 1, 1);
        SetBkColor(c.dc(), k.bk);
        Tools t(c.dc(), CreatePen(PS_DOT, 1, k.pen), CreateSolidBrush(White));
        const POINT pts[] = {{0, 0}, {6, 0}};
        Polyline(c.dc(), pts, 2);
        EXPECT_EQ(c.At(0, 0), k.pen == Black ? Black : White);
        EXPECT_EQ(c.At(4, 0), k.gap) << std::hex << k.pen << " on " << k.bk;
    }
}

// Slanted wide segments split the pen across the line into a narrow and a wide half, joined
// and capped round. Recorded from GDI.
TEST(Lines, SlantedWidePens) {
    Canvas c(40, 12);
    {
        Tools t(c.dc(), CreatePen(PS_SOLID, 2, Black), CreateSolidBrush(White));
        const POINT thin[] = {{1, 2}, {11, 7}};
        Polyline(c.dc(), thin, 2);
    }
    {
        Tools t(c.dc(), CreatePen(PS_SOLID, 3, Black), CreateSolidBrush(White));
        const POINT bent[] = {{16, 9}, {22, 1}, {36, 5}};
        Polyline(c.dc(), bent, 3);
    }
    EXPECT_EQ(c.Picture({{Black, '#'}}), Rows({
                                             "......................#####.............",
                                             "##...................#########..........",
                                             "####................##############......",
                                             ".#####.............#####..###########...",
                                             "...#####..........#####......########...",
                                             ".....#####........####...........#####..",
                                             ".......#####.....####...............#...",
                                             ".........###....#####...................",
                                             "...............#####....................",
                                             "...............####.....................",
                                             "................#.......................",
                                             "........................................",
                                         }));
}

// A wide stroke marks only the part of the surface it can reach. Cut by the surface's edges
// (and across 64-pixel words), it must still be the whole stroke cut; and drawing with another
// width in between must not change a width's pixels.
TEST(Lines, WideStrokesCutByTheSurfaceAreTheWholeStrokeCut) {
    constexpr int margin = 20;
    auto draw = [](HDC dc, int width, int kind, int dx, int dy) {
        Tools t(dc, CreatePen(PS_SOLID, width, Black), CreateSolidBrush(White));
        if (kind == 0) {
            Arc(dc, dx - 4, dy - 3, dx + 75, dy + 30, 0, 0, 0, 0);
        } else {
            // One-pixel steps, a long slanted segment and a repeated point.
            const POINT pts[] = {{dx - 3, dy + 2}, {dx - 2, dy + 3}, {dx - 1, dy + 3}, {dx + 66, dy + 25},
                                 {dx + 66, dy + 25}, {dx + 67, dy + 24}, {dx + 70, dy - 2}};
            Polyline(dc, pts, 7);
        }
    };
    // Each stroke on a surface that cuts it, and the same stroke whole on a larger one.
    auto cutAndWhole = [&](int width, int kind) {
        Canvas cut(68, 26), whole(68 + 2 * margin, 26 + 2 * margin);
        draw(cut.dc(), width, kind, 0, 0);
        draw(whole.dc(), width, kind, margin, margin);
        std::vector<COLORREF> a, b;
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 68; ++x) {
                a.push_back(cut.At(x, y));
                b.push_back(whole.At(x + margin, y + margin));
            }
        EXPECT_EQ(a, b) << "width " << width << " kind " << kind;
        EXPECT_GT(whole.Count(Black), cut.Count(Black)) << "the stroke reaches past the cut surface";
        return a;
    };
    for (int kind = 0; kind < 2; ++kind) {
        const std::vector<COLORREF> first = cutAndWhole(2, kind);
        for (int width : {3, 5, 9}) {
            cutAndWhole(width, kind);
            EXPECT_EQ(cutAndWhole(2, kind), first) << "width 2 after width " << width;
        }
    }
}

TEST(Pixels, SetAndGetOnBothDepths) {
    struct Case {
        int bpp;
        COLORREF set, expected;
    } cases[] = {
        {32, RGB(10, 20, 30), RGB(10, 20, 30)},
        {32, 0x12345678, RGB(0x78, 0x56, 0x34)},
        {1, RGB(200, 200, 200), White},
        {1, RGB(100, 100, 100), Black},
        {1, Red, Black},
        {1, RGB(128, 128, 128), White},
    };
    for (const Case& k : cases) {
        Canvas c(3, 3, k.bpp);
        EXPECT_EQ(SetPixel(c.dc(), 1, 2, k.set), k.expected) << k.bpp << " " << k.set;
        EXPECT_EQ(GetPixel(c.dc(), 1, 2), k.expected);
        for (POINT p : {POINT{-1, 0}, POINT{3, 0}, POINT{0, 3}, POINT{0, -1}}) {
            EXPECT_EQ(SetPixel(c.dc(), p.x, p.y, k.set), CLR_INVALID);
            EXPECT_EQ(GetPixel(c.dc(), p.x, p.y), CLR_INVALID);
        }
    }
}

TEST(Pixels, PensOnMonochromeFollowTheBackgroundColour) {
    struct Case {
        COLORREF pen, bk, expected;
    } cases[] = {
        {Black, White, Black},
        {White, Black, White},
        {Red, White, Black},              // not the background: the opposite of white
        {Red, Red, Black},                // the background itself: as red maps, black
        {RGB(200, 200, 200), Black, White},
        {RGB(200, 200, 200), RGB(200, 200, 200), White},
    };
    for (const Case& k : cases) {
        Canvas c(3, 1, 1, k.expected == Black ? White : Black);
        SetBkColor(c.dc(), k.bk);
        Tools t(c.dc(), CreatePen(PS_SOLID, 1, k.pen), CreateSolidBrush(k.pen));
        Rectangle(c.dc(), 0, 0, 3, 1);
        EXPECT_EQ(c.At(1, 0), k.expected) << std::hex << k.pen << " on bk " << k.bk;
    }
}

// Solid brushes on a monochrome surface are dithered by luminance with an 8x8 ordered pattern;
// the counts of white pixels per 8x8 cell were recorded from GDI.
TEST(FillRect, BrushesOnMonochromeAreDithered) {
    struct Case {
        COLORREF colour;
        int whites;
    } cases[] = {
        {Black, 0},          {White, 64},         {RGB(128, 128, 128), 32}, {RGB(17, 17, 17), 4},
        {Red, 19},           {RGB(0, 255, 0), 38}, {RGB(0, 0, 255), 7},     {RGB(200, 100, 50), 31},
        {RGB(250, 250, 250), 63},
    };
    for (const Case& k : cases) {
        Canvas c(16, 8, 1);
        OwnedBrush brush(CreateSolidBrush(k.colour));
        FillRect(c.dc(), RECT{0, 0, 16, 8}, brush.get());
        EXPECT_EQ(c.Count(White), 2 * k.whites) << std::hex << k.colour;
        // The pattern is tied to device pixels, so both cells are the same.
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) ASSERT_EQ(c.At(x, y), c.At(x + 8, y)) << x << "," << y;
    }
    // The darkest grey lights the first pixel of the order: the lower left corner.
    Canvas c(8, 8, 1);
    OwnedBrush dark(CreateSolidBrush(RGB(5, 5, 5)));
    FillRect(c.dc(), RECT{0, 0, 8, 8}, dark.get());
    EXPECT_EQ(c.Count(White), 1);
    EXPECT_EQ(c.At(0, 7), White);
}

TEST(FillRect, UsesTheGivenBrushAndLeavesInvertedRectanglesEmpty) {
    Canvas c(4, 3);
    OwnedBrush brush(CreateSolidBrush(Red));
    EXPECT_EQ(FillRect(c.dc(), RECT{1, 0, 3, 2}, brush.get()), 1);
    EXPECT_EQ(FillRect(c.dc(), RECT{3, 2, 0, 0}, brush.get()), 1);
    EXPECT_EQ(FillRect(c.dc(), RECT{0, 0, 1, 1}, HBRUSH{}), 0);
    EXPECT_EQ(c.Picture({{Red, 'r'}}), Rows({".rr.", ".rr.", "...."}));
    EXPECT_EQ(HGDIOBJ(GetCurrentBrush(c.dc())), GetStockObject(WHITE_BRUSH));
}

// Unclipped fills take a shorter path than clipped ones (a row, a column four rows a store, a
// block); a clip region covering the whole surface must change nothing.
TEST(FillRect, UnclippedFillsMatchTheClipWalk) {
    std::vector<RECT> cases = {
        {1, 1, 19, 2},   {3, 0, 4, 7},    {0, 0, 20, 7},    {-5, 2, 2, 30}, {18, -3, 40, 1},
        {2, 3, 2, 6},    {5, 5, 4, 6},    {0, 6, 17, 7},    {19, 0, 20, 7}, {-9, -9, -1, -1},
    };
    // Columns of every height from each start row, cut by the bottom edge or not.
    for (int top = -1; top < 3; ++top)
        for (int height = 1; height <= 9; ++height) cases.push_back(RECT{7, top, 8, top + height});
    for (const RECT& r : cases) {
        Canvas plain(20, 7), clipped(20, 7);
        const OwnedRgn all(CreateRectRgn(0, 0, 20, 7));
        SelectClipRgn(clipped.dc(), all.get());
        const OwnedBrush red(CreateSolidBrush(test::Red));
        for (Canvas* c : {&plain, &clipped}) FillRect(c->dc(), r, red.get());
        EXPECT_EQ(test::PixelsOf(plain.bitmap()), test::PixelsOf(clipped.bitmap()))
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

// Solid fills write whole rows in wide stores from the first 16-byte boundary on, and long rows
// through the C library: every start (of eight, so every alignment of a row) and every length up
// to past both fills' store steps fills exactly its span.
TEST(FillRect, EveryStartAndLengthFillsExactlyItsSpan) {
    const OwnedBrush red(CreateSolidBrush(Red));
    for (int x = 0; x < 8; ++x)
        for (int n = 0; n <= 72; ++n) {
            Canvas c(84, 1);
            FillRect(c.dc(), {x, 0, x + n, 1}, red.get());
            std::string expected(84, '.');
            expected.replace(static_cast<std::size_t>(x), static_cast<std::size_t>(n), static_cast<std::size_t>(n), 'r');
            EXPECT_EQ(c.Picture({{Red, 'r'}}), expected + "\n") << "from " << x << ", " << n << " pixels";
        }
}

namespace {

// Each batch call stands for SetDCBrushColor, SetDCPenColor and Rectangle a box: run on a W x H
// surface in every setting a face's fills meet, it must paint and leave the DC colours as those calls.
template <class Batch>
void ExpectTheCallsOfEachBox(const std::vector<ColouredRect>& boxes, Batch&& batchCall, const std::string& name) {
    constexpr int W = 20, H = 9;
    enum class Objects { DcOwn, Others };
    struct Setting {
        const char* name;
        int bitsPerPixel;
        Objects objects;
        bool clip;  // an elliptic clip region, as the oval faces set
    } settings[] = {
        {"own objects", 32, Objects::DcOwn, false},
        {"own objects, clipped", 32, Objects::DcOwn, true},
        {"own objects, monochrome", 1, Objects::DcOwn, true},
        {"other pen and brush", 32, Objects::Others, false},
    };
    const OwnedPen red(CreatePen(PS_SOLID, 2, Red));
    const OwnedBrush blue(CreateSolidBrush(test::Blue));
    for (const Setting& setting : settings) {
        Canvas calls(W, H, setting.bitsPerPixel), batch(W, H, setting.bitsPerPixel);
        for (Canvas* c : {&calls, &batch}) {
            if (setting.objects == Objects::DcOwn) {
                SelectObject(c->dc(), HBRUSH(GetStockObject(DC_BRUSH).value));
                SelectObject(c->dc(), HPEN(GetStockObject(DC_PEN).value));
            } else {
                SelectObject(c->dc(), blue.get());
                SelectObject(c->dc(), red.get());
            }
            if (setting.clip) {
                const OwnedRgn oval(CreateEllipticRgn(0, 0, W, H));
                SelectClipRgn(c->dc(), oval.get());
            }
        }
        for (const ColouredRect& b : boxes) {
            SetDCBrushColor(calls.dc(), b.colour);
            SetDCPenColor(calls.dc(), b.colour);
            Rectangle(calls.dc(), b.rect.left, b.rect.top, b.rect.right, b.rect.bottom);
        }
        EXPECT_TRUE(batchCall(batch.dc()));
        const std::string where = std::string(setting.name) + ", " + name;
        EXPECT_EQ(test::PixelsOf(calls.bitmap()), test::PixelsOf(batch.bitmap())) << where;
        EXPECT_EQ(GetDCBrushColor(calls.dc()), GetDCBrushColor(batch.dc())) << where;
        EXPECT_EQ(GetDCPenColor(calls.dc()), GetDCPenColor(batch.dc())) << where;
        for (Canvas* c : {&calls, &batch}) {
            SelectObject(c->dc(), HBRUSH(GetStockObject(WHITE_BRUSH).value));
            SelectObject(c->dc(), HPEN(GetStockObject(BLACK_PEN).value));
        }
    }
}

}  // namespace

TEST(RectanglesInDcColours, PaintAndLeaveWhatTheCallsItStandsForDo) {
    constexpr int W = 20, H = 9;
    const std::vector<ColouredRect> cases[] = {
        // shading rows, inside the sides
        {{{1, 1, 19, 2}, RGB(200, 10, 10)}, {{1, 2, 19, 3}, RGB(190, 20, 10)}, {{1, 3, 19, 4}, RGB(180, 30, 10)}},
        // one-pixel columns side by side, running off the surface on both sides
        {{{-2, 0, -1, 9}, 1}, {{-1, 0, 0, 9}, 2}, {{0, 0, 1, 9}, 3}, {{1, 0, 2, 9}, 4}, {{19, 0, 20, 9}, 5},
         {{20, 0, 21, 9}, 6}},
        // two-pixel strips touching, one given right to left, the last cut by the surface
        {{{0, 2, 2, 7}, RGB(9, 8, 7)}, {{4, 2, 2, 7}, RGB(6, 5, 4)}, {{4, 2, 6, 7}, RGB(3, 2, 1)},
         {{6, 2, 30, 7}, RGB(0, 99, 0)}},
        // strips with a gap, which must stay as it was
        {{{0, 0, 3, 9}, RGB(1, 1, 200)}, {{4, 0, 7, 9}, RGB(1, 200, 1)}},
        // strips of unequal heights
        {{{0, 0, 3, 9}, RGB(1, 1, 200)}, {{3, 1, 7, 9}, RGB(1, 200, 1)}},
        // overlapping boxes: the later one wins; empty and inverted boxes; a flag byte above the colour
        {{{2, 2, 12, 8}, RGB(50, 60, 70)}, {{5, 0, 15, 4}, 0x02000000 | RGB(70, 60, 50)}, {{8, 3, 8, 9}, 0xFF},
         {{16, 8, 11, 1}, RGB(255, 255, 255)}},
        // coordinates far past GDI's limit
        {{{-2000000000, 4, 2000000000, 5}, RGB(0, 0, 1)}, {{3, -2000000000, 4, 2000000000}, RGB(1, 0, 0)}},
        // one box
        {{{0, 0, W, H}, RGB(128, 255, 128)}},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const std::vector<ColouredRect>& boxes = cases[k];
        ExpectTheCallsOfEachBox(
            boxes, [&](HDC dc) { return RectanglesInDcColours(dc, boxes.data(), static_cast<int>(boxes.size())); },
            "case " + std::to_string(k));
    }
    const ColouredRect one{{0, 0, 1, 1}, 0};
    EXPECT_FALSE(RectanglesInDcColours(HDC{}, &one, 1));
    Canvas c(2, 2);
    EXPECT_FALSE(RectanglesInDcColours(c.dc(), nullptr, 1));
    EXPECT_TRUE(RectanglesInDcColours(c.dc(), nullptr, 0));
}

// Strips are boxes laid out by the call: strip i is first moved by i widths or heights.
TEST(StripsInDcColours, PaintAndLeaveWhatTheCallsOfEachStripDo) {
    struct Case {
        const char* name;
        RECT first;
        bool sideBySide;
        int count;
    } cases[] = {
        {"shading rows inside the sides", {1, 1, 19, 2}, false, 8},
        {"rows starting above the surface, running off its foot", {0, -3, 20, -2}, false, 14},
        {"two-pixel rows, cut at the foot", {2, 0, 17, 2}, false, 5},
        {"one-pixel columns running off both sides", {-3, 0, -2, 9}, true, 26},
        {"two-pixel columns, from off the left, cut at the right", {-3, 1, -1, 8}, true, 13},
        {"columns wholly right of the surface", {20, 0, 21, 9}, true, 4},
        {"one strip", {3, 3, 9, 6}, true, 1},
        {"an inverted first strip", {19, 1, 1, 2}, false, 4},
        {"an inverted first column", {4, 2, 2, 7}, true, 4},
        {"empty strips", {3, 3, 3, 6}, true, 5},
        {"strips past GDI's limit", {0, 2, 20, 1000000000}, false, 3},
        {"columns starting past GDI's limit", {-2000000000, 0, 0, 9}, true, 3},
        {"rows whose far end wraps int", {0, 0, 20, 100000000}, false, 30},
    };
    for (const Case& c : cases) {
        std::vector<COLORREF> colours;
        std::vector<ColouredRect> boxes;
        const std::int64_t step = c.sideBySide ? std::int64_t{c.first.right} - c.first.left
                                               : std::int64_t{c.first.bottom} - c.first.top;
        for (int i = 0; i < c.count; ++i) {
            // Distinct colours, one with a flag byte above it.
            colours.push_back(RGB(10 * i, 255 - 9 * i, (i * 37) & 0xFF) | (i == 2 ? 0x02000000 : 0));
            const auto at = [](std::int64_t v) { return static_cast<LONG>(std::clamp<std::int64_t>(v, -(1 << 30), 1 << 30)); };
            const std::int64_t dx = c.sideBySide ? step * i : 0, dy = c.sideBySide ? 0 : step * i;
            boxes.push_back({{at(c.first.left + dx), at(c.first.top + dy), at(c.first.right + dx), at(c.first.bottom + dy)},
                             colours.back()});
        }
        ExpectTheCallsOfEachBox(
            boxes, [&](HDC dc) { return StripsInDcColours(dc, c.first, c.sideBySide, colours.data(), c.count); },
            c.name);
    }
    Canvas c(2, 2);
    const COLORREF one = 0;
    EXPECT_FALSE(StripsInDcColours(HDC{}, {0, 0, 1, 1}, false, &one, 1));
    EXPECT_FALSE(StripsInDcColours(c.dc(), {0, 0, 1, 1}, false, nullptr, 1));
    EXPECT_TRUE(StripsInDcColours(c.dc(), {0, 0, 1, 1}, false, nullptr, 0));
}

// Row fills change method with the row's length and its start's alignment (short rows, wide
// stores from a boundary, the library's fill): every length and start must paint exactly its pixels.
TEST(PatBlt, EveryRowLengthAndStartPaintsExactlyItsPixels) {
    constexpr int W = 140;
    for (int left = 0; left < 4; ++left) {
        for (int n = 0; left + n <= W; ++n) {
            Canvas c(W, 1);
            HBRUSH old = static_cast<HBRUSH>(SelectObject(c.dc(), CreateSolidBrush(test::Red)));
            PatBlt(c.dc(), left, 0, n, 1, PATCOPY);
            DeleteObject(SelectObject(c.dc(), old));
            int wrong = 0;
            for (int x = 0; x < W; ++x) wrong += (c.At(x, 0) == test::Red) != (x >= left && x < left + n);
            ASSERT_EQ(wrong, 0) << "start " << left << ", length " << n;
        }
    }
}
