// Span fills shared by the primitives: solid rectangles and regions through the DC's clip.
#include <algorithm>
#include <cstring>

#include "Raster_p.h"

namespace gdi::detail {

RECT Normalised(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

Ink InkForDrawing(const Dc& dc, COLORREF c) {
    if (dc.surface && dc.surface->bitsPerPixel == 1) return Ink{MonoForDrawing(dc, c)};
    return Ink{ToPixel(c)};
}

Ink InkNearest(const Dc& dc, COLORREF c) {
    if (dc.surface && dc.surface->bitsPerPixel == 1) return Ink{NearestMono(c)};
    return Ink{ToPixel(c)};
}

void FillSolid(Dc& dc, const RECT& rect, Ink ink) {
    Bitmap* s = dc.surface;
    ForEachVisibleRect(dc, rect, [&](const RECT& r) {
        const std::size_t n = static_cast<std::size_t>(r.right - r.left);
        if (s->bitsPerPixel == 1) {
            for (int y = r.top; y < r.bottom; ++y)
                std::memset(s->Row1(y) + r.left, static_cast<int>(ink.pixel), n);
        } else {
            for (int y = r.top; y < r.bottom; ++y) std::fill_n(s->Row32(y) + r.left, n, ink.pixel);
        }
    });
}

void FillBrush(Dc& dc, const RECT& rect, const Brush& brush) {
    if (brush.isNull) return;
    FillSolid(dc, rect, InkForDrawing(dc, brush.colour));
}

void FillRegion(Dc& dc, const Region& r, Ink ink) {
    for (const RECT& x : r.rects) FillSolid(dc, x, ink);
}

}  // namespace gdi::detail
