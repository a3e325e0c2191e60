// Private: the span-level drawing helpers shared by the primitives, blits and region modules.
// All coordinates are device pixels; everything goes through the DC's surface and clip region.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <utility>
#include <vector>

#include "ObjectTable_p.h"

namespace gdi::detail {

// Builds a banded region from one sorted, disjoint span list per scanline starting at row top.
void RegionFromRows(Region& r, int top, const std::vector<std::vector<std::pair<int, int>>>& rows);

// A colour made ready for one surface: the 32 bpp pixel or the 1 bpp bit.
struct Ink {
    std::uint32_t pixel = 0;
};
// Pens and brushes on a 1 bpp surface follow MonoForDrawing (SetPixel takes the nearest colour).
// Inline: every drawing call asks, most of them on a colour surface.
inline Ink InkForDrawing(const Dc& dc, COLORREF c) {
    if (dc.surface && dc.surface->bitsPerPixel == 1) return Ink{MonoForDrawing(dc, c)};
    return Ink{ToPixel(c)};
}

// A brush made ready for one surface: a solid value, or on a 1 bpp surface an 8x8 ordered dither
// of the colour's luminance (as GDI dithers solid brushes there), aligned to device pixels.
struct BrushInk {
    bool dithered = false;
    std::uint32_t solid = 0;
    std::uint8_t rows[8] = {};  // bit x of rows[y] for device pixel (x % 8, y % 8)
    std::uint32_t At(int x, int y) const { return dithered ? (rows[y & 7] >> (x & 7)) & 1u : solid; }
};
BrushInk DitheredInkFor(COLORREF c);
inline BrushInk BrushInkFor(const Dc& dc, COLORREF c) {
    if (dc.surface && dc.surface->bitsPerPixel == 1) return DitheredInkFor(c);
    BrushInk ink;
    ink.solid = ToPixel(c);
    return ink;
}
void FillBrushInk(Dc& dc, const RECT& rect, const BrushInk& ink);
void FillRegionBrush(Dc& dc, const Region& r, const BrushInk& ink);

// n pixels of one value from p (32 bpp rows). Rows of 32 pixels or more go to the C library's
// wide-character fill where a wide character is a pixel's size: it picks the widest stores this
// processor has, which no portable loop can. Inline, so that a face's rows call it directly.
void FillShortPixels(std::uint32_t* p, std::size_t n, std::uint32_t v);
inline void FillPixels(std::uint32_t* p, std::size_t n, std::uint32_t v) {
    if constexpr (sizeof(wchar_t) == sizeof(std::uint32_t)) {
        if (n >= 32) {
            std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(v), n);
            return;
        }
    }
    FillShortPixels(p, n, v);
}
// n pixels of one value in each of rows rows from p, stride pixels apart (32 bpp).
void FillBlock(std::uint32_t* p, std::size_t n, int rows, std::ptrdiff_t stride, std::uint32_t v);
// rows pixels of one value down a column from p, stride pixels apart (32 bpp).
void FillColumn(std::uint32_t* p, int rows, std::ptrdiff_t stride, std::uint32_t v);
// Fills the rectangle (device coordinates) with one ink, cut to the surface and through the
// clip. Corners one by one, so that a caller's are passed as they are held, not packed.
void FillSolidThroughClip(Dc& dc, int left, int top, int right, int bottom, Ink ink);
// The same. Inline: a face's rows and lines are unclipped fills of a colour surface, a few stores
// each, and a call around them costs as much as the stores.
inline void FillSolid(Dc& dc, const RECT& rect, Ink ink) {
    Bitmap* s = dc.surface;
    if (!s || dc.hasClip || s->bitsPerPixel != 32) {
        FillSolidThroughClip(dc, rect.left, rect.top, rect.right, rect.bottom, ink);
        return;
    }
    const int left = rect.left > 0 ? rect.left : 0, right = rect.right < s->width ? rect.right : s->width;
    const int top = rect.top > 0 ? rect.top : 0, bottom = rect.bottom < s->height ? rect.bottom : s->height;
    if (left >= right || top >= bottom) return;
    std::uint32_t* p = s->Row32(top) + left;
    const auto n = static_cast<std::size_t>(right - left);
    // One row (a shading row, a horizontal line) is one call of the row fill, with nothing to
    // keep around it; a column or a block, one call of its own loop.
    if (bottom - top == 1)
        FillPixels(p, n, ink.pixel);
    else if (n == 1)
        FillColumn(p, bottom - top, s->width, ink.pixel);
    else
        FillBlock(p, n, bottom - top, s->width, ink.pixel);
}
// Fills with a brush; nothing for the null brush.
void FillBrush(Dc& dc, const RECT& rect, const Brush& brush);
// Writes one pixel of a surface, (x, y) already known to be on it and visible.
inline void PutPixel(Bitmap& s, int x, int y, Ink ink) {
    if (s.bitsPerPixel == 1)
        s.Row1(y)[x] = static_cast<std::uint8_t>(ink.pixel);
    else
        s.Row32(y)[x] = ink.pixel;
}
// Plots one pixel if visible.
inline void Plot(Dc& dc, int x, int y, Ink ink) {
    if (IsVisible(dc, x, y)) PutPixel(*dc.surface, x, y, ink);
}

// Device coordinates are clamped to 27 bits, as GDI limits them, so that no sum of a
// coordinate and an extent can overflow.
constexpr int MaxCoord = (1 << 27) - 1;
constexpr int ClampCoord(std::int64_t v) {
    return static_cast<int>(v < -MaxCoord ? -MaxCoord : (v > MaxCoord ? MaxCoord : v));
}
// Ellipses larger than this in either direction are not drawn and give no region.
constexpr int MaxShapeExtent = 1 << 16;

// The rectangle with its corners ordered.
inline RECT Normalised(int left, int top, int right, int bottom) {
    return RECT{left < right ? left : right, top < bottom ? top : bottom, left < right ? right : left,
                top < bottom ? bottom : top};
}

// Regions of shapes, also used by wide pens.
// rowLimit, when given, keeps only the rows inside it (for shapes that are only filled).
void PolygonRegion(Region& r, const POINT* points, int count, int fillMode, const RECT* rowLimit = nullptr);
void EllipseRegion(Region& r, int left, int top, int right, int bottom);
// Fills a region with one ink through the clip.
void FillRegion(Dc& dc, const Region& r, Ink ink);

}  // namespace gdi::detail
