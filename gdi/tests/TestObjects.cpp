#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"

using namespace gdi;

TEST(Objects, CreateSelectDeleteLoopsKeepCountsConstant) {
    const ObjectCounts before = LiveObjects();
    HDC dc = CreateCompatibleDC(HDC{});
    const ObjectCounts withDc = LiveObjects();
    for (int i = 0; i < 1000; ++i) {
        HPEN pen = CreatePen(PS_SOLID, 1 + i % 3, RGB(i, 0, 0));
        HBRUSH brush = CreateSolidBrush(RGB(0, i, 0));
        HFONT font = CreateFontIndirectA(LOGFONTA{});
        HBITMAP bmp = CreateCompatibleBitmap(dc, 4, 4);
        HRGN rgn = CreateRectRgn(0, 0, i % 7, 3);
        HPEN oldPen = SelectObject(dc, pen);
        HBRUSH oldBrush = SelectObject(dc, brush);
        HFONT oldFont = SelectObject(dc, font);
        HBITMAP oldBmp = SelectObject(dc, bmp);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBmp);
        ASSERT_TRUE(DeleteObject(pen) && DeleteObject(brush) && DeleteObject(font) && DeleteObject(bmp) &&
                    DeleteObject(rgn));
    }
    EXPECT_EQ(LiveObjects(), withDc) << ToString(LiveObjects());
    DeleteDC(dc);
    EXPECT_EQ(LiveObjects(), before) << ToString(LiveObjects());
}

TEST(Objects, StaleHandlesAreRejectedEvenAfterSlotReuse) {
    HPEN first = CreatePen(PS_SOLID, 1, 0);
    ASSERT_TRUE(DeleteObject(first));
    std::set<std::uint32_t> seen;
    // Reuse freed slots many times; the deleted handle must not come back to life. A handle holds
    // 12 bits of generation, so in a process with a single free slot (this test run on its own)
    // the value can recur only after 4096 reuses of that slot; stay just inside that cycle.
    for (int i = 0; i < 4095; ++i) {
        HPEN p = CreatePen(PS_SOLID, 1, 0);
        EXPECT_NE(p, first);
        seen.insert(p.value);
        DeleteObject(p);
    }
    EXPECT_GT(seen.size(), 1u);
    EXPECT_EQ(GetObjectType(HGDIOBJ(first)), ObjectKind::None);
    EXPECT_FALSE(DeleteObject(first));
    HDC dc = CreateCompatibleDC(HDC{});
    EXPECT_FALSE(SelectObject(dc, first));
    DeleteDC(dc);
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(Objects, AFreedSlotAnswersToNoHandleUntilItIsReused) {
    // A freed pen or brush stays in its slot for the next one, and the DC drawn on last is
    // remembered; neither the deleted handle nor the one its slot gives next may reach them.
    HDC dc = CreateCompatibleDC(HDC{});
    enum Kind { Pen, Brush, Dc };
    for (const Kind kind : {Pen, Brush, Dc}) {
        std::uint32_t value = 0;
        if (kind == Pen) value = CreatePen(PS_SOLID, 1, RGB(1, 2, 3)).value;
        if (kind == Brush) value = CreateSolidBrush(RGB(1, 2, 3)).value;
        if (kind == Dc) {
            value = CreateCompatibleDC(HDC{}).value;
            SetBkMode(HDC(value), TRANSPARENT);  // the DC drawn on last
            ASSERT_TRUE(DeleteDC(HDC(value)));
        } else {
            ASSERT_TRUE(DeleteObject(HGDIOBJ(HPEN(value))));
        }
        constexpr std::uint32_t OneGeneration = 1u << 20;
        for (const std::uint32_t v : {value, value + OneGeneration}) {
            // The DC calls first, while no other DC has been looked up since the deletion.
            EXPECT_EQ(SetBkMode(HDC(v), OPAQUE), 0) << kind << " " << v;
            EXPECT_FALSE(DeleteDC(HDC(v)));
            EXPECT_EQ(GetObjectType(HGDIOBJ(HPEN(v))), ObjectKind::None) << kind << " " << v;
            EXPECT_FALSE(SelectObject(dc, HPEN(v)));
            EXPECT_FALSE(SelectObject(dc, HBRUSH(v)));
            EXPECT_FALSE(SelectObject(dc, HGDIOBJ(HPEN(v))));
            EXPECT_FALSE(DeleteObject(HPEN(v)));
            EXPECT_FALSE(DeleteObject(HBRUSH(v)));
        }
    }
    DeleteDC(dc);
}

namespace {

// Pens and brushes live in the slot itself and the other kinds beside it: a slot reused by another
// kind must answer as that kind only, with its own contents.
enum class Made { Pen, Brush, Bitmap, Font, Dc };
constexpr COLORREF kMadeColour = RGB(10, 20, 30);

std::uint32_t Make(Made k) {
    switch (k) {
        case Made::Pen: return CreatePen(PS_SOLID, 1, kMadeColour).value;
        case Made::Brush: return CreateSolidBrush(kMadeColour).value;
        case Made::Bitmap: return CreateBitmap(3, 2, 1, 32, nullptr).value;
        case Made::Font: {
            LOGFONTA lf{};
            lf.lfHeight = -17;
            return CreateFontIndirectA(lf).value;
        }
        case Made::Dc: return CreateCompatibleDC(HDC{}).value;
    }
    return 0;
}

void Destroy(Made k, std::uint32_t v) {
    if (k == Made::Dc)
        ASSERT_TRUE(DeleteDC(HDC(v)));
    else
        ASSERT_TRUE(DeleteObject(HGDIOBJ(HPEN(v))));
}

// Checks that v is a live object of kind k with the contents Make gave it, refused as any other kind.
void ExpectMadeAs(Made k, std::uint32_t v) {
    static constexpr ObjectKind kinds[] = {ObjectKind::Pen, ObjectKind::Brush, ObjectKind::Bitmap, ObjectKind::Font,
                                           ObjectKind::Dc};
    EXPECT_EQ(GetObjectType(HGDIOBJ(HPEN(v))), kinds[static_cast<int>(k)]);
    BITMAP bm{};
    LOGFONTA lf{};
    EXPECT_EQ(GetObjectA(HBITMAP(v), sizeof bm, &bm) != 0, k == Made::Bitmap);
    EXPECT_EQ(GetObjectA(HFONT(v), sizeof lf, &lf) != 0, k == Made::Font);
    EXPECT_EQ(SetBkMode(HDC(v), OPAQUE) != 0, k == Made::Dc);
    if (k == Made::Bitmap) {
        EXPECT_EQ(bm.bmWidth * 10 + bm.bmHeight, 32);
    }
    if (k == Made::Font) {
        EXPECT_EQ(lf.lfHeight, -17);
    }
    test::Canvas canvas(2, 1);
    const HPEN pen = SelectObject(canvas.dc(), HPEN(v));
    const HBRUSH brush = SelectObject(canvas.dc(), HBRUSH(v));
    EXPECT_EQ(bool(pen), k == Made::Pen);
    EXPECT_EQ(bool(brush), k == Made::Brush);
    if (k == Made::Pen) {
        const POINT line[2] = {{0, 0}, {1, 0}};
        Polyline(canvas.dc(), line, 2);
        EXPECT_EQ(canvas.At(0, 0), kMadeColour);
        SelectObject(canvas.dc(), pen);
    }
    if (k == Made::Brush) {
        FillRect(canvas.dc(), RECT{1, 0, 2, 1}, HBRUSH(v));
        EXPECT_EQ(canvas.At(1, 0), kMadeColour);
        SelectObject(canvas.dc(), brush);
    }
}

}  // namespace

TEST(Objects, ASlotFreedByOneKindServesAnyKindNext) {
    constexpr Made all[] = {Made::Pen, Made::Brush, Made::Bitmap, Made::Font, Made::Dc};
    const ObjectCounts before = LiveObjects();
    for (const Made freed : all)
        for (const Made next : all) {
            const std::uint32_t old = Make(freed);
            Destroy(freed, old);
            // Free slots come back first in, first out: make objects until one takes the slot.
            std::vector<std::uint32_t> made;
            constexpr std::uint32_t IndexMask = (1u << 20) - 1;
            while (made.size() < 100000 && (made.empty() || (made.back() & IndexMask) != (old & IndexMask)))
                made.push_back(Make(next));
            ASSERT_EQ(made.back() & IndexMask, old & IndexMask) << int(freed) << " " << int(next);
            SCOPED_TRACE(testing::Message() << "freed " << int(freed) << ", next " << int(next));
            ExpectMadeAs(next, made.back());
            EXPECT_EQ(GetObjectType(HGDIOBJ(HPEN(old))), ObjectKind::None);
            for (const std::uint32_t v : made) Destroy(next, v);
        }
    EXPECT_EQ(LiveObjects(), before) << ToString(LiveObjects());
}

TEST(Objects, ValuesNeverHandedOutFindNothing) {
    // The null handle with any generation, the last index (never given), indices past the table.
    HDC dc = CreateCompatibleDC(HDC{});
    for (const std::uint32_t v : {0u, 1u << 20, 0xFFF00000u, 0x000FFFFFu, 0xFFFFFFFFu, 0x0007FFFFu, 200000u}) {
        EXPECT_EQ(GetObjectType(HGDIOBJ(HPEN(v))), ObjectKind::None) << v;
        EXPECT_EQ(SetBkMode(HDC(v), OPAQUE), 0) << v;
        EXPECT_FALSE(SelectObject(dc, HGDIOBJ(HPEN(v)))) << v;
        EXPECT_FALSE(SelectObject(dc, HPEN(v))) << v;
        EXPECT_FALSE(DeleteObject(HBRUSH(v))) << v;
        EXPECT_FALSE(DeleteObject(HGDIOBJ(HPEN(v)))) << v;
    }
    DeleteDC(dc);
}

TEST(Objects, KindsAreCheckedOnEveryCall) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const HGDIOBJ any(brush);
    EXPECT_EQ(GetObjectType(any), ObjectKind::Brush);
    EXPECT_EQ(HandleCast<HBRUSH>(any), brush);
    EXPECT_FALSE(HandleCast<HPEN>(any));
    // The same slot value passed as another kind is refused.
    EXPECT_FALSE(DeleteObject(HPEN(brush.value)));
    EXPECT_EQ(GetObjectType(any), ObjectKind::Brush);
    EXPECT_TRUE(DestroyHandle(any));
    EXPECT_EQ(GetObjectType(any), ObjectKind::None);
    EXPECT_FALSE(DestroyHandle(HGDIOBJ{}));
}

TEST(Objects, StockObjectsSurviveDeletionAndAreNotCounted) {
    const ObjectCounts before = LiveObjects();
    for (int index : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN,
                      BLACK_PEN, NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT}) {
        const HGDIOBJ h = GetStockObject(index);
        ASSERT_TRUE(h) << index;
        EXPECT_TRUE(DeleteObject(h));
        EXPECT_NE(GetObjectType(h), ObjectKind::None) << index;
    }
    EXPECT_FALSE(GetStockObject(9));
    EXPECT_FALSE(GetStockObject(-1));
    EXPECT_EQ(LiveObjects(), before);
}

TEST(Objects, DeletingASelectedObjectWaitsForItsDeselection) {
    const ObjectCounts before = LiveObjects();
    HDC dc = CreateCompatibleDC(HDC{});
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    HPEN stock = SelectObject(dc, pen);
    EXPECT_TRUE(DeleteObject(pen));
    // Still usable while selected: drawing must not touch freed memory.
    EXPECT_EQ(GetCurrentPen(dc), pen);
    EXPECT_EQ(GetObjectType(HGDIOBJ(pen)), ObjectKind::Pen);
    // The selection that frees it still answers with it, through either call.
    EXPECT_EQ(SelectObject(dc, stock), pen);
    EXPECT_EQ(GetObjectType(HGDIOBJ(pen)), ObjectKind::None);
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    const HGDIOBJ stockBrush(SelectObject(dc, brush));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(SelectObject(dc, stockBrush), HGDIOBJ(brush));
    EXPECT_EQ(GetObjectType(HGDIOBJ(brush)), ObjectKind::None);

    HBITMAP bmp = CreateCompatibleBitmap(dc, 2, 2);
    SelectObject(dc, bmp);
    EXPECT_TRUE(DeleteObject(bmp));
    DeleteDC(dc);  // ends the selection, so the bitmap goes too
    EXPECT_EQ(GetObjectType(HGDIOBJ(bmp)), ObjectKind::None);
    EXPECT_EQ(LiveObjects(), before) << ToString(LiveObjects());
}

TEST(Objects, BitmapLivesInOneDcAtATime) {
    HDC a = CreateCompatibleDC(HDC{});
    HDC b = CreateCompatibleDC(HDC{});
    HBITMAP bmp = CreateBitmap(3, 3, 1, 32, nullptr);
    HBITMAP oldA = SelectObject(a, bmp);
    EXPECT_TRUE(oldA);
    EXPECT_FALSE(SelectObject(b, bmp));
    EXPECT_EQ(SelectObject(a, bmp), bmp);  // reselecting into its own DC is fine
    SelectObject(a, oldA);
    EXPECT_TRUE(SelectObject(b, bmp));
    DeleteDC(a);
    DeleteDC(b);
    DeleteObject(bmp);
}

TEST(Objects, CompatibleBitmapTakesTheDepthOfTheDc) {
    HDC screen = GetDC();
    HDC mem = CreateCompatibleDC(screen);
    struct Case {
        HDC dc;
        int bpp;
    };
    HBITMAP fromScreen = CreateCompatibleBitmap(screen, 5, 3);
    HBITMAP fromFreshMem = CreateCompatibleBitmap(mem, 5, 3);  // the 1x1 mono bitmap is selected
    HBITMAP old = SelectObject(mem, fromScreen);
    HBITMAP fromColourMem = CreateCompatibleBitmap(mem, 5, 3);
    for (auto [h, bpp] : {std::pair{fromScreen, 32}, std::pair{fromFreshMem, 1}, std::pair{fromColourMem, 32}}) {
        BITMAP bm;
        ASSERT_EQ(GetObjectA(h, sizeof bm, &bm), static_cast<int>(sizeof(BITMAP)));
        EXPECT_EQ(bm.bmBitsPixel, bpp);
        EXPECT_EQ(bm.bmWidth, 5);
        EXPECT_EQ(bm.bmHeight, 3);
        EXPECT_EQ(bm.bmPlanes, 1);
        EXPECT_EQ(bm.bmWidthBytes, bpp == 1 ? 2 : 20);
        EXPECT_EQ(bm.bmBits, nullptr);
    }
    SelectObject(mem, old);
    for (HBITMAP h : {fromScreen, fromFreshMem, fromColourMem}) DeleteObject(h);
    DeleteDC(mem);
    ReleaseDC(screen);
}

TEST(Objects, BitmapCreationEdgeCases) {
    struct Case {
        int w, h;
        UINT planes, bpp;
        bool ok;
    } cases[] = {
        {4, 4, 1, 1, true},   {4, 4, 1, 32, true},  {4, 4, 2, 1, false},
        {4, 4, 1, 8, false},  {-1, 4, 1, 32, false}, {100000, 100000, 1, 32, false},
    };
    for (const Case& c : cases) {
        HBITMAP h = CreateBitmap(c.w, c.h, c.planes, c.bpp, nullptr);
        EXPECT_EQ(static_cast<bool>(h), c.ok) << c.w << "x" << c.h << " bpp " << c.bpp;
        DeleteObject(h);
    }
    // An empty size gives the shared 1x1 monochrome bitmap, which deleting leaves alone.
    HBITMAP empty = CreateBitmap(0, 5, 1, 32, nullptr);
    BITMAP bm;
    ASSERT_TRUE(GetObjectA(empty, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_TRUE(DeleteObject(empty));
    EXPECT_EQ(GetObjectType(HGDIOBJ(empty)), ObjectKind::Bitmap);
}

TEST(Objects, MonochromeBitsAreReadFromWordPaddedRows) {
    // 10 pixels wide: two bytes a row, MSB first.
    const unsigned char bits[] = {0b10100000, 0b01000000, 0b00000000, 0b11000000};
    HBITMAP h = CreateBitmap(10, 2, 1, 1, bits);
    const BitmapView v = GetBitmapView(h);
    ASSERT_EQ(v.bitsPerPixel, 1);
    std::string rows;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x) rows += v.pixels1[y * v.stride + x] ? '1' : '0';
    EXPECT_EQ(rows, "1010000001" "0000000011");
    DeleteObject(h);
}

TEST(Objects, DibSectionReportsItsBitsAndFontKeepsItsLogfont) {
    HBITMAP dib = CreateDIBSection32(3, 2);
    BITMAP bm;
    ASSERT_TRUE(GetObjectA(HGDIOBJ(dib), sizeof bm, &bm));
    EXPECT_EQ(bm.bmBits, GetBitmapView(dib).pixels32);
    EXPECT_EQ(GetObjectA(dib, 4, &bm), 0);
    DeleteObject(dib);

    LOGFONTA lf;
    lf.lfHeight = -21;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);  // unterminated on purpose
    HFONT f = CreateFontIndirectA(lf);
    LOGFONTA back;
    ASSERT_EQ(GetObjectA(f, sizeof back, &back), static_cast<int>(sizeof(LOGFONTA)));
    EXPECT_EQ(back.lfHeight, -21);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_EQ(back.lfItalic, 1);
    EXPECT_EQ(back.lfUnderline, 1);
    EXPECT_EQ(std::strlen(back.lfFaceName), sizeof back.lfFaceName - 1);
    EXPECT_EQ(GetObjectA(HFONT{}, sizeof back, &back), 0);
    DeleteObject(f);
}

TEST(Icons, CreateQueryAndDestroyKeepCopies) {
    const ObjectCounts before = LiveObjects();
    HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
    HBITMAP colour = CreateBitmap(4, 4, 1, 32, nullptr);
    GetBitmapView(colour).pixels32[5] = 0x00123456;
    ICONINFO info;
    info.hbmMask = mask;
    info.hbmColor = colour;
    HICON icon = CreateIconIndirect(info);
    ASSERT_TRUE(icon);
    // The icon owns copies, so the caller's bitmaps may go at once.
    DeleteObject(mask);
    DeleteObject(colour);
    ICONINFO out;
    ASSERT_TRUE(GetIconInfo(icon, &out));
    EXPECT_TRUE(out.fIcon);
    EXPECT_EQ(out.xHotspot, 2u);
    EXPECT_EQ(out.yHotspot, 2u);
    EXPECT_EQ(GetBitmapView(out.hbmMask).bitsPerPixel, 1);
    EXPECT_EQ(GetBitmapView(out.hbmColor).pixels32[5], 0x00123456u);
    DeleteObject(out.hbmMask);
    DeleteObject(out.hbmColor);
    EXPECT_FALSE(DeleteObject(HGDIOBJ(icon)));  // icons go through DestroyIcon
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(GetIconInfo(icon, &out));
    EXPECT_EQ(LiveObjects(), before) << ToString(LiveObjects());

    info.hbmMask = HBITMAP{};
    EXPECT_FALSE(CreateIconIndirect(info));
    // A colour bitmap that does not match the mask's size would be read past its end when drawn.
    for (const SIZE colourSize : {SIZE{2, 4}, SIZE{4, 2}}) {
        OwnedBitmap squareMask(CreateBitmap(4, 4, 1, 1, nullptr));
        OwnedBitmap other(CreateBitmap(colourSize.cx, colourSize.cy, 1, 32, nullptr));
        info.hbmMask = squareMask.get();
        info.hbmColor = other.get();
        EXPECT_FALSE(CreateIconIndirect(info)) << colourSize.cx << "x" << colourSize.cy;
    }
}

TEST(Objects, OwnedHandlesDeleteOnce) {
    const ObjectCounts before = LiveObjects();
    {
        OwnedPen a(CreatePen(PS_DOT, 1, 0));
        OwnedPen b(std::move(a));
        EXPECT_FALSE(a);
        OwnedDC dc(CreateCompatibleDC(HDC{}));
        OwnedRgn rgn(CreateEllipticRgn(0, 0, 5, 5));
        EXPECT_EQ(LiveObjects().total(), before.total() + 3);
    }
    EXPECT_EQ(LiveObjects(), before);
}
