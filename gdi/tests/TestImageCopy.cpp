#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"

namespace {

using namespace gdi;
using test::PixelsOf;

constexpr std::uint32_t kSentinel = 0x00123456;

// A 32 bpp DIB whose pixel (x, y) is x + 16 * y + 1, so every source pixel is recognisable.
OwnedBitmap Numbered(int width, int height) {
    OwnedBitmap b(CreateDIBSection32(width, height));
    const BitmapView v = GetBitmapView(b.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) v.pixels32[y * v.stride + x] = static_cast<std::uint32_t>(x + 16 * y + 1);
    return b;
}

BITMAP Info(HBITMAP h) {
    BITMAP b;
    EXPECT_EQ(GetObjectA(h, sizeof b, &b), static_cast<int>(sizeof b));
    return b;
}

// An icon from rows of a picture: '.' mask 1 colour black (transparent), 'K' mask 0 black,
// 'R' mask 0 red, 'x' mask 1 red (inverts the background).
OwnedIcon IconFrom(const std::vector<std::string>& rows) {
    const int w = static_cast<int>(rows[0].size());
    const int h = static_cast<int>(rows.size());
    OwnedBitmap colour(CreateDIBSection32(w, h));
    OwnedBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    const BitmapView c = GetBitmapView(colour.get());
    const BitmapView m = GetBitmapView(mask.get());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const char ch = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            m.pixels1[y * m.stride + x] = (ch == '.' || ch == 'x') ? 1 : 0;
            c.pixels32[y * c.stride + x] = (ch == 'R' || ch == 'x') ? 0x00FF0000 : 0;
        }
    }
    ICONINFO info;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    return OwnedIcon(CreateIconIndirect(info));
}

struct SizeCase {
    int srcW, srcH, cx, cy, wantW, wantH;
};

TEST(CopyImage, BitmapsAndIconsComeOutAtTheAskedSize) {
    const SizeCase cases[] = {{64, 64, 32, 32, 32, 32}, {32, 32, 0, 0, 32, 32}, {32, 16, 0, 8, 32, 8},
                              {16, 16, 48, 0, 48, 16},  {7, 3, 1, 1, 1, 1},     {2, 2, 145, 41, 145, 41}};
    for (const SizeCase& c : cases) {
        OwnedBitmap src = Numbered(c.srcW, c.srcH);
        OwnedBitmap copy(HandleCast<HBITMAP>(CopyImage(HGDIOBJ(src.get()), IMAGE_BITMAP, c.cx, c.cy, 0)));
        ASSERT_TRUE(copy);
        EXPECT_EQ(Info(copy.get()).bmWidth, c.wantW);
        EXPECT_EQ(Info(copy.get()).bmHeight, c.wantH);

        OwnedIcon icon = IconFrom(std::vector<std::string>(static_cast<std::size_t>(c.srcH), std::string(static_cast<std::size_t>(c.srcW), 'R')));
        OwnedIcon iconCopy(HandleCast<HICON>(CopyImage(HGDIOBJ(icon.get()), IMAGE_ICON, c.cx, c.cy, 0)));
        ASSERT_TRUE(iconCopy);
        ICONINFO ii;
        ASSERT_TRUE(GetIconInfo(iconCopy.get(), &ii));
        EXPECT_EQ(Info(ii.hbmColor).bmWidth, c.wantW);
        EXPECT_EQ(Info(ii.hbmMask).bmHeight, c.wantH);
        DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
    }
}

// A resized copy is kept for the next copy at that size; every copy draws as a fresh scaling does,
// whichever sizes come between.
TEST(CopyImage, RepeatedIconCopiesDrawAsTheFirst) {
    const std::vector<std::string> rows = {"..RRR.", ".RKKR.", "RKxxKR", "RKxxKR", ".RKKR.", "..RR.."};
    const SIZE sizes[] = {{9, 9}, {9, 9}, {4, 5}, {9, 9}, {6, 6}, {4, 5}};
    auto drawn = [](HICON icon, SIZE size) {
        test::Canvas c(12, 12);
        c.Fill(test::White);
        DrawIconEx(c.dc(), 1, 1, icon, 0, 0, 0, HBRUSH{}, DI_NORMAL);
        return std::make_pair(size.cx, PixelsOf(c.bitmap()));
    };
    OwnedIcon icon = IconFrom(rows);
    for (const SIZE& size : sizes) {
        OwnedIcon fresh = IconFrom(rows);
        OwnedIcon first(HandleCast<HICON>(CopyImage(HGDIOBJ(fresh.get()), IMAGE_ICON, size.cx, size.cy, 0)));
        OwnedIcon again(HandleCast<HICON>(CopyImage(HGDIOBJ(icon.get()), IMAGE_ICON, size.cx, size.cy, 0)));
        ASSERT_TRUE(first && again);
        EXPECT_EQ(drawn(again.get(), size), drawn(first.get(), size)) << size.cx << "x" << size.cy;
    }
}

TEST(CopyImage, RefusesWrongKindsAndImpossibleSizes) {
    OwnedBitmap bmp = Numbered(4, 4);
    OwnedIcon icon = IconFrom({"RR", "RR"});
    const ObjectCounts before = LiveObjects();
    EXPECT_FALSE(CopyImage(HGDIOBJ(bmp.get()), IMAGE_ICON, 0, 0, 0));
    EXPECT_FALSE(CopyImage(HGDIOBJ(icon.get()), IMAGE_BITMAP, 0, 0, 0));
    EXPECT_FALSE(CopyImage(HGDIOBJ(bmp.get()), IMAGE_BITMAP, -1, 4, 0));
    EXPECT_FALSE(CopyImage(HGDIOBJ(bmp.get()), IMAGE_BITMAP, 100000, 100000, 0));
    EXPECT_FALSE(CopyImage(HGDIOBJ(icon.get()), IMAGE_ICON, 4, 1 << 20, 0));
    EXPECT_FALSE(CopyImage(HGDIOBJ{}, IMAGE_BITMAP, 4, 4, 0));
    EXPECT_FALSE(CopyImage(HGDIOBJ(bmp.get()), 7, 4, 4, 0));
    EXPECT_EQ(LiveObjects(), before);
}

TEST(CopyImage, CompatibleBitmapUnlessADibSectionIsAsked) {
    OwnedBitmap src = Numbered(4, 4);
    OwnedBitmap ddb(HandleCast<HBITMAP>(CopyImage(HGDIOBJ(src.get()), IMAGE_BITMAP, 2, 2, 0)));
    OwnedBitmap dib(HandleCast<HBITMAP>(CopyImage(HGDIOBJ(src.get()), IMAGE_BITMAP, 2, 2, LR_CREATEDIBSECTION)));
    EXPECT_EQ(Info(ddb.get()).bmBits, nullptr);
    EXPECT_NE(Info(dib.get()).bmBits, nullptr);
    EXPECT_EQ(PixelsOf(ddb.get()), PixelsOf(dib.get()));

    OwnedBitmap mono(CreateBitmap(8, 2, 1, 1, nullptr));
    OwnedBitmap monoCopy(HandleCast<HBITMAP>(CopyImage(HGDIOBJ(mono.get()), IMAGE_BITMAP, 4, 4, 0)));
    EXPECT_EQ(Info(monoCopy.get()).bmBitsPixel, 1);
}

TEST(CopyImage, ScalesLikeStretchBltInTheDefaultMode) {
    const SizeCase cases[] = {{4, 4, 2, 2, 0, 0},   {2, 2, 4, 4, 0, 0},   {5, 3, 13, 7, 0, 0},
                              {13, 7, 5, 3, 0, 0},  {32, 32, 16, 24, 0, 0}, {3, 5, 3, 2, 0, 0}};
    for (const SizeCase& c : cases) {
        OwnedBitmap src = Numbered(c.srcW, c.srcH);
        OwnedBitmap copy(HandleCast<HBITMAP>(CopyImage(HGDIOBJ(src.get()), IMAGE_BITMAP, c.cx, c.cy, 0)));

        OwnedDC srcDc(CreateCompatibleDC(HDC{}));
        OwnedDC dstDc(CreateCompatibleDC(HDC{}));
        OwnedBitmap expected(CreateDIBSection32(c.cx, c.cy));
        const HBITMAP oldSrc = SelectObject(srcDc.get(), src.get());
        const HBITMAP oldDst = SelectObject(dstDc.get(), expected.get());
        StretchBlt(dstDc.get(), 0, 0, c.cx, c.cy, srcDc.get(), 0, 0, c.srcW, c.srcH, SRCCOPY);
        SelectObject(srcDc.get(), oldSrc);
        SelectObject(dstDc.get(), oldDst);
        EXPECT_EQ(PixelsOf(copy.get()), PixelsOf(expected.get()))
            << c.srcW << "x" << c.srcH << " to " << c.cx << "x" << c.cy;
    }
}

TEST(CopyImage, ShrinkingKeepsALoneOpaqueMaskPixel) {
    std::vector<std::string> rows(16, std::string(16, '.'));
    rows[0][0] = 'K';
    OwnedIcon icon = IconFrom(rows);
    OwnedIcon small(HandleCast<HICON>(CopyImage(HGDIOBJ(icon.get()), IMAGE_ICON, 8, 8, 0)));
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(small.get(), &info));
    const BitmapView m = GetBitmapView(info.hbmMask);
    int opaque = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) opaque += m.pixels1[y * m.stride + x] == 0;
    EXPECT_EQ(m.pixels1[0], 0);
    EXPECT_EQ(opaque, 1);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(CopyImage, CopiesABitmapSelectedIntoADc) {
    OwnedBitmap src = Numbered(4, 4);
    OwnedDC dc(CreateCompatibleDC(HDC{}));
    const HBITMAP old = SelectObject(dc.get(), src.get());
    OwnedBitmap copy(HandleCast<HBITMAP>(CopyImage(HGDIOBJ(src.get()), IMAGE_BITMAP, 8, 8, 0)));
    ASSERT_TRUE(copy);
    EXPECT_EQ(PixelsOf(copy.get())[0], 1u);
    EXPECT_EQ(PixelsOf(copy.get())[63], 3u + 16 * 3 + 1);
    SelectObject(dc.get(), old);
}

TEST(CopyImage, DeleteOriginalOnRequest) {
    const ObjectCounts before = LiveObjects();
    OwnedBitmap src = Numbered(4, 4);
    const HBITMAP raw = src.release();
    OwnedBitmap copy(HandleCast<HBITMAP>(CopyImage(HGDIOBJ(raw), IMAGE_BITMAP, 2, 2, LR_COPYDELETEORG)));
    ASSERT_TRUE(copy);
    EXPECT_EQ(GetObjectType(HGDIOBJ(raw)), ObjectKind::None);
    copy.reset();
    EXPECT_EQ(LiveObjects(), before);
}

// A 32 bpp canvas filled with the sentinel, with odd text and background colours that the
// icon drawing must not use.
class IconCanvas {
public:
    IconCanvas(int w, int h, int bpp = 32, std::uint32_t fill = kSentinel)
        : dc_(CreateCompatibleDC(HDC{})),
          bmp_(bpp == 32 ? CreateDIBSection32(w, h) : CreateBitmap(w, h, 1, 1, nullptr)) {
        old_ = SelectObject(dc_.get(), bmp_.get());
        SetTextColor(dc_.get(), RGB(0, 128, 0));
        SetBkColor(dc_.get(), RGB(0, 0, 128));
        const BitmapView v = GetBitmapView(bmp_.get());
        for (int y = 0; y < v.height; ++y)
            for (int x = 0; x < v.width; ++x) {
                if (bpp == 32) v.pixels32[y * v.stride + x] = fill;
            }
    }
    ~IconCanvas() { SelectObject(dc_.get(), old_); }
    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bmp_.get(); }
    // The canvas as characters: 's' sentinel, 'K' black, 'R' red, 'i' inverted sentinel.
    std::vector<std::string> Picture() const {
        const BitmapView v = GetBitmapView(bmp_.get());
        std::vector<std::string> rows;
        for (int y = 0; y < v.height; ++y) {
            std::string row;
            for (int x = 0; x < v.width; ++x) {
                const std::uint32_t p = v.pixels32[y * v.stride + x];
                row += p == kSentinel ? 's' : p == 0 ? 'K' : p == 0x00FF0000 ? 'R' : p == (kSentinel ^ 0x00FF0000) ? 'i' : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }

private:
    OwnedDC dc_;
    OwnedBitmap bmp_;
    HBITMAP old_;
};

TEST(DrawIconEx, MaskThenColourWhateverTheDcColours) {
    OwnedIcon icon = IconFrom({".K", "Rx"});
    const struct {
        UINT flags;
        std::vector<std::string> want;
    } cases[] = {
        {DI_NORMAL, {"ssss", "ssKs", "sRis", "ssss"}},
        {DI_MASK, {"ssss", "s?Ks", "sK?s", "ssss"}},
        {DI_IMAGE, {"ssss", "sKKs", "sRRs", "ssss"}},
    };
    for (const auto& c : cases) {
        IconCanvas canvas(4, 4);
        EXPECT_TRUE(DrawIconEx(canvas.dc(), 1, 1, icon.get(), 0, 0, 0, HBRUSH{}, c.flags));
        EXPECT_EQ(canvas.Picture(), c.want) << "flags " << c.flags;
    }
}

TEST(DrawIconEx, DrawsAWhiteMaskPixelAsWhiteWhenCopyingTheMask) {
    OwnedIcon icon = IconFrom({".K"});
    IconCanvas canvas(2, 1);
    DrawIconEx(canvas.dc(), 0, 0, icon.get(), 0, 0, 0, HBRUSH{}, DI_MASK);
    const BitmapView v = GetBitmapView(canvas.bitmap());
    EXPECT_EQ(v.pixels32[0], 0x00FFFFFFu);
    EXPECT_EQ(v.pixels32[1], 0u);
}

TEST(DrawIconEx, ScalesClipsAndFillsTheFlickerBrush) {
    OwnedIcon icon = IconFrom({".R", "K."});
    {
        IconCanvas canvas(4, 4);
        DrawIconEx(canvas.dc(), 0, 0, icon.get(), 4, 4, 0, HBRUSH{}, DI_NORMAL);
        EXPECT_EQ(canvas.Picture(), (std::vector<std::string>{"ssRR", "ssRR", "KKss", "KKss"}));
    }
    {
        IconCanvas canvas(4, 4);
        OwnedRgn clip(CreateRectRgn(0, 0, 4, 3));
        SelectClipRgn(canvas.dc(), clip.get());
        DrawIconEx(canvas.dc(), -1, 1, icon.get(), 4, 4, 0, HBRUSH{}, DI_NORMAL);
        EXPECT_EQ(canvas.Picture(), (std::vector<std::string>{"ssss", "sRRs", "sRRs", "ssss"}));
    }
    {
        IconCanvas canvas(3, 3);
        OwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
        DrawIconEx(canvas.dc(), 0, 0, icon.get(), 0, 0, 0, red.get(), DI_NORMAL);
        EXPECT_EQ(canvas.Picture(), (std::vector<std::string>{"RRs", "KRs", "sss"}));
    }
}

TEST(DrawIconEx, MonochromeIconsAndMonochromeTargets) {
    // Mask over image, both 1 bpp: AND 1 XOR 1 inverts, AND 0 XOR 1 paints white.
    const std::uint8_t bits[] = {0x80, 0, 0x00, 0, 0xC0, 0, 0x40, 0};  // 2x4: AND rows then XOR rows
    OwnedBitmap mask(CreateBitmap(2, 4, 1, 1, bits));
    ICONINFO info;
    info.hbmMask = mask.get();
    OwnedIcon mono(CreateIconIndirect(info));
    ASSERT_TRUE(mono);
    IconCanvas canvas(2, 2);
    DrawIconEx(canvas.dc(), 0, 0, mono.get(), 0, 0, 0, HBRUSH{}, DI_NORMAL);
    const BitmapView v = GetBitmapView(canvas.bitmap());
    EXPECT_EQ(v.pixels32[0], kSentinel ^ 0x00FFFFFFu);
    EXPECT_EQ(v.pixels32[1], 0x00FFFFFFu);
    EXPECT_EQ(v.pixels32[2], 0u);
    EXPECT_EQ(v.pixels32[3], 0x00FFFFFFu);

    OwnedIcon colour = IconFrom({".K", "RR"});
    IconCanvas target(2, 2, 1);
    PatBlt(target.dc(), 0, 0, 2, 2, WHITENESS);
    DrawIconEx(target.dc(), 0, 0, colour.get(), 0, 0, 0, HBRUSH{}, DI_NORMAL);
    const BitmapView t = GetBitmapView(target.bitmap());
    EXPECT_EQ((std::vector<int>{t.pixels1[0], t.pixels1[1], t.pixels1[t.stride], t.pixels1[t.stride + 1]}),
              (std::vector<int>{1, 0, 0, 0}));
}

// The unscaled fast paths must give exactly what the two blits give: a small icon of short
// runs drawn row by row, and a wide one with long transparent, opaque and mixed stretches drawn
// run by run, over a background whose top bytes are set (the AND clears them).
TEST(DrawIconEx, OwnSizeEqualsTheMaskAndImageBlits) {
    std::vector<std::string> shortRuns;
    for (int y = 0; y < 7; ++y) {
        std::string row;
        for (int x = 0; x < 9; ++x) row += ".KRx"[(x * 3 + y * 5 + x * y) % 4];
        shortRuns.push_back(row);
    }
    const std::string border(33, '.');
    const std::vector<std::string> longRuns = {
        std::string(80, '.'), border + std::string(14, 'R') + border, border + std::string(14, 'x') + border,
        std::string(40, 'K') + std::string(40, 'R'), std::string(80, 'x'), shortRuns[1] + std::string(71, 'R')};
    for (const auto& rows : {shortRuns, longRuns}) {
        OwnedIcon icon = IconFrom(rows);
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon.get(), &info));
        OwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
        const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
        const int cw = w + 3, ch = h + 3;
        // Clips that cut the icon's left and bottom, its top, and every row differently.
        const RECT clips[] = {{2, 0, w, h + 1}, {0, 4, cw - 1, ch}, {1, 1, cw - 1, ch}};
        for (const int bpp : {32, 1}) {
            for (std::size_t k = 0; k < std::size(clips); ++k) {
                IconCanvas fast(cw, ch, bpp, 0xAB123456), blits(cw, ch, bpp, 0xAB123456);
                for (IconCanvas* c : {&fast, &blits}) {
                    if (bpp == 1) PatBlt(c->dc(), 0, 0, cw, ch, WHITENESS);
                    const RECT& r = clips[k];
                    OwnedRgn clip(k == 2 ? CreateEllipticRgn(r.left, r.top, r.right, r.bottom)
                                         : CreateRectRgn(r.left, r.top, r.right, r.bottom));
                    SelectClipRgn(c->dc(), clip.get());
                }
                DrawIconEx(fast.dc(), 1, 2, icon.get(), 0, 0, 0, HBRUSH{}, DI_NORMAL);
                OwnedDC src(CreateCompatibleDC(HDC{}));
                SetTextColor(blits.dc(), RGB(0, 0, 0));
                SetBkColor(blits.dc(), RGB(255, 255, 255));
                const HBITMAP old = SelectObject(src.get(), mask.get());
                BitBlt(blits.dc(), 1, 2, w, h, src.get(), 0, 0, SRCAND);
                SelectObject(src.get(), colour.get());
                BitBlt(blits.dc(), 1, 2, w, h, src.get(), 0, 0, SRCINVERT);
                SelectObject(src.get(), old);
                const BitmapView a = GetBitmapView(fast.bitmap()), b = GetBitmapView(blits.bitmap());
                for (int i = 0; i < cw * ch; ++i) {
                    if (bpp == 32) {
                        ASSERT_EQ(a.pixels32[i], b.pixels32[i]) << w << " wide, clip " << k << ", pixel " << i;
                    } else {
                        ASSERT_EQ(a.pixels1[i], b.pixels1[i]) << w << " wide, clip " << k << ", pixel " << i;
                    }
                }
            }
        }
    }
}

TEST(DrawIconEx, RefusesBadArgumentsAndLeaksNothing) {
    OwnedIcon icon = IconFrom({"RR", "RR"});
    IconCanvas canvas(4, 4);
    const ObjectCounts before = LiveObjects();
    EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, HICON{}, 0, 0, 0, HBRUSH{}, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(HDC{}, 0, 0, icon.get(), 0, 0, 0, HBRUSH{}, DI_NORMAL));
    EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, icon.get(), 0, 0, 0, HBRUSH{}, 0));
    EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, icon.get(), -2, 2, 0, HBRUSH{}, DI_NORMAL));
    for (int i = 0; i < 3; ++i) {
        HICON copy = HandleCast<HICON>(CopyImage(HGDIOBJ(icon.get()), IMAGE_ICON, 32, 32, 0));
        DrawIconEx(canvas.dc(), 0, 0, copy, 0, 0, 0, HBRUSH{}, DI_NORMAL);
        DestroyIcon(copy);
    }
    EXPECT_EQ(LiveObjects(), before);
}

}  // namespace
