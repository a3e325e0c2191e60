// What only our FreeType engine does (Windows picks its fonts and smooths its text itself).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "gdi/Gdi.h"
#include "gdi/Glyph.h"
#include "gdi/TextLayout.h"

namespace {

using namespace gdi;

TEST(FontResolution, ClassicFacesMapToTheLiberationFamilies) {
    EXPECT_NE(ResolveFontFile("MS Sans Serif", FW_NORMAL, false).find("LiberationSans-Regular"), std::string::npos);
    EXPECT_NE(ResolveFontFile("Times New Roman", FW_BOLD, false).find("LiberationSerif-Bold"), std::string::npos);
    EXPECT_NE(ResolveFontFile("Times New Roman", FW_NORMAL, true).find("LiberationSerif-Italic"), std::string::npos);
    EXPECT_NE(ResolveFontFile("", FW_NORMAL, false).find("LiberationSans"), std::string::npos);
}

TEST(FreeTypeEngine, DrawsSolidInkInTheTextColourOnly) {
    const OwnedDC dc(CreateCompatibleDC(HDC{}));
    const OwnedBitmap bitmap(CreateDIBSection32(80, 30));
    LOGFONTA lf;
    lf.lfHeight = -21;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "Times New Roman");
    const OwnedFont font(CreateFontIndirectA(lf));
    const HBITMAP oldBitmap = SelectObject(dc.get(), bitmap.get());
    const HFONT oldFont = SelectObject(dc.get(), font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 0, 0));
    RECT r{2, 3, 78, 28};
    DrawTextA(dc.get(), "Sobre", -1, &r, DT_LEFT);
    const BitmapView v = GetBitmapView(bitmap.get());
    int ink = 0;
    for (int i = 0; i < v.stride * v.height; ++i) {
        EXPECT_TRUE(v.pixels32[i] == 0 || v.pixels32[i] == 0x00FF0000) << std::hex << v.pixels32[i];
        ink += v.pixels32[i] != 0 ? 1 : 0;
    }
    EXPECT_GT(ink, 0);
    SelectObject(dc.get(), oldFont);
    SelectObject(dc.get(), oldBitmap);
}

// The pixels a line's ink paints, as (row, x) pairs: from its runs, or from its places on a
// surface of the given width as the unclipped fill stores them.
std::vector<std::pair<int, int>> PixelsOfRuns(const text::LineInk& ink) {
    std::vector<std::pair<int, int>> pixels;
    for (const text::LineRun& r : ink.runs)
        for (int x = r.x0; x < r.x1; ++x) pixels.emplace_back(r.y, x);
    return pixels;
}
std::vector<std::pair<int, int>> PixelsOfPlaces(const text::LineInk& ink, int width) {
    std::vector<std::pair<int, int>> pixels;
    auto add = [&](int at, int length) {
        for (int i = at; i < at + length; ++i) pixels.emplace_back(ink.top + i / width, ink.left + i % width);
    };
    for (const auto& [list, length] : {std::pair{&ink.placed.ones, 1}, {&ink.placed.twos, 2}, {&ink.placed.threes, 3}})
        for (const std::int32_t at : *list) add(at, length);
    for (const text::PlacedRun& r : ink.placed.longRuns) {
        EXPECT_GE(r.length, 4);
        add(r.at, r.length);
    }
    std::sort(pixels.begin(), pixels.end());
    return pixels;
}

// Placed runs come in glyph order; the line's ink is by row, with touching, overlapping and
// contained runs of one row made one, and a box around all of them. Placed on a surface at
// least as wide as the box, and again on another, it paints exactly the pixels of its runs.
TEST(LineInk, MergesTheRunsOfARowAndBoxesThem) {
    using text::LineRun;
    const struct {
        const char* name;
        std::vector<LineRun> placed;
        std::vector<LineRun> runs;
        std::array<int, 4> box;  // top, bottom, left, right
    } cases[] = {
        {"none", {}, {}, {0, 0, 0, 0}},
        {"rows sorted", {{2, 0, 3}, {-4, 5, 6}, {0, 1, 2}}, {{-4, 5, 6}, {0, 1, 2}, {2, 0, 3}}, {-4, 3, 0, 6}},
        {"touching", {{1, 4, 6}, {1, 0, 4}}, {{1, 0, 6}}, {1, 2, 0, 6}},
        {"overlapping", {{1, 0, 5}, {1, 3, 8}}, {{1, 0, 8}}, {1, 2, 0, 8}},
        {"contained", {{0, 0, 9}, {0, 2, 4}, {0, 5, 7}}, {{0, 0, 9}}, {0, 1, 0, 9}},
        {"a gap stays", {{0, 6, 9}, {0, -3, 5}}, {{0, -3, 5}, {0, 6, 9}}, {0, 1, -3, 9}},
        {"widest not first", {{0, 0, 2}, {3, -1, 12}}, {{0, 0, 2}, {3, -1, 12}}, {0, 4, -1, 12}},
        {"every length", {{5, 30, 47}, {5, 0, 1}, {5, 3, 5}, {5, 7, 10}, {5, 12, 16}, {5, 18, 27}, {6, 2, 3}},
         {{5, 0, 1}, {5, 3, 5}, {5, 7, 10}, {5, 12, 16}, {5, 18, 27}, {5, 30, 47}, {6, 2, 3}},
         {5, 7, 0, 47}},
        {"an empty run paints nothing", {{1, 4, 4}, {2, 6, 8}}, {{1, 4, 4}, {2, 6, 8}}, {1, 3, 4, 8}},
    };
    for (const auto& c : cases) {
        const text::LineInk ink = text::MergeLineRuns(c.placed);
        ASSERT_EQ(ink.runs.size(), c.runs.size()) << c.name;
        for (std::size_t i = 0; i < c.runs.size(); ++i) {
            EXPECT_EQ((std::array<int, 3>{ink.runs[i].y, ink.runs[i].x0, ink.runs[i].x1}),
                      (std::array<int, 3>{c.runs[i].y, c.runs[i].x0, c.runs[i].x1}))
                << c.name << ", run " << i;
        }
        EXPECT_EQ((std::array<int, 4>{ink.top, ink.bottom, ink.left, ink.right}), c.box) << c.name;
        text::LineInk placed = ink;
        for (const int width : {ink.right - ink.left, 64, ink.right - ink.left}) {
            if (width <= 0) continue;
            ASSERT_TRUE(text::PlaceInk(placed, width)) << c.name;
            EXPECT_EQ(PixelsOfPlaces(placed, width), PixelsOfRuns(ink)) << c.name << ", " << width << " wide";
        }
    }
    // Places that would not fit 32 bits are refused, and the ink is drawn from its runs.
    text::LineInk tall = text::MergeLineRuns({{0, 0, 1}, {40000, 0, 1}});
    EXPECT_FALSE(text::PlaceInk(tall, 60000));
    EXPECT_TRUE(text::PlaceInk(tall, 50000));
}

// A text's lines are kept with the font by text, width and the format bits that shape them: each
// case differs from the one before in one of those, and every measurement, made or kept, must
// be what laying the text out afresh gives.
TEST(FreeTypeEngine, KeptLayoutsAreTheTextsOwn) {
    LOGFONTA lf;
    lf.lfHeight = -21;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "Times New Roman");
    const OwnedFont font(CreateFontIndirectA(lf));
    const OwnedDC dc(CreateCompatibleDC(HDC{}));
    const HFONT old = SelectObject(dc.get(), font.get());
    std::array<int, 256> advances{};
    for (int c = 1; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        SIZE one{};
        GetTextExtentPoint32A(dc.get(), &ch, 1, &one);
        advances[static_cast<std::size_t>(c)] = one.cx;
    }
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(dc.get(), &tm));
    // "WW " fits, "WW i" does not: left-aligned lines keep the space at the break, centred ones drop it.
    const int spaceKept = 2 * advances['W'] + advances[' '];
    const struct {
        const char* text;
        UINT format;
        int width;
    } cases[] = {
        {"Envio local (RF)", DT_WORDBREAK, 60},   {"Envio local (RF)", DT_WORDBREAK, 200},
        {"Envio local (RF)", DT_LEFT, 60},         {"Envio remoto (IP)", DT_LEFT, 60},
        {"Envio remoto (IP)", DT_WORDBREAK, 60},   {"WW i", DT_WORDBREAK, spaceKept},
        {"WW i", DT_WORDBREAK | DT_CENTER, spaceKept}, {"WW i", DT_WORDBREAK | DT_RIGHT, spaceKept},
        {"&Sair\r\ndo chat", DT_LEFT, 60},       {"&Sair\r\ndo chat", DT_NOPREFIX, 60},
        {"&Sair\r\ndo chat", DT_SINGLELINE, 60},
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (const auto& c : cases) {
            const std::vector<text::LaidLine> lines = text::LayOutText(c.text, c.format, c.width, advances);
            int widest = 0;
            for (const text::LaidLine& line : lines) widest = std::max(widest, line.width);
            RECT r{0, 0, c.width, 100};
            const int height = DrawTextA(dc.get(), c.text, -1, &r, c.format | DT_CALCRECT);
            EXPECT_EQ(height, static_cast<int>(lines.size()) * tm.tmHeight) << c.text << " " << c.format << " " << c.width;
            EXPECT_EQ(r.right, widest) << c.text << " " << c.format << " " << c.width << ", pass " << pass;
        }
    }
    SelectObject(dc.get(), old);
}

// A line is drawn from its kept ink (runs of neighbouring glyphs merged) or glyph by glyph; either
// way it must land exactly as its characters drawn one by one at their pen positions, and as the
// same line padded with spaces past the longest line whose ink is kept (drawn glyph by glyph),
// through every kind of cut, after the kept lines have been replaced, and for lines of the same
// length. "-=__" has runs of every length the unclipped fill tells apart.
TEST(FreeTypeEngine, ALineDrawsAsItsCharactersOneByOne) {
    const std::string padding(257, ' ');
    const std::string longLine(257, 'l');
    const std::vector<std::string> texts = {"Ligar o r\xe1" "dio", "Lugar o r\xe1" "dio", "WAVE fj", "Envio", "local",
                                            "(RF)",           longLine,           "Ligar o r\xe1" "dio", "i-=__"};
    struct Setting {
        const char* name;
        int bpp;
        POINT at;
        RECT clip;  // the rectangle given to DrawTextA (from the text's place), or a DC clip region
        bool region;
    };
    const Setting settings[] = {
        {"inside", 32, {4, 5}, {}, false},
        {"off the top left", 32, {-5, -6}, {}, false},
        {"cut by the rectangle", 32, {4, 5}, {4, 5, 44, 20}, false},
        {"through an ellipse", 32, {4, 5}, {0, 2, 60, 26}, true},
        {"well inside an ellipse", 32, {4, 5}, {-400, -40, 2000, 80}, true},
        {"one bit a pixel", 1, {4, 5}, {}, false},
    };
    for (const auto& [weight, italic] : {std::pair{FW_BOLD, false}, std::pair{FW_NORMAL, true}}) {
        LOGFONTA lf;
        lf.lfHeight = -21;
        lf.lfWeight = weight;
        lf.lfItalic = italic ? 1 : 0;
        std::strcpy(lf.lfFaceName, "Times New Roman");
        const OwnedFont font(CreateFontIndirectA(lf));
        const OwnedDC measuring(CreateCompatibleDC(HDC{}));
        const HFONT measuringOld = SelectObject(measuring.get(), font.get());
        for (const std::string& text : texts) {
            SIZE extent{};
            GetTextExtentPoint32A(measuring.get(), text.data(), static_cast<int>(text.size()), &extent);
            for (const Setting& s : settings) {
                const int width = extent.cx + 16, height = 32;
                auto draw = [&](bool whole, int times, const std::string& line, int surfaceWidth) {
                    const OwnedDC dc(CreateCompatibleDC(HDC{}));
                    const OwnedBitmap bitmap(s.bpp == 32 ? CreateDIBSection32(surfaceWidth, height)
                                                         : CreateBitmap(surfaceWidth, height, 1, 1, nullptr));
                    const HBITMAP oldBitmap = SelectObject(dc.get(), bitmap.get());
                    const HFONT oldFont = SelectObject(dc.get(), font.get());
                    SetBkMode(dc.get(), TRANSPARENT);
                    SetTextColor(dc.get(), RGB(255, 0, 0));
                    const bool rectClip = s.clip.right > 0 && !s.region;
                    OwnedRgn clip(s.region ? CreateEllipticRgn(s.clip.left, s.clip.top, s.clip.right, s.clip.bottom)
                                           : CreateRectRgn(s.clip.left, s.clip.top, s.clip.right, s.clip.bottom));
                    if (s.region || (rectClip && !whole)) SelectClipRgn(dc.get(), clip.get());
                    const UINT format = DT_LEFT | DT_SINGLELINE | DT_NOPREFIX;
                    for (int i = 0; i < times; ++i) {
                        if (whole) {
                            RECT r = rectClip ? s.clip : RECT{s.at.x, s.at.y, width, height};
                            DrawTextA(dc.get(), line.data(), static_cast<int>(line.size()), &r,
                                      format | (rectClip ? 0 : DT_NOCLIP));
                            continue;
                        }
                        for (std::size_t k = 0; k < text.size(); ++k) {
                            SIZE pen{};
                            GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(k), &pen);
                            RECT r{s.at.x + pen.cx, s.at.y, width, height};
                            DrawTextA(dc.get(), &text[k], 1, &r, format | DT_NOCLIP);
                        }
                    }
                    // The first width columns, whatever the surface's width.
                    const BitmapView v = GetBitmapView(bitmap.get());
                    std::vector<int> pixels;
                    for (int y = 0; y < v.height; ++y) {
                        for (int x = 0; x < width; ++x) {
                            const int i = y * v.stride + x;
                            pixels.push_back(s.bpp == 32 ? static_cast<int>(v.pixels32[i]) : v.pixels1[i]);
                        }
                    }
                    SelectObject(dc.get(), oldFont);
                    SelectObject(dc.get(), oldBitmap);
                    return pixels;
                };
                const std::pair<const char*, std::vector<int>> references[] = {
                    {"one by one", draw(false, 1, text, width)}, {"padded", draw(true, 1, text + padding, width)}};
                const struct {
                    const char* name;
                    int times;
                    int surfaceWidth;
                } passes[] = {{"made", 1, width}, {"kept", 2, width}, {"kept, on a wider surface", 1, width + 7}};
                for (const auto& pass : passes) {
                    const std::vector<int> line = draw(true, pass.times, text, pass.surfaceWidth);
                    for (const auto& [reference, expected] : references) {
                        const auto diff = std::mismatch(line.begin(), line.end(), expected.begin()).first - line.begin();
                        ASSERT_EQ(diff, static_cast<long>(line.size()))
                            << "pixel " << diff % width << "," << diff / width << " of '" << text.substr(0, 5) << "' "
                            << s.name << ", " << pass.name << (italic ? ", italic" : ", bold") << " against " << reference;
                    }
                }
            }
        }
        SelectObject(measuring.get(), measuringOld);
    }
}

}  // namespace
