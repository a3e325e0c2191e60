// Scaled copies of bitmaps and icons (CopyImage) and icon drawing (DrawIconEx).
#include <vector>

#include "gdi/Draw.h"
#include "gdi/Image.h"
#include "gdi/ImageDecode.h"
#include "gdi/ObjectTable_p.h"

namespace gdi {
namespace {

using detail::Bitmap;
using detail::Icon;

// For every destination index, the source index nearest-neighbour stretching reads: the same
// Bresenham walk as StretchBlt with COLORONCOLOR, which keeps the last source pixel of each
// dropped run when shrinking and repeats pixels evenly when enlarging.
std::vector<int> NearestMap(int srcLen, int dstLen) {
    std::vector<int> map(static_cast<std::size_t>(dstLen), 0);
    if (srcLen > dstLen) {
        int err = 2 * dstLen - srcLen;
        int d = 0;
        for (int s = 0; s < srcLen && d < dstLen; ++s) {
            map[static_cast<std::size_t>(d)] = s;
            if (err > 0) {
                ++d;
                err += 2 * dstLen - 2 * srcLen;
            } else {
                err += 2 * dstLen;
            }
        }
    } else {
        int err = 2 * srcLen - dstLen;
        int s = 0;
        for (int d = 0; d < dstLen; ++d) {
            // The stepping can run one source pixel past the end; hold the last one instead.
            map[static_cast<std::size_t>(d)] = s < srcLen ? s : srcLen - 1;
            if (err > 0) {
                ++s;
                err += 2 * srcLen - 2 * dstLen;
            } else {
                err += 2 * srcLen;
            }
        }
    }
    return map;
}

// The part of src between rows top and top + height, stretched to width x height2.
Bitmap Scaled(const Bitmap& src, int top, int srcHeight, int width, int height, bool dib) {
    Bitmap out = detail::MakeBitmap(width, height, src.bitsPerPixel, dib);
    const std::vector<int> cols = NearestMap(src.width, width);
    const std::vector<int> rows = NearestMap(srcHeight, height);
    for (int y = 0; y < height; ++y) {
        const int sy = top + rows[static_cast<std::size_t>(y)];
        if (src.bitsPerPixel == 32) {
            const std::uint32_t* s = src.Row32(sy);
            std::uint32_t* d = out.Row32(y);
            for (int x = 0; x < width; ++x) d[x] = s[cols[static_cast<std::size_t>(x)]];
        } else {
            const std::uint8_t* s = src.Row1(sy);
            std::uint8_t* d = out.Row1(y);
            for (int x = 0; x < width; ++x) d[x] = s[cols[static_cast<std::size_t>(x)]];
        }
    }
    return out;
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
        detail::NewBitmap(Scaled(*src, 0, src->height, width, height, (flags & LR_CREATEDIBSECTION) != 0));
    if (copy && (flags & LR_COPYDELETEORG)) DeleteObject(h);
    return HGDIOBJ(copy);
}

HGDIOBJ CopyIcon(HICON h, int cx, int cy, UINT flags) {
    const Icon* src = detail::LookupIcon(h);
    if (!src) return HGDIOBJ{};
    // A monochrome icon's mask holds the AND image over the XOR image.
    const int ownHeight = src->hasColour() ? src->mask.height : src->mask.height / 2;
    const int ownWidth = src->mask.width;
    const int width = cx ? cx : ownWidth;
    const int height = cy ? cy : ownHeight;
    if (!SizeAcceptable(width, height) || ownWidth <= 0 || ownHeight <= 0) return HGDIOBJ{};
    Icon icon;
    icon.isIcon = src->isIcon;
    icon.xHotspot = static_cast<DWORD>(static_cast<std::int64_t>(src->xHotspot) * width / ownWidth);
    icon.yHotspot = static_cast<DWORD>(static_cast<std::int64_t>(src->yHotspot) * height / ownHeight);
    if (src->hasColour()) {
        icon.mask = Scaled(src->mask, 0, ownHeight, width, height, false);
        icon.colour = Scaled(src->colour, 0, src->colour.height, width, height, false);
    } else {
        Bitmap andPart = Scaled(src->mask, 0, ownHeight, width, height, false);
        Bitmap xorPart = Scaled(src->mask, ownHeight, ownHeight, width, height, false);
        andPart.pixels1.insert(andPart.pixels1.end(), xorPart.pixels1.begin(), xorPart.pixels1.end());
        andPart.height = 2 * height;
        icon.mask = std::move(andPart);
    }
    const HICON copy = detail::NewIcon(std::move(icon));
    if (copy && (flags & LR_COPYDELETEORG)) DestroyIcon(h);
    return HGDIOBJ(copy);
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
    const int ownWidth = ic->mask.width;
    const int ownHeight = colour ? ic->mask.height : ic->mask.height / 2;
    if (ownWidth <= 0 || ownHeight <= 0) return FALSE;
    if (width == 0) width = ownWidth;
    if (height == 0) height = ownHeight;
    if (width < 0 || height < 0) return FALSE;
    if (flicker) FillRect(hdc, {x, y, x + width, y + height}, flicker);
    if (!dc->surface) return TRUE;

    const std::vector<int> cols = NearestMap(ownWidth, width);
    const std::vector<int> rows = NearestMap(ownHeight, height);
    const bool useMask = (flags & DI_MASK) != 0;
    const bool useImage = (flags & DI_IMAGE) != 0;
    // DI_NORMAL: the mask with SRCAND, then the image with SRCINVERT. One of the two alone is
    // copied (SRCCOPY). GDI sets black text and a white background for both blits, so mask bit 1
    // keeps the destination and 0 clears it, whatever the DC's colours are.
    Bitmap& dst = *dc->surface;
    const bool mono = dst.bitsPerPixel == 1;
    detail::ForEachVisibleRect(*dc, RECT{x, y, x + width, y + height}, [&](const RECT& r) {
        for (int yy = r.top; yy < r.bottom; ++yy) {
            const int sy = rows[static_cast<std::size_t>(yy - y)];
            const std::uint8_t* maskRow = ic->mask.Row1(sy);
            const std::uint8_t* xorMono = colour ? nullptr : ic->mask.Row1(sy + ownHeight);
            const std::uint32_t* xorRow = colour ? ic->colour.Row32(sy) : nullptr;
            for (int xx = r.left; xx < r.right; ++xx) {
                const int sx = cols[static_cast<std::size_t>(xx - x)];
                const std::uint32_t image = colour ? xorRow[sx] : (xorMono[sx] ? 0x00FFFFFFu : 0u);
                if (mono) {
                    // Colour to mono: white is 1, everything else 0 (the blit's white background).
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
    return TRUE;
}

}  // namespace gdi
