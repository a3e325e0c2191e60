#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"

using namespace gdi;

TEST(Dc, MemoryDcDefaults) {
    OwnedDC dc(CreateCompatibleDC(HDC{}));
    EXPECT_EQ(HGDIOBJ(GetCurrentPen(dc.get())), GetStockObject(BLACK_PEN));
    EXPECT_EQ(HGDIOBJ(GetCurrentBrush(dc.get())), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(HGDIOBJ(GetCurrentFont(dc.get())), GetStockObject(SYSTEM_FONT));
    BITMAP bm;
    ASSERT_TRUE(GetObjectA(GetCurrentBitmap(dc.get()), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(GetBkMode(dc.get()), OPAQUE);
    EXPECT_EQ(GetBkColor(dc.get()), RGB(255, 255, 255));
    EXPECT_EQ(GetTextColor(dc.get()), RGB(0, 0, 0));
    EXPECT_EQ(GetMapMode(dc.get()), MM_TEXT);
    EXPECT_EQ(GetStretchBltMode(dc.get()), BLACKONWHITE);
    EXPECT_EQ(GetClipRgn(dc.get(), OwnedRgn(CreateRectRgn(0, 0, 0, 0)).get()), 0);
}

TEST(Dc, SettersReturnThePreviousValueAndRefuseBadOnes) {
    OwnedDC dc(CreateCompatibleDC(HDC{}));
    HDC h = dc.get();
    EXPECT_EQ(SetBkMode(h, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(h, 7), 0);
    EXPECT_EQ(GetBkMode(h), TRANSPARENT);
    EXPECT_EQ(SetBkColor(h, RGB(1, 2, 3)), RGB(255, 255, 255));
    EXPECT_EQ(SetTextColor(h, RGB(4, 5, 6)), RGB(0, 0, 0));
    EXPECT_EQ(GetTextColor(h), RGB(4, 5, 6));
    EXPECT_EQ(SetMapMode(h, 2), 0);
    EXPECT_EQ(SetMapMode(h, MM_TEXT), MM_TEXT);
    EXPECT_EQ(SetStretchBltMode(h, COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(SetStretchBltMode(h, 9), 0);
    EXPECT_EQ(GetStretchBltMode(h), COLORONCOLOR);
    // A dead DC answers with the documented failure values.
    HDC dead = CreateCompatibleDC(HDC{});
    DeleteDC(dead);
    EXPECT_EQ(SetBkColor(dead, 0), CLR_INVALID);
    EXPECT_EQ(GetTextColor(dead), CLR_INVALID);
    EXPECT_EQ(GetBkMode(dead), 0);
    EXPECT_FALSE(CreateCompatibleDC(dead));
}

// Memory DCs answer for the screen too; a size that is not positive both ways is refused.
TEST(Dc, TheHostGivesTheScreenSize) {
    OwnedDC mem(CreateCompatibleDC(HDC{}));
    EXPECT_TRUE(SetScreenSize({1920, 1080}));
    for (const ScreenSize refused : {ScreenSize{0, 600}, ScreenSize{800, 0}, ScreenSize{-1920, 1080}}) {
        EXPECT_FALSE(SetScreenSize(refused));
    }
    EXPECT_EQ(GetDeviceCaps(mem.get(), HORZRES), 1920);
    EXPECT_EQ(GetDeviceCaps(mem.get(), VERTRES), 1080);
    SetScreenSize({});
    EXPECT_EQ(GetDeviceCaps(mem.get(), VERTRES), 768);
}

TEST(Dc, TheHostGivesTheScreenDpi) {
    OwnedDC mem(CreateCompatibleDC(HDC{}));
    EXPECT_TRUE(SetScreenDpi(144));
    EXPECT_FALSE(SetScreenDpi(0));
    EXPECT_FALSE(SetScreenDpi(-96));
    EXPECT_EQ(GetDeviceCaps(mem.get(), LOGPIXELSX), 144);
    EXPECT_EQ(GetDeviceCaps(mem.get(), LOGPIXELSY), 144);
    SetScreenDpi(96);
}

TEST(Dc, ScreenDcDescribesTheScreenAndDiscardsDrawing) {
    HDC screen = GetDC();
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1024);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 768);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_TRUE(Rectangle(screen, 0, 0, 10, 10));
    EXPECT_TRUE(PatBlt(screen, 0, 0, 10, 10, BLACKNESS));
    EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 2, 2);
    EXPECT_FALSE(SelectObject(screen, bmp));  // only memory DCs hold bitmaps
    DeleteObject(bmp);
    EXPECT_EQ(ReleaseDC(screen), 1);
    OwnedDC mem(CreateCompatibleDC(HDC{}));
    EXPECT_EQ(ReleaseDC(mem.get()), 0);
}

TEST(Dc, SelectingThroughTheGenericHandleDispatchesByKind) {
    test::Canvas c(4, 4);
    OwnedBrush brush(CreateSolidBrush(RGB(10, 20, 30)));
    const HGDIOBJ old = SelectObject(c.dc(), HGDIOBJ(brush.get()));
    EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentBrush(c.dc()), brush.get());
    OwnedRgn rgn(CreateRectRgn(0, 0, 2, 2));
    EXPECT_EQ(SelectObject(c.dc(), HGDIOBJ(rgn.get())).value, static_cast<std::uint32_t>(SIMPLEREGION));
    EXPECT_FALSE(SelectObject(HDC{}, HGDIOBJ(rgn.get())));
    EXPECT_FALSE(SelectObject(HDC{}, HGDIOBJ(brush.get())));
    EXPECT_FALSE(SelectObject(c.dc(), HGDIOBJ{}));
    SelectObject(c.dc(), old);
}

TEST(Dc, GenericAndTypedSelectionsLeaveTheSameDc) {
    // The generic call looks the handle up once for its kind and then selects as the typed call
    // does: the same answer, the same current objects and the same drawing afterwards.
    OwnedPen pen(CreatePen(PS_SOLID, 1, test::Blue));
    OwnedBrush brush(CreateSolidBrush(test::Red));
    OwnedFont font(CreateFontIndirectA(LOGFONTA{}));
    OwnedBitmap bitmap(CreateBitmap(5, 4, 1, 32, nullptr));
    OwnedBitmap inOtherDc(CreateBitmap(2, 2, 1, 32, nullptr));
    test::Canvas other(1, 1);
    const HBITMAP otherOwn = SelectObject(other.dc(), inOtherDc.get());
    OwnedPen stale(CreatePen(PS_SOLID, 1, 0));
    const HGDIOBJ staleValue(stale.get());
    stale.reset();
    const struct Case {
        const char* name;
        HGDIOBJ h;
    } cases[] = {
        {"pen", HGDIOBJ(pen.get())},
        {"brush", HGDIOBJ(brush.get())},
        {"font", HGDIOBJ(font.get())},
        {"bitmap", HGDIOBJ(bitmap.get())},
        {"DC pen", GetStockObject(DC_PEN)},
        {"DC brush", GetStockObject(DC_BRUSH)},
        {"null brush", GetStockObject(NULL_BRUSH)},
        {"bitmap of another DC", HGDIOBJ(inOtherDc.get())},
        {"stale pen", staleValue},
        {"a DC", HGDIOBJ(other.dc())},
    };
    struct Outcome {
        HGDIOBJ returned;
        HPEN pen;
        HBRUSH brush;
        HFONT font;
        HBITMAP bitmap;
        std::vector<std::uint32_t> pixels;
        bool operator==(const Outcome&) const = default;
    };
    // Selects h into c's DC by either call, draws with what is then selected, and puts back.
    auto run = [](test::Canvas& c, HGDIOBJ h, bool generic) {
        c.Fill(test::Sentinel);
        test::FillPixels(HBITMAP(h.value), test::Sentinel);
        HGDIOBJ returned;
        if (generic) {
            returned = SelectObject(c.dc(), h);
        } else {
            switch (GetObjectType(h)) {
                case ObjectKind::Pen: returned = HGDIOBJ(SelectObject(c.dc(), HPEN(h.value))); break;
                case ObjectKind::Brush: returned = HGDIOBJ(SelectObject(c.dc(), HBRUSH(h.value))); break;
                case ObjectKind::Font: returned = HGDIOBJ(SelectObject(c.dc(), HFONT(h.value))); break;
                case ObjectKind::Bitmap: returned = HGDIOBJ(SelectObject(c.dc(), HBITMAP(h.value))); break;
                default: break;
            }
        }
        Rectangle(c.dc(), 0, 0, 4, 3);
        Outcome o{returned, GetCurrentPen(c.dc()), GetCurrentBrush(c.dc()), GetCurrentFont(c.dc()),
                  GetCurrentBitmap(c.dc()), test::PixelsOf(GetCurrentBitmap(c.dc()))};
        SelectObject(c.dc(), returned);
        return o;
    };
    for (const Case& k : cases) {
        test::Canvas c(5, 4);
        SetDCPenColor(c.dc(), test::Red);
        SetDCBrushColor(c.dc(), test::Blue);
        const Outcome typed = run(c, k.h, false);
        EXPECT_TRUE(typed == run(c, k.h, true)) << k.name;
    }
    SelectObject(other.dc(), otherOwn);
}

TEST(Dc, ClipRegionIsACopyAndLimitsDrawing) {
    test::Canvas c(6, 4);
    HRGN clip = CreateRectRgn(1, 1, 4, 3);
    ASSERT_EQ(SelectClipRgn(c.dc(), clip), SIMPLEREGION);
    DeleteObject(clip);  // the DC keeps its own copy
    OwnedRgn back(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetClipRgn(c.dc(), back.get()), 1);
    RECT box;
    EXPECT_EQ(GetRgnBox(back.get(), &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{1, 1, 4, 3}));
    PatBlt(c.dc(), 0, 0, 6, 4, BLACKNESS);
    EXPECT_EQ(SetPixel(c.dc(), 0, 0, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(c.Picture({{RGB(0, 0, 0), '#'}}), test::Rows({
                                                     "......",
                                                     ".###..",
                                                     ".###..",
                                                     "......",
                                                 }));
    EXPECT_EQ(SelectClipRgn(c.dc(), HRGN{}), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(c.dc(), back.get()), 0);
    EXPECT_EQ(GetClipRgn(c.dc(), HRGN{}), -1);
}

TEST(Dc, DcBrushAndPenPaintWithTheColoursOfTheirOwnDc) {
    test::Canvas a(4, 3), b(4, 3);
    for (HDC dc : {a.dc(), b.dc()}) {
        EXPECT_EQ(GetDCBrushColor(dc), test::White);
        EXPECT_EQ(GetDCPenColor(dc), test::Black);
        SelectObject(dc, GetStockObject(DC_BRUSH));
        SelectObject(dc, GetStockObject(DC_PEN));
    }
    EXPECT_EQ(SetDCBrushColor(a.dc(), test::Red), test::White);
    EXPECT_EQ(SetDCPenColor(a.dc(), test::Blue), test::Black);
    SetDCBrushColor(b.dc(), test::Blue);
    // A colour set after the selection still counts: the DC's brush is read when drawing.
    Rectangle(a.dc(), 0, 0, 4, 3);
    const RECT row{0, 1, 4, 2};
    FillRect(b.dc(), row, HBRUSH(GetStockObject(DC_BRUSH).value));
    EXPECT_EQ(a.Picture({{test::Red, 'r'}, {test::Blue, 'b'}}), "bbbb\nbrrb\nbbbb\n");
    EXPECT_EQ(b.Picture({{test::Blue, 'b'}}), "....\nbbbb\n....\n");
    EXPECT_EQ(SetDCBrushColor(HDC{}, test::Red), CLR_INVALID);
}
