#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "gdi/Gdi.h"

namespace {

using namespace gdi;

constexpr std::uint32_t kSentinel = 0x00123456;  // 0x00RRGGBB, a colour no text uses here
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr std::uint32_t kRedPixel = 0x00FF0000;

LOGFONTA Font(const char* face, int height, int weight = FW_NORMAL) {
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
    return lf;
}

// A memory DC over a 32 bpp bitmap filled with the sentinel, with a font selected.
class Canvas {
public:
    Canvas(int width, int height, const LOGFONTA& lf, int bitsPerPixel = 32)
        : dc_(CreateCompatibleDC(HDC{})),
          bitmap_(bitsPerPixel == 32 ? CreateDIBSection32(width, height) : CreateBitmap(width, height, 1, 1, nullptr)),
          font_(CreateFontIndirectA(lf)) {
        oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
        oldFont_ = SelectObject(dc_.get(), font_.get());
        SetBkMode(dc_.get(), TRANSPARENT);
        SetTextColor(dc_.get(), kRed);
        Clear();
    }
    ~Canvas() {
        SelectObject(dc_.get(), oldBitmap_);
        SelectObject(dc_.get(), oldFont_);
    }
    HDC dc() const { return dc_.get(); }
    BitmapView view() const { return GetBitmapView(bitmap_.get()); }
    void Clear() {
        const BitmapView v = view();
        for (int y = 0; y < v.height; ++y) {
            for (int x = 0; x < v.width; ++x) {
                if (v.bitsPerPixel == 32) v.pixels32[y * v.stride + x] = kSentinel;
                else v.pixels1[y * v.stride + x] = 1;
            }
        }
    }
    // The box of every pixel that is no longer the background; empty when none changed.
    RECT InkBox() const {
        const BitmapView v = view();
        RECT box{v.width, v.height, 0, 0};
        for (int y = 0; y < v.height; ++y) {
            for (int x = 0; x < v.width; ++x) {
                const bool ink = v.bitsPerPixel == 32 ? v.pixels32[y * v.stride + x] != kSentinel
                                                      : v.pixels1[y * v.stride + x] != 1;
                if (!ink) continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
        if (box.right == 0) return RECT{};
        return box;
    }
    std::uint32_t At(int x, int y) const { return view().pixels32[y * view().stride + x]; }
    std::vector<std::uint32_t> Pixels() const {
        const BitmapView v = view();
        return {v.pixels32, v.pixels32 + static_cast<std::size_t>(v.stride) * v.height};
    }

private:
    OwnedDC dc_;
    OwnedBitmap bitmap_;
    OwnedFont font_;
    HBITMAP oldBitmap_;
    HFONT oldFont_;
};

bool IsBlendOf(std::uint32_t p, std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const std::uint32_t v = p >> shift & 0xFF, x = a >> shift & 0xFF, y = b >> shift & 0xFF;
        if (v < std::min(x, y) || v > std::max(x, y)) return false;
    }
    return true;
}

SIZE Extent(HDC dc, const std::string& s) {
    SIZE size;
    EXPECT_TRUE(GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size));
    return size;
}

TEST(FontMetrics, PositiveHeightIsTheCell) {
    for (int h = 8; h <= 40; ++h) {
        Canvas cell(4, 4, Font("Times New Roman", h));
        TEXTMETRICA tm;
        ASSERT_TRUE(GetTextMetricsA(cell.dc(), &tm));
        EXPECT_NEAR(tm.tmHeight, h, 1) << "cell height " << h;
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    }
}

// Expected values recorded from Wine's gdi32 with the same font files.
TEST(FontMetrics, MatchTheReferenceForTheCaptionFonts) {
    const struct {
        const char* face;
        int height;
        int weight;
        bool italic;
        TEXTMETRICA want;
        const char* text;
        int width;
    } rows[] = {
        {"Liberation Serif", -21, FW_BOLD, false, {24, 19, 5, 2, 0, 12}, "Envio local (RF)", 149},
        {"Liberation Sans", -11, FW_NORMAL, false, {12, 10, 2, 1, 0, 6}, "Envio local (RF)", 78},
        {"Liberation Serif", -13, FW_NORMAL, true, {15, 12, 3, 1, 0, 7}, nullptr, 0},
    };
    for (const auto& row : rows) {
        LOGFONTA lf = Font(row.face, row.height, row.weight);
        lf.lfItalic = row.italic ? 1 : 0;
        Canvas c(4, 4, lf);
        TEXTMETRICA tm;
        ASSERT_TRUE(GetTextMetricsA(c.dc(), &tm));
        EXPECT_EQ(tm.tmHeight, row.want.tmHeight) << row.face << " " << row.height;
        EXPECT_EQ(tm.tmAscent, row.want.tmAscent) << row.face << " " << row.height;
        EXPECT_EQ(tm.tmDescent, row.want.tmDescent) << row.face << " " << row.height;
        EXPECT_EQ(tm.tmInternalLeading, row.want.tmInternalLeading) << row.face << " " << row.height;
        EXPECT_EQ(tm.tmAveCharWidth, row.want.tmAveCharWidth) << row.face << " " << row.height;
        if (row.text) {
            EXPECT_EQ(Extent(c.dc(), row.text).cx, row.width) << row.face << " " << row.height;
        }
    }
}

// Recorded from Wine's gdi32: CR and LF are not mapped by these fonts and take the default
// glyph's width; the empty text measures nothing, not even the font's height.
TEST(FontMetrics, LineBreaksAndTheEmptyTextMeasureAsTheReference) {
    Canvas c(4, 4, Font("Liberation Serif", -21, FW_BOLD));
    const struct {
        const char* text;
        SIZE want;
    } rows[] = {{"", {0, 0}}, {"a\rb", {31, 24}}, {"a\nb", {31, 24}}, {"\n", {8, 24}}};
    for (const auto& row : rows) {
        const SIZE got = Extent(c.dc(), row.text);
        EXPECT_EQ(got.cx, row.want.cx) << '"' << row.text << '"';
        EXPECT_EQ(got.cy, row.want.cy) << '"' << row.text << '"';
    }
}

TEST(FontMetrics, BoldIsWiderAndUnknownFacesStillDraw) {
    Canvas regular(4, 4, Font("Times New Roman", -21));
    Canvas bold(4, 4, Font("Times New Roman", -21, FW_BOLD));
    EXPECT_GT(Extent(bold.dc(), "Sobre").cx, Extent(regular.dc(), "Sobre").cx);
    Canvas unknown(4, 4, Font("No Such Face Anywhere", -13));
    EXPECT_GT(Extent(unknown.dc(), "Sobre").cx, 0);
}

TEST(FontMetrics, FaceNameWithoutTerminatorIsReadWithinItsField) {
    LOGFONTA lf = Font("", -13);
    std::memset(lf.lfFaceName, 'X', sizeof lf.lfFaceName);  // 32 bytes, no NUL
    Canvas c(4, 4, lf);
    EXPECT_GT(Extent(c.dc(), "a").cx, 0);
}

struct CalcCase {
    const char* name;
    std::string text;
    UINT format;
    int width;
    std::vector<std::string> lines;  // what each line measures as
};

class DrawTextCalcRect : public testing::TestWithParam<CalcCase> {};

TEST_P(DrawTextCalcRect, GivesGdiRectangles) {
    const CalcCase& c = GetParam();
    Canvas canvas(4, 4, Font("MS Sans Serif", -11));
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
    int widest = 0;
    for (const std::string& line : c.lines) widest = std::max<int>(widest, Extent(canvas.dc(), line).cx);
    RECT r{5, 7, 5 + c.width, 100};
    const int height = DrawTextA(canvas.dc(), c.text.c_str(), -1, &r, DT_CALCRECT | c.format);
    const int lineCount = static_cast<int>(c.lines.size());
    EXPECT_EQ(height, lineCount * tm.tmHeight);
    EXPECT_EQ(r, (RECT{5, 7, 5 + widest, 7 + lineCount * tm.tmHeight}));
    EXPECT_EQ(canvas.InkBox(), RECT{}) << "measuring must not draw";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawTextCalcRect,
    testing::Values(CalcCase{"SingleLine", "Sobre", DT_WORDBREAK, 200, {"Sobre"}},
                    CalcCase{"CrLf", "Envio local\r\n(RF)", DT_WORDBREAK, 200, {"Envio local", "(RF)"}},
                    CalcCase{"WordWrapKeepsTheBreakingSpace", "Envio remoto (IP)", DT_WORDBREAK, 45,
                             {"Envio ", "remoto ", "(IP)"}},
                    CalcCase{"CentredWrapDropsIt", "Envio remoto (IP)", DT_WORDBREAK | DT_CENTER, 45,
                             {"Envio", "remoto", "(IP)"}},
                    CalcCase{"OverLongWordWidens", "Vers\xe3o", DT_WORDBREAK, 10, {"Vers\xe3o"}},
                    CalcCase{"Prefix", "&Sair", DT_WORDBREAK, 200, {"Sair"}},
                    CalcCase{"DoubleAmpersand", "a&&b", DT_WORDBREAK, 200, {"a&b"}},
                    CalcCase{"NoPrefix", "&Sair", DT_NOPREFIX, 200, {"&Sair"}},
                    CalcCase{"CentredKeepsLeft", "ab\r\nabcdef", DT_CENTER, 200, {"ab", "abcdef"}},
                    CalcCase{"RightKeepsLeft", "abc", DT_RIGHT | DT_WORDBREAK, 200, {"abc"}}),
    [](const testing::TestParamInfo<CalcCase>& info) { return std::string(info.param.name); });

TEST(DrawText, EmptyAndZeroLengthTextFollowGdi) {
    Canvas c(4, 4, Font("MS Sans Serif", -11));
    TEXTMETRICA tm;
    GetTextMetricsA(c.dc(), &tm);
    RECT r{10, 10, 100, 100};
    EXPECT_EQ(DrawTextA(c.dc(), "", -1, &r, DT_CALCRECT), tm.tmHeight);
    EXPECT_EQ(r, (RECT{10, 10, 10, 10}));
    r = {10, 10, 100, 100};
    EXPECT_EQ(DrawTextA(c.dc(), "", -1, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(r, (RECT{10, 10, 10, 10 + tm.tmHeight}));
    r = {10, 10, 100, 100};
    EXPECT_EQ(DrawTextA(c.dc(), "abc", 0, &r, DT_CALCRECT), 0);
    EXPECT_EQ(r, (RECT{10, 10, 100, 100}));
    EXPECT_EQ(DrawTextA(c.dc(), nullptr, 5, &r, DT_CALCRECT), 0);
    EXPECT_EQ(DrawTextA(c.dc(), "abc", -1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(HDC{}, "abc", -1, &r, 0), 0);
}

TEST(DrawText, VerticalPlacementAndTheLinesItStopsAfter) {
    Canvas c(100, 41, Font("MS Sans Serif", -11));
    TEXTMETRICA tm;
    GetTextMetricsA(c.dc(), &tm);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), RGB(0, 0, 255));
    const int width = Extent(c.dc(), "Ok").cx;
    const struct {
        UINT format;
        int top;
    } rows[] = {{DT_SINGLELINE, 0}, {DT_SINGLELINE | DT_VCENTER, 41 / 2 - tm.tmHeight / 2},
                {DT_SINGLELINE | DT_BOTTOM, 41 - tm.tmHeight}, {DT_VCENTER, 0}};
    for (const auto& row : rows) {
        c.Clear();
        RECT r{0, 0, 100, 41};
        EXPECT_EQ(DrawTextA(c.dc(), "Ok", -1, &r, row.format), row.top + tm.tmHeight) << row.format;
        EXPECT_EQ(c.InkBox(), (RECT{0, row.top, width, row.top + tm.tmHeight})) << row.format;
    }
    // Clipped drawing stops after the first line that crosses the bottom; measuring never does.
    RECT r{0, 0, 100, 2 * tm.tmHeight + 1};
    EXPECT_EQ(DrawTextA(c.dc(), "a\nb\nc\nd", -1, &r, DT_LEFT), 3 * tm.tmHeight);
    EXPECT_EQ(DrawTextA(c.dc(), "a\nb\nc\nd", -1, &r, DT_LEFT | DT_NOCLIP), 4 * tm.tmHeight);
    EXPECT_EQ(DrawTextA(c.dc(), "a\nb\nc\nd", -1, &r, DT_LEFT | DT_CALCRECT), 4 * tm.tmHeight);
}

TEST(DrawText, DrawsInkOnlyInsideTheRectangleInTheTextColour) {
    Canvas c(80, 30, Font("Times New Roman", -21, FW_BOLD));
    RECT r{2, 3, 78, 28};
    const int h = DrawTextA(c.dc(), "Sobre", -1, &r, DT_LEFT | DT_WORDBREAK);
    EXPECT_GT(h, 0);
    const RECT ink = c.InkBox();
    ASSERT_NE(ink, RECT{});
    EXPECT_GE(ink.left, r.left);
    EXPECT_GE(ink.top, r.top);
    EXPECT_LE(ink.right, r.right);
    EXPECT_LE(ink.bottom, r.bottom);
    // Our engine draws solid ink; Windows smooths its edges, so each pixel lies between the
    // background and the text colour, channel by channel.
    for (std::uint32_t p : c.Pixels()) EXPECT_TRUE(IsBlendOf(p, kSentinel, kRedPixel)) << std::hex << p;
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip) {
    const char* text = "Dizo chat";
    Canvas c(100, 30, Font("MS Sans Serif", -13));
    RECT narrow{0, 0, 20, 30};
    DrawTextA(c.dc(), text, -1, &narrow, DT_LEFT);
    EXPECT_LE(c.InkBox().right, 20);
    c.Clear();
    DrawTextA(c.dc(), text, -1, &narrow, DT_LEFT | DT_NOCLIP);
    EXPECT_GT(c.InkBox().right, 20);
    c.Clear();
    RECT shallow{0, 0, 100, 6};
    DrawTextA(c.dc(), text, -1, &shallow, DT_LEFT);
    EXPECT_LE(c.InkBox().bottom, 6);
}

TEST(DrawText, RespectsTheClipRegion) {
    Canvas c(100, 30, Font("MS Sans Serif", -13));
    OwnedRgn clip(CreateRectRgn(10, 0, 30, 9));
    SelectClipRgn(c.dc(), clip.get());
    RECT r{0, 0, 100, 30};
    DrawTextA(c.dc(), "WWWWWWWW", -1, &r, DT_LEFT);
    const RECT ink = c.InkBox();
    ASSERT_NE(ink, RECT{});
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 30);
    EXPECT_LE(ink.bottom, 9);
}

// Through a clip region (here a ring: two spans on its middle rows, the caption's bold glyphs
// crossing both edges) the caption keeps exactly the unclipped caption's pixels inside the
// region and touches none outside it, on both depths.
TEST(DrawText, ThroughARegionKeepsTheUnclippedPixelsInsideIt) {
    for (int bpp : {32, 1}) {
        const LOGFONTA lf = Font("Times New Roman", -21, FW_BOLD);
        Canvas whole(145, 41, lf, bpp), clipped(145, 41, lf, bpp), untouched(145, 41, lf, bpp);
        OwnedRgn ring(CreateEllipticRgn(2, 2, 144, 40)), hole(CreateEllipticRgn(50, 12, 100, 30));
        CombineRgn(ring.get(), ring.get(), hole.get(), RGN_DIFF);
        SelectClipRgn(clipped.dc(), ring.get());
        for (Canvas* c : {&whole, &clipped}) {
            RECT r{0, 0, 145, 41};
            DrawTextA(c->dc(), "Ligar o r\xe1" "dio", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        const BitmapView w = whole.view(), k = clipped.view(), blank = untouched.view();
        int inked = 0;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 145; ++x) {
                const int i = y * w.stride + x;
                const auto at = [&](const BitmapView& v) { return bpp == 32 ? v.pixels32[i] : v.pixels1[i]; };
                const bool in = PtInRegion(ring.get(), x, y) != FALSE;
                ASSERT_EQ(at(k), in ? at(w) : at(blank)) << bpp << " bpp at " << x << "," << y;
                inked += in && at(k) != at(blank);
            }
        EXPECT_GT(inked, 100) << bpp << " bpp: the caption crosses the region";
    }
}

TEST(DrawText, AlignsEachLine) {
    Canvas c(120, 20, Font("MS Sans Serif", -13));
    const int width = Extent(c.dc(), "Ok").cx;
    struct Row {
        UINT format;
        int left;  // where the line starts
    } rows[] = {{DT_LEFT, 10}, {DT_CENTER, (10 + 110 - width) / 2}, {DT_RIGHT, 110 - width}};
    Canvas reference(120, 20, Font("MS Sans Serif", -13));
    RECT at0{0, 0, 120, 20};
    DrawTextA(reference.dc(), "Ok", -1, &at0, DT_LEFT);
    const RECT refInk = reference.InkBox();
    for (const Row& row : rows) {
        c.Clear();
        RECT r{10, 0, 110, 20};
        DrawTextA(c.dc(), "Ok", -1, &r, row.format);
        const RECT ink = c.InkBox();
        EXPECT_EQ(ink.left, refInk.left + row.left) << "format " << row.format;
        EXPECT_EQ(ink.right, refInk.right + row.left) << "format " << row.format;
    }
}

TEST(DrawText, DoubleAmpersandDrawsOneAndPrefixUnderlines) {
    Canvas a(80, 20, Font("MS Sans Serif", -13));
    Canvas b(80, 20, Font("MS Sans Serif", -13));
    RECT r{0, 0, 80, 20};
    DrawTextA(a.dc(), "a&&b", -1, &r, DT_LEFT);
    DrawTextA(b.dc(), "a&b", -1, &r, DT_LEFT | DT_NOPREFIX);
    EXPECT_EQ(a.Pixels(), b.Pixels());

    Canvas u(80, 20, Font("MS Sans Serif", -13));
    TEXTMETRICA tm;
    GetTextMetricsA(u.dc(), &tm);
    const int before = Extent(u.dc(), "x").cx;
    const int advance = Extent(u.dc(), "xS").cx - before;
    DrawTextA(u.dc(), "x&Sobre", -1, &r, DT_LEFT);
    // One row below the ascent, from the character's start to a pixel short of its end.
    const int row = tm.tmAscent + 1;
    for (int x = 0; x < 80; ++x) {
        const bool expected = x >= before && x < before + advance - 1;
        EXPECT_EQ(u.At(x, row) == kRedPixel, expected) << "x " << x;
    }
}

TEST(DrawText, OpaqueModeFillsTheTextCells) {
    Canvas c(100, 40, Font("MS Sans Serif", -13));
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), RGB(0, 0, 255));
    TEXTMETRICA tm;
    GetTextMetricsA(c.dc(), &tm);
    RECT r{3, 4, 100, 40};
    DrawTextA(c.dc(), "ab\r\nabcd", -1, &r, DT_LEFT);
    const int w1 = Extent(c.dc(), "ab").cx;
    const int w2 = Extent(c.dc(), "abcd").cx;
    EXPECT_EQ(c.InkBox(), (RECT{3, 4, 3 + w2, 4 + 2 * tm.tmHeight}));
    EXPECT_EQ(c.At(3 + w1, 4), kSentinel) << "the first line's cell ends with its text";
    EXPECT_EQ(c.At(3 + w1, 4 + tm.tmHeight), 0x000000FFu);
}

TEST(DrawText, UnderlineAndStrikeoutFontsDrawFullRows) {
    for (const bool strike : {false, true}) {
        LOGFONTA lf = Font("MS Sans Serif", -13);
        (strike ? lf.lfStrikeOut : lf.lfUnderline) = 1;
        Canvas c(100, 20, lf);
        TEXTMETRICA tm;
        GetTextMetricsA(c.dc(), &tm);
        RECT r{0, 0, 100, 20};
        DrawTextA(c.dc(), "ab cd", -1, &r, DT_LEFT);
        const int width = Extent(c.dc(), "ab cd").cx;
        int fullRows = 0;
        for (int y = 0; y < tm.tmHeight; ++y) {
            bool full = true;
            for (int x = 0; x < width; ++x) full = full && c.At(x, y) == kRedPixel;
            if (full) {
                ++fullRows;
                EXPECT_EQ(y < tm.tmAscent, strike) << "row " << y;
            }
        }
        EXPECT_GE(fullRows, 1) << (strike ? "strikeout" : "underline");
    }
}

TEST(DrawText, AccentedCharactersComeFromTheAnsiCodePage) {
    Canvas plain(40, 30, Font("Times New Roman", -21));
    Canvas accented(40, 30, Font("Times New Roman", -21));
    RECT r{0, 0, 40, 30};
    DrawTextA(plain.dc(), "a", -1, &r, DT_LEFT);
    DrawTextA(accented.dc(), Utf8ToAnsi("\u00e3").c_str(), -1, &r, DT_LEFT);
    EXPECT_LT(accented.InkBox().top, plain.InkBox().top) << "the tilde sits above the a";
    EXPECT_EQ(accented.InkBox().bottom, plain.InkBox().bottom);
}

TEST(DrawText, DrawsIntoMonochromeBitmaps) {
    Canvas c(60, 20, Font("MS Sans Serif", -13), 1);
    SetTextColor(c.dc(), RGB(0, 0, 0));
    RECT r{5, 0, 60, 20};
    DrawTextA(c.dc(), "Sobre", -1, &r, DT_LEFT);
    const RECT ink = c.InkBox();
    ASSERT_NE(ink, RECT{});
    EXPECT_GE(ink.left, 5);
}

TEST(TextOut, DrawsAtTheCellTopLeftAndMeasuresLikeDrawText) {
    Canvas a(80, 30, Font("Times New Roman", -21));
    Canvas b(80, 30, Font("Times New Roman", -21));
    EXPECT_TRUE(TextOutA(a.dc(), 4, 2, "Sair", 4));
    RECT r{4, 2, 80, 30};
    DrawTextA(b.dc(), "Sair", -1, &r, DT_LEFT | DT_NOCLIP);
    EXPECT_EQ(a.Pixels(), b.Pixels());
    EXPECT_FALSE(TextOutA(a.dc(), 0, 0, "x", -1));
    SIZE s;
    EXPECT_FALSE(GetTextExtentPoint32A(a.dc(), nullptr, 3, &s));
}

TEST(DrawText, ExtremeRectanglesNeitherOverflowNorWrap) {
    Canvas c(40, 20, Font("MS Sans Serif", -11));
    TEXTMETRICA tm;
    GetTextMetricsA(c.dc(), &tm);
    RECT wide{0, 0, INT32_MAX, 0};
    EXPECT_EQ(DrawTextA(c.dc(), "Envio remoto (IP)", -1, &wide, DT_CALCRECT | DT_WORDBREAK), tm.tmHeight);
    EXPECT_EQ(wide.right, Extent(c.dc(), "Envio remoto (IP)").cx);
    const RECT extremes[] = {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN},
                             {INT32_MAX - 5, 0, INT32_MAX, 20}};
    for (RECT r : extremes) {
        for (UINT f : {DT_CENTER | DT_WORDBREAK, DT_RIGHT | DT_SINGLELINE | DT_VCENTER, DT_CALCRECT | DT_WORDBREAK}) {
            RECT copy = r;
            DrawTextA(c.dc(), "&Sobre est\xe1", -1, &copy, f);
        }
    }
    RECT bottomEdge{0, INT32_MAX, 10, INT32_MAX};
    DrawTextA(c.dc(), "", -1, &bottomEdge, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(bottomEdge.bottom, INT32_MAX) << "saturates instead of wrapping around";
    EXPECT_TRUE(TextOutA(c.dc(), INT32_MAX, INT32_MIN, "ab", 2));
    EXPECT_EQ(c.InkBox(), RECT{});
}

TEST(TextObjects, DrawingLeavesNoObjectsBehind) {
    const ObjectCounts before = LiveObjects();
    {
        Canvas c(40, 20, Font("MS Sans Serif", -13));
        RECT r{0, 0, 40, 20};
        DrawTextA(c.dc(), "Ok", -1, &r, DT_CENTER | DT_WORDBREAK);
    }
    EXPECT_EQ(LiveObjects(), before) << ToString(LiveObjects());
}

}  // namespace
