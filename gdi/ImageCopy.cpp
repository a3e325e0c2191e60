// Scaled copies of bitmaps and icons (CopyImage) and icon drawing (DrawIconEx).
#include <cstring>
#include <utility>

#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Image.h"
#include "gdi/ImageDecode.h"
#include "gdi/ObjectTable_p.h"

namespace gdi {
namespace {

using detail::Bitmap;
using detail::Icon;

// A memory DC holding one bitmap for the length of a call. The bitmap is selected directly when
// it is free, otherwise through a private copy (a bitmap lives in one DC at a time).
class SourceDc {
public:
    SourceDc(HBITMAP bitmap, const Bitmap& pixels) : dc_(CreateCompatibleDC(HDC{})) {
        if (bitmap) old_ = SelectObject(dc_.get(), bitmap);
        if (!old_) {
            copy_ = OwnedBitmap(detail::NewBitmap(Bitmap(pixels)));
            old_ = SelectObject(dc_.get(), copy_.get());
        }
    }
    ~SourceDc() {
        if (old_) SelectObject(dc_.get(), old_);
    }
    SourceDc(const SourceDc&) = delete;
    SourceDc& operator=(const SourceDc&) = delete;
    HDC get() const { return dc_.get(); }
    explicit operator bool() const { return static_cast<bool>(old_); }

private:
    OwnedDC dc_;
    OwnedBitmap copy_;
    HBITMAP old_{};
};

// The rows top..top+srcHeight of src stretched to width x height, as StretchBlt does in the
// default stretch mode (BLACKONWHITE): the copy GDI makes keeps a lone black pixel, so an
// opaque mask pixel survives a shrink.
Bitmap Scaled(const Bitmap& src, int top, int srcHeight, int width, int height, bool dib, HBITMAP srcHandle = {}) {
    if (top == 0 && srcHeight == src.height && width == src.width && height == src.height) {
        Bitmap same = src;
        same.dib = dib;
        return same;
    }
    Bitmap out = detail::MakeBitmap(width, height, src.bitsPerPixel, dib);
    const SourceDc from(srcHandle, src);
    OwnedBitmap target(detail::NewBitmap(std::move(out)));
    OwnedDC to(CreateCompatibleDC(HDC{}));
    const HBITMAP old = SelectObject(to.get(), target.get());
    if (from) StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, top, src.width, srcHeight, SRCCOPY);
    SelectObject(to.get(), old);
    Bitmap result = std::move(*detail::LookupBitmap(target.get()));
    return result;
}

// Refuses sizes no picture needs instead of allocating gigabytes.
bool SizeAcceptable(int width, int height) {
    return width > 0 && height > 0 && width <= image::kMaxSide && height <= image::kMaxSide &&
           static_cast<std::int64_t>(width) * height <= image::kMaxPixels;
}

HGDIOBJ CopyBitmap(HBITMAP h, int cx, int cy, UINT flags) {
    const Bitmap* src = detail::LookupBitmap(h);
    if (!src) return HGDIOBJ{};
    const int width = cx ? cx : src->width;
    const int height = cy ? cy : src->height;
    if (!SizeAcceptable(width, height)) return HGDIOBJ{};
    // Without LR_CREATEDIBSECTION the copy is a compatible (device-dependent) bitmap, as in GDI.
    const HBITMAP copy =
        detail::NewBitmap(Scaled(*src, 0, src->height, width, height, (flags & LR_CREATEDIBSECTION) != 0, h));
    if (copy && (flags & LR_COPYDELETEORG)) DeleteObject(h);
    return HGDIOBJ(copy);
}

HGDIOBJ CopyIcon(HICON h, int cx, int cy, UINT flags) {
    Icon* src = detail::LookupIcon(h);
    if (!src) return HGDIOBJ{};
    const Bitmap& srcMask = src->mask();
    // A monochrome icon's mask holds the AND image over the XOR image.
    const int ownHeight = src->hasColour() ? srcMask.height : srcMask.height / 2;
    const int ownWidth = srcMask.width;
    const int width = cx ? cx : ownWidth;
    const int height = cy ? cy : ownHeight;
    if (!SizeAcceptable(width, height) || ownWidth <= 0 || ownHeight <= 0) return HGDIOBJ{};
    const bool resized = width != ownWidth || height != ownHeight;
    auto made = [&](Icon&& icon) {
        const HICON copy = detail::NewIcon(std::move(icon));
        if (copy && (flags & LR_COPYDELETEORG)) DestroyIcon(h);
        return HGDIOBJ(copy);
    };
    // A copy at the icon's own size, or at the size of its last resized copy, shares that image.
    if (!resized) return made(Icon{src->isIcon, src->xHotspot, src->yHotspot, src->image, {}});
    const Icon* last = src->lastResized.get();
    if (last && last->mask().width == width &&
        (last->hasColour() ? last->mask().height : last->mask().height / 2) == height) {
        return made(Icon(*last));
    }
    Icon icon;
    icon.isIcon = src->isIcon;
    icon.xHotspot = static_cast<DWORD>(static_cast<std::int64_t>(src->xHotspot) * width / ownWidth);
    icon.yHotspot = static_cast<DWORD>(static_cast<std::int64_t>(src->yHotspot) * height / ownHeight);
    if (src->hasColour()) {
        icon.image = detail::MakeIconImage(Scaled(srcMask, 0, ownHeight, width, height, false),
                                           Scaled(src->colour(), 0, src->colour().height, width, height, false));
    } else {
        Bitmap andPart = Scaled(srcMask, 0, ownHeight, width, height, false);
        Bitmap xorPart = Scaled(srcMask, ownHeight, ownHeight, width, height, false);
        andPart.pixels1.insert(andPart.pixels1.end(), xorPart.pixels1.begin(), xorPart.pixels1.end());
        andPart.height = 2 * height;
        icon.image = detail::MakeIconImage(std::move(andPart), Bitmap{0, 0, 32, false, {}, {}});
    }
    src->lastResized = std::make_shared<const Icon>(icon);
    return made(std::move(icon));
}

// A colour icon at its own size onto a 32 bpp surface, run by run: a transparent run only
// clears the destination's top byte, an opaque one is a copy of the image's row, and only the
// mixed ones need the mask. Each loop is free of per-pixel decisions, so the compiler vectorises it.
void DrawColourRuns(detail::Dc& dc, int x, int y, const detail::IconImage& im) {
    const int w = im.mask.width;
    Bitmap& dst = *dc.surface;
    detail::ForEachVisibleRect(dc, RECT{x, y, x + w, y + im.mask.height}, [&](const RECT& r) {
        const int from = r.left - x;
        const int to = r.right - x;
        for (int yy = r.top; yy < r.bottom; ++yy) {
            const auto sy = static_cast<std::size_t>(yy - y);
            const std::uint32_t* const mRow = im.andWords.data() + sy * static_cast<std::size_t>(w);
            const std::uint32_t* const cRow = im.colour.Row32(static_cast<int>(sy));
            std::uint32_t* const dRow = dst.Row32(yy);
            const detail::IconRun* run = im.runs.data() + im.rowRuns[sy];
            const detail::IconRun* const end = im.runs.data() + im.rowRuns[sy + 1];
            for (; run != end && run->x0 < to; ++run) {
                const int x0 = run->x0 > from ? run->x0 : from;
                const int n = (run->x1 < to ? run->x1 : to) - x0;
                if (n <= 0) continue;
                std::uint32_t* d = dRow + (x + x0);  // on the surface, as x + from is
                const std::uint32_t* c = cRow + x0;
                const std::uint32_t* m = mRow + x0;
                switch (run->kind) {
                    case detail::IconRun::Kind::Keep:
                        for (int i = 0; i < n; ++i) d[i] &= 0x00FFFFFFu;
                        break;
                    case detail::IconRun::Kind::Copy:
                        std::memcpy(d, c, static_cast<std::size_t>(n) * sizeof *d);
                        break;
                    case detail::IconRun::Kind::Mixed:
                        for (int i = 0; i < n; ++i) d[i] = (d[i] & m[i]) ^ c[i];
                        break;
                }
            }
        }
    });
}

// The icon at its own size, straight onto the surface: the same result as the two blits with
// black text and a white background, without a DC and bitmap copies for every picture drawn.
void DrawUnscaled(detail::Dc& dc, int x, int y, const Icon& ic, UINT flags) {
    const bool colour = ic.hasColour();
    const Bitmap& mask = ic.mask();
    const int h = colour ? mask.height : mask.height / 2;
    const bool useMask = (flags & DI_MASK) != 0;
    const bool useImage = (flags & DI_IMAGE) != 0;
    Bitmap& dst = *dc.surface;
    const bool mono = dst.bitsPerPixel == 1;
    if (!mono && colour && useMask && useImage) {
        const detail::IconImage& im = *ic.image;
        if (im.drawByRuns) {
            DrawColourRuns(dc, x, y, im);
            return;
        }
        // Rows of few plain pixels: one loop a row costs less than setting out its runs.
        const int w = mask.width;
        detail::ForEachVisibleRect(dc, RECT{x, y, x + w, y + h}, [&](const RECT& r) {
            const std::uint32_t* m = im.andWords.data() + static_cast<std::size_t>(r.top - y) * w + (r.left - x);
            const std::uint32_t* c = im.colour.Row32(r.top - y) + (r.left - x);
            std::uint32_t* d = dst.Row32(r.top) + r.left;
            const int n = r.right - r.left;
            for (int yy = r.top; yy < r.bottom; ++yy, m += w, c += im.colour.width, d += dst.width)
                for (int i = 0; i < n; ++i) d[i] = (d[i] & m[i]) ^ c[i];
        });
        return;
    }
    const Bitmap& image = ic.colour();
    detail::ForEachVisibleRect(dc, RECT{x, y, x + mask.width, y + h}, [&](const RECT& r) {
        for (int yy = r.top; yy < r.bottom; ++yy) {
            const int sy = yy - y;
            const std::uint8_t* maskRow = mask.Row1(sy);
            const std::uint8_t* xorMono = colour ? nullptr : mask.Row1(sy + h);
            const std::uint32_t* xorRow = colour ? image.Row32(sy) : nullptr;
            for (int xx = r.left; xx < r.right; ++xx) {
                const int sx = xx - x;
                const std::uint32_t image = colour ? xorRow[sx] : (xorMono[sx] ? 0x00FFFFFFu : 0u);
                if (mono) {
                    // Colour to mono: the source's white background colour is 1, all else 0.
                    const std::uint8_t imageBit = image == 0x00FFFFFFu ? 1 : 0;
                    std::uint8_t& d = dst.Row1(yy)[xx];
                    if (useMask && useImage) {
                        d = static_cast<std::uint8_t>((d & maskRow[sx]) ^ imageBit);
                    } else {
                        d = useMask ? maskRow[sx] : imageBit;
                    }
                } else {
                    std::uint32_t& d = dst.Row32(yy)[xx];
                    const std::uint32_t m = maskRow[sx] ? 0x00FFFFFFu : 0u;
                    if (useMask && useImage) {
                        d = (d & m) ^ image;
                    } else {
                        d = useMask ? m : image;
                    }
                }
            }
        }
    });
}

}  // namespace

HGDIOBJ CopyImage(HGDIOBJ h, UINT type, int cx, int cy, UINT flags) {
    if (cx < 0 || cy < 0) return HGDIOBJ{};
    if (type == IMAGE_BITMAP) return CopyBitmap(HBITMAP(h.value), cx, cy, flags);
    if (type == IMAGE_ICON || type == IMAGE_CURSOR) return CopyIcon(HICON(h.value), cx, cy, flags);
    return HGDIOBJ{};
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT /*step*/, HBRUSH flicker,
                UINT flags) {
    detail::Dc* dc = detail::LookupDc(hdc);
    const Icon* ic = detail::LookupIcon(icon);
    if (!dc || !ic || (flags & DI_NORMAL) == 0) return FALSE;
    const bool colour = ic->hasColour();
    const int ownWidth = ic->mask().width;
    const int ownHeight = colour ? ic->mask().height : ic->mask().height / 2;
    if (ownWidth <= 0 || ownHeight <= 0) return FALSE;
    if (width == 0) width = ownWidth;
    if (height == 0) height = ownHeight;
    // Sizes no face needs are refused; a position that far out is off every surface.
    if (width < 0 || height < 0 || width > image::kMaxSide || height > image::kMaxSide) return FALSE;
    constexpr int kFar = 1 << 27;
    if (x < -kFar || x > kFar || y < -kFar || y > kFar) return TRUE;
    if (flicker) FillRect(hdc, {x, y, x + width, y + height}, flicker);
    if (!dc->surface) return TRUE;

    // DI_NORMAL: the mask with SRCAND, then the image with SRCINVERT; one of the two alone is
    // copied. Black text and a white background for the blits, as GDI sets them, so mask bit 1
    // keeps the destination and 0 clears it whatever the DC's colours are.
    const bool both = (flags & DI_NORMAL) == DI_NORMAL;
    if (width == ownWidth && height == ownHeight) {
        DrawUnscaled(*dc, x, y, *ic, flags);
        return TRUE;
    }
    const COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(hdc, RGB(255, 255, 255));
    const SourceDc maskDc(HBITMAP{}, ic->mask());
    if (flags & DI_MASK) {
        StretchBlt(hdc, x, y, width, height, maskDc.get(), 0, 0, ownWidth, ownHeight, both ? SRCAND : SRCCOPY);
    }
    if (flags & DI_IMAGE) {
        const DWORD rop = both ? SRCINVERT : SRCCOPY;
        if (colour) {
            const SourceDc imageDc(HBITMAP{}, ic->colour());
            StretchBlt(hdc, x, y, width, height, imageDc.get(), 0, 0, ownWidth, ownHeight, rop);
        } else {
            // A monochrome icon keeps its image below the mask in the same bitmap.
            StretchBlt(hdc, x, y, width, height, maskDc.get(), 0, ownHeight, ownWidth, ownHeight, rop);
        }
    }
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBk);
    return TRUE;
}

}  // namespace gdi
