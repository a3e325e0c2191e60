#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"

using namespace gdi;
using test::Canvas;
using test::Black;
using test::White;
using test::Red;
using test::Blue;
using test::Rows;

namespace {


void PaintMono(Canvas& c, std::initializer_list<const char*> rows) {
    int y = 0;
    for (const char* r : rows) {
        for (int x = 0; r[x]; ++x) SetPixel(c.dc(), x, y, r[x] == '1' ? White : Black);
        ++y;
    }
}

std::string MonoPicture(const Canvas& c) { return c.Picture({{Black, '0'}, {White, '1'}}); }

}  // namespace

// With P = 0xF0, S = 0xCC and D = 0xAA every input combination appears once in the low byte,
// so the result's low byte must spell out the operation index itself.
TEST(Rop3, TruthTableOfEveryOperation) {
    for (DWORD index = 0; index < 256; ++index) {
        const DWORD rop = index << 16;
        EXPECT_EQ(ApplyRop3(rop, 0xF0F0F0F0, 0xCCCCCCCC, 0xAAAAAAAA), index * 0x01010101u) << std::hex << rop;
    }
}

TEST(Rop3, NamedOperationsMatchTheirFormulas) {
    using F = std::function<std::uint32_t(std::uint32_t, std::uint32_t, std::uint32_t)>;
    const struct {
        DWORD rop;
        F f;
    } cases[] = {
        {SRCCOPY, [](auto, auto s, auto) { return s; }},
        {SRCPAINT, [](auto, auto s, auto d) { return s | d; }},
        {SRCAND, [](auto, auto s, auto d) { return s & d; }},
        {SRCINVERT, [](auto, auto s, auto d) { return s ^ d; }},
        {SRCERASE, [](auto, auto s, auto d) { return s & ~d; }},
        {NOTSRCCOPY, [](auto, auto s, auto) { return ~s; }},
        {NOTSRCERASE, [](auto, auto s, auto d) { return ~(s | d); }},
        {MERGECOPY, [](auto p, auto s, auto) { return p & s; }},
        {MERGEPAINT, [](auto, auto s, auto d) { return ~s | d; }},
        {PATCOPY, [](auto p, auto, auto) { return p; }},
        {PATPAINT, [](auto p, auto s, auto d) { return p | ~s | d; }},
        {PATINVERT, [](auto p, auto, auto d) { return p ^ d; }},
        {DSTINVERT, [](auto, auto, auto d) { return ~d; }},
        {BLACKNESS, [](auto, auto, auto) { return 0u; }},
        {WHITENESS, [](auto, auto, auto) { return ~0u; }},
        // Source selects the destination where it is 1 and the pattern where it is 0.
        {0x00B8074A, [](auto p, auto s, auto d) { return ((d ^ p) & s) ^ p; }},
        {0x00220326, [](auto, auto s, auto d) { return d & ~s; }},
    };
    const std::uint32_t samples[] = {0, 0xFFFFFFFF, 0x12345678, 0x9ABCDEF0, 0x0F0F00FF};
    for (const auto& c : cases)
        for (auto p : samples)
            for (auto s : samples)
                for (auto d : samples)
                    ASSERT_EQ(ApplyRop3(c.rop, p, s, d), static_cast<std::uint32_t>(c.f(p, s, d))) << std::hex << c.rop;
}

// A monochrome mask blitted onto colour: 0 becomes the text colour and 1 the background colour
// before the operation, so with black text and white background each bit picks per channel.
TEST(Blit, MaskOperationsPerPixel) {
    struct Case {
        DWORD rop;
        COLORREF whereZero, whereOne;
    } cases[] = {
        {0x00B8074A, Red, RGB(10, 20, 30)},   // 0: the brush, 1: the destination kept
        {0x00220326, RGB(10, 20, 30), Black},  // 0: the destination kept, 1: cleared
        {SRCAND, Black, RGB(10, 20, 30)},
        {SRCPAINT, RGB(10, 20, 30), White},
        {SRCINVERT, RGB(10, 20, 30), RGB(245, 235, 225)},
    };
    for (const Case& k : cases) {
        Canvas mask(4, 1, 1);
        PaintMono(mask, {"0110"});
        Canvas dest(4, 1, 32, RGB(10, 20, 30));
        SetTextColor(dest.dc(), Black);
        SetBkColor(dest.dc(), White);
        OwnedBrush brush(CreateSolidBrush(Red));
        HBRUSH old = SelectObject(dest.dc(), brush.get());
        ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, k.rop));
        SelectObject(dest.dc(), old);
        EXPECT_EQ(dest.At(0, 0), k.whereZero) << std::hex << k.rop;
        EXPECT_EQ(dest.At(1, 0), k.whereOne) << std::hex << k.rop;
        EXPECT_EQ(dest.At(2, 0), k.whereOne) << std::hex << k.rop;
        EXPECT_EQ(dest.At(3, 0), k.whereZero) << std::hex << k.rop;
    }
}

TEST(Blit, ColourToMonoMarksTheSourceBackgroundColour) {
    Canvas colour(4, 1, 32, Blue);
    SetPixel(colour.dc(), 1, 0, RGB(255, 0, 255));
    SetPixel(colour.dc(), 3, 0, RGB(255, 0, 255));
    SetBkColor(colour.dc(), RGB(255, 0, 255));
    Canvas mono(4, 1, 1, White);
    SetBkColor(mono.dc(), Red);  // the destination's colours play no part in this direction
    ASSERT_TRUE(BitBlt(mono.dc(), 0, 0, 4, 1, colour.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(MonoPicture(mono), "0101\n");
}

TEST(Blit, MonoToColourUsesTheDestinationTextAndBackgroundColours) {
    Canvas mono(4, 1, 1);
    PaintMono(mono, {"1001"});
    SetTextColor(mono.dc(), Blue);  // the source's colours play no part in this direction
    Canvas colour(4, 1);
    SetTextColor(colour.dc(), Red);
    SetBkColor(colour.dc(), RGB(0, 128, 0));
    ASSERT_TRUE(BitBlt(colour.dc(), 0, 0, 4, 1, mono.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(colour.Picture({{Red, 'r'}, {RGB(0, 128, 0), 'g'}}), "grrg\n");
}

TEST(Blit, StretchingAMaskDownCombinesDroppedPixelsByMode) {
    struct Case {
        int mode;
        std::string expected;
    } cases[] = {
        {BLACKONWHITE, Rows({"00", "10"})},  // the default: any black pixel survives
        {WHITEONBLACK, Rows({"11", "10"})},  // any white pixel survives
        {COLORONCOLOR, Rows({"10", "10"})},  // the last column and the first row of each run
    };
    for (const Case& k : cases) {
        Canvas src(4, 4, 1);
        PaintMono(src, {"1110", "1011", "1100", "1100"});
        Canvas dst(2, 2, 1);
        if (k.mode != BLACKONWHITE) SetStretchBltMode(dst.dc(), k.mode);
        ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 2, 2, src.dc(), 0, 0, 4, 4, SRCCOPY));
        EXPECT_EQ(MonoPicture(dst), k.expected) << k.mode;
    }
}

// Which source column each destination column shows (COLORONCOLOR), and which destination
// column a single black mask column lands in (BLACKONWHITE), for uneven factors.
TEST(Blit, StretchSamplesAtPixelCentres) {
    struct Case {
        int src, dst;
        std::vector<int> shown;
    } cases[] = {
        {8, 20, {0, 0, 0, 1, 1, 2, 2, 2, 3, 3, 4, 4, 4, 5, 5, 6, 6, 6, 7, 7}},
        {8, 13, {0, 0, 1, 2, 2, 3, 3, 4, 5, 5, 6, 7, 7}},
        {6, 9, {0, 0, 1, 2, 2, 3, 4, 4, 5}},
        {8, 5, {1, 2, 4, 5, 7}},
        {12, 7, {1, 2, 4, 6, 8, 9, 11}},
        {6, 4, {1, 2, 4, 5}},  // centres on boundaries go to the lower pixel
    };
    for (const Case& k : cases) {
        Canvas src(k.src, 1), dst(k.dst, 1);
        for (int x = 0; x < k.src; ++x) SetPixel(src.dc(), x, 0, RGB(x, 0, 0));
        SetStretchBltMode(dst.dc(), COLORONCOLOR);
        StretchBlt(dst.dc(), 0, 0, k.dst, 1, src.dc(), 0, 0, k.src, 1, SRCCOPY);
        std::vector<int> shown;
        for (int x = 0; x < k.dst; ++x) shown.push_back(GetRValue(dst.At(x, 0)));
        EXPECT_EQ(shown, k.shown) << k.src << " to " << k.dst;
        if (k.src <= k.dst) continue;
        // The runs of a shrink are what the masks combine over.
        for (int black = 0; black < k.src; ++black) {
            Canvas mask(k.src, 1, 1, White), small(k.dst, 1, 1, White);
            SetPixel(mask.dc(), black, 0, Black);
            StretchBlt(small.dc(), 0, 0, k.dst, 1, mask.dc(), 0, 0, k.src, 1, SRCCOPY);
            int landed = -1;
            for (int x = 0; x < k.dst; ++x)
                if (small.At(x, 0) == Black) landed = x;
            ASSERT_GE(landed, 0) << k.src << " to " << k.dst << " column " << black;
            // The column lands in the run whose kept (last) column is the first one at or after it.
            const auto kept = std::lower_bound(k.shown.begin(), k.shown.end(), black);
            EXPECT_EQ(landed, kept - k.shown.begin()) << k.src << " to " << k.dst << " column " << black;
        }
    }
}

TEST(Blit, UnevenStretchesNeverReadPastTheSource) {
    // Five into thirteen: the stepping arrives early at the last source pixel, which must then
    // fill the rest of the row rather than leave it untouched.
    Canvas src(5, 1);
    for (int x = 0; x < 5; ++x) SetPixel(src.dc(), x, 0, RGB(10 * x, 0, 0));
    Canvas dst(13, 1);
    StretchBlt(dst.dc(), 0, 0, 13, 1, src.dc(), 0, 0, 5, 1, SRCCOPY);
    EXPECT_EQ(dst.At(12, 0), RGB(40, 0, 0));
    for (int x = 0; x < 13; ++x) EXPECT_NE(dst.At(x, 0), test::Sentinel) << x;
}

TEST(Blit, StretchingUpRepeatsAndNegativeExtentsMirror) {
    struct Case {
        int x, w;
        std::string expected;
    } cases[] = {
        {0, 6, "rrbbgg\n"},
        {5, -6, "ggbbrr\n"},  // a negative extent covers x+w+1 .. x
    };
    for (const Case& k : cases) {
        Canvas src(3, 1);
        SetPixel(src.dc(), 0, 0, Red);
        SetPixel(src.dc(), 1, 0, Blue);
        SetPixel(src.dc(), 2, 0, RGB(0, 255, 0));
        Canvas dst(6, 1);
        StretchBlt(dst.dc(), k.x, 0, k.w, 1, src.dc(), 0, 0, 3, 1, SRCCOPY);
        EXPECT_EQ(dst.Picture({{Red, 'r'}, {Blue, 'b'}, {RGB(0, 255, 0), 'g'}}), k.expected) << k.w;
    }
}

TEST(Blit, DrawsOnlyWhereBothSourceAndClipAllow) {
    Canvas src(2, 2, 32, Red);
    Canvas dst(5, 4);
    OwnedRgn clip(CreateRectRgn(0, 1, 5, 4));
    SelectClipRgn(dst.dc(), clip.get());
    // The source is 2x2: the rest of the 4x4 request has no source and stays untouched.
    ASSERT_TRUE(BitBlt(dst.dc(), 1, 0, 4, 4, src.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(dst.Picture({{Red, 'r'}}), Rows({".....", ".rr..", ".....", "....."}));
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 2, src.dc(), 5, 5, SRCCOPY));  // nothing overlaps
    HDC screen = GetDC();
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 2, 2, screen, 0, 0, SRCCOPY));  // no pixels to read
    ReleaseDC(screen);
}

TEST(Blit, CopiesBetweenColourBitmapsTakeEachPixelFromItsSource) {
    // Whole-row blocks of bitmaps of one width are copied at once, other copies row by row:
    // cases on both sides of that line, with an offset source, cut requests and a clip.
    struct Case {
        const char* name;
        int dstW, srcW, x, y, w, h, srcX, srcY;
        bool clip;
    } cases[] = {
        {"whole face", 9, 9, 0, 0, 9, 5, 0, 0, false},
        {"rows of one width, from lower source rows", 9, 9, 0, 0, 9, 4, 0, 1, false},
        {"one width, shifted source", 9, 9, 0, 0, 9, 5, 1, 0, false},
        {"one width, shifted destination", 9, 9, 2, 1, 9, 5, 0, 0, false},
        {"narrower source", 9, 6, 0, 0, 9, 5, 0, 0, false},
        {"wider source", 6, 9, 0, 0, 9, 5, 2, 0, false},
        {"upwards and leftwards extents", 9, 9, 8, 4, -9, -5, 8, 4, false},
        {"whole face through a clip", 9, 9, 0, 0, 9, 5, 0, 0, true},
    };
    for (const Case& k : cases) {
        Canvas src(k.srcW, 5), dst(k.dstW, 5);
        auto source = [](int x, int y) { return RGB(10 + x, 20 + y, 30); };
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < k.srcW; ++x) SetPixel(src.dc(), x, y, source(x, y));
        OwnedRgn clip(CreateEllipticRgn(1, 0, 8, 5));
        if (k.clip) SelectClipRgn(dst.dc(), clip.get());
        ASSERT_TRUE(BitBlt(dst.dc(), k.x, k.y, k.w, k.h, src.dc(), k.srcX, k.srcY, SRCCOPY)) << k.name;
        const int left = k.w < 0 ? k.x + k.w + 1 : k.x, top = k.h < 0 ? k.y + k.h + 1 : k.y;
        const int sl = k.w < 0 ? k.srcX + k.w + 1 : k.srcX, st = k.h < 0 ? k.srcY + k.h + 1 : k.srcY;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < k.dstW; ++x) {
                const int sx = x - left + sl, sy = y - top + st;
                const bool copied = x >= left && x < left + std::abs(k.w) && y >= top && y < top + std::abs(k.h) &&
                                    sx >= 0 && sx < k.srcW && sy >= 0 && sy < 5 &&
                                    (!k.clip || PtInRegion(clip.get(), x, y));
                EXPECT_EQ(dst.At(x, y), copied ? source(sx, sy) : test::Sentinel) << k.name << " at " << x << "," << y;
            }
    }
}

TEST(Blit, OverlappingMovesWithinOneBitmap) {
    struct Case {
        int x, srcX;
        std::string expected;
    } cases[] = {{1, 0, "rrgb\n"}, {0, 1, "gbbb\n"}};
    for (const Case& k : cases) {
        Canvas c(4, 1);
        SetPixel(c.dc(), 0, 0, Red);
        SetPixel(c.dc(), 1, 0, RGB(0, 255, 0));
        SetPixel(c.dc(), 2, 0, Blue);
        SetPixel(c.dc(), 3, 0, Blue);
        BitBlt(c.dc(), k.x, 0, 3, 1, c.dc(), k.srcX, 0, SRCCOPY);
        EXPECT_EQ(c.Picture({{Red, 'r'}, {Blue, 'b'}, {RGB(0, 255, 0), 'g'}}), k.expected);
    }
}

TEST(PatBlt, OperationsBrushesAndExtents) {
    struct Case {
        int bpp;
        DWORD rop;
        int x, w;
        bool nullBrush;
        COLORREF expected;
    } cases[] = {
        {32, PATCOPY, 1, 2, false, Red},
        {32, BLACKNESS, 1, 2, false, Black},
        {32, WHITENESS, 1, 2, false, White},
        {32, PATINVERT, 1, 2, false, RGB(255 ^ 1, 2, 3)},
        {32, DSTINVERT, 1, 2, false, RGB(254, 253, 252)},
        {32, PATCOPY, 2, -2, false, Red},  // negative extents cover x+w+1 .. x
        {32, PATCOPY, 1, 2, true, test::Sentinel},
        {1, WHITENESS, 1, 2, false, White},
        {1, PATCOPY, 1, 2, false, Black},  // red is not the background (white): black
    };
    for (const Case& k : cases) {
        Canvas c(4, 1, k.bpp, k.bpp == 1 ? White : test::Sentinel);
        if (k.bpp == 1) PatBlt(c.dc(), 0, 0, 4, 1, BLACKNESS), PatBlt(c.dc(), 1, 0, 2, 1, WHITENESS);
        HBRUSH brush = k.nullBrush ? HBRUSH(GetStockObject(NULL_BRUSH).value) : CreateSolidBrush(Red);
        HBRUSH old = SelectObject(c.dc(), brush);
        if (k.bpp == 1 && k.rop == WHITENESS) PatBlt(c.dc(), 0, 0, 4, 1, BLACKNESS);
        ASSERT_TRUE(PatBlt(c.dc(), k.x, 0, k.w, 1, k.rop));
        SelectObject(c.dc(), old);
        DeleteObject(brush);
        EXPECT_EQ(c.At(1, 0), k.expected) << std::hex << k.rop << " bpp " << k.bpp;
        EXPECT_EQ(c.At(2, 0), k.expected) << std::hex << k.rop << " bpp " << k.bpp;
        if (k.bpp == 32) {
            EXPECT_EQ(c.At(0, 0), test::Sentinel);
            EXPECT_EQ(c.At(3, 0), test::Sentinel);
        }
    }
    Canvas c(2, 1);
    EXPECT_FALSE(PatBlt(c.dc(), 0, 0, 1, 1, SRCCOPY));
}
