// Private: the span-level drawing helpers shared by the primitives, blits and region modules.
// All coordinates are device pixels; everything goes through the DC's surface and clip region.
#pragma once

#include <cstdint>
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
// Pens and brushes on a 1 bpp surface follow MonoForDrawing; SetPixel uses the nearest colour.
// Inline: every drawing call asks, most of them on a colour surface.
inline Ink InkForDrawing(const Dc& dc, COLORREF c) {
    if (dc.surface && dc.surface->bitsPerPixel == 1) return Ink{MonoForDrawing(dc, c)};
    return Ink{ToPixel(c)};
}
Ink InkNearest(const Dc& dc, COLORREF c);

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

// n pixels of one value from p (32 bpp rows).
void FillPixels(std::uint32_t* p, std::size_t n, std::uint32_t v);
// Fills rect (device coordinates, clipped) with one ink.
void FillSolid(Dc& dc, const RECT& rect, Ink ink);
// Fills with a brush; nothing for the null brush.
void FillBrush(Dc& dc, const RECT& rect, const Brush& brush);
// Plots one pixel if visible.
inline void Plot(Dc& dc, int x, int y, Ink ink) {
    if (!IsVisible(dc, x, y)) return;
    if (dc.surface->bitsPerPixel == 1)
        dc.surface->Row1(y)[x] = static_cast<std::uint8_t>(ink.pixel);
    else
        dc.surface->Row32(y)[x] = ink.pixel;
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
