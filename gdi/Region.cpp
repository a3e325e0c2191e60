// The region calls: creation, combination, hit tests, and filling through a DC.
#include "Region.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "Raster_p.h"
#include "Table_p.h"

namespace gdi {

using namespace detail;

namespace {
constexpr std::int64_t MaxPolygonRows = 1 << 20;
}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    Region r;
    SetRectRegion(r, left, top, right, bottom);
    return NewRegion(std::move(r));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (!points || count < 2 || (fillMode != ALTERNATE && fillMode != WINDING)) return HRGN{};
    // Scan conversion costs a row each; refuse heights no window could show rather than
    // exhaust memory.
    int minY = points[0].y, maxY = points[0].y;
    for (int i = 1; i < count; ++i) {
        minY = std::min(minY, static_cast<int>(points[i].y));
        maxY = std::max(maxY, static_cast<int>(points[i].y));
    }
    if (static_cast<std::int64_t>(maxY) - minY > MaxPolygonRows) return HRGN{};
    Region r;
    PolygonRegion(r, points, count, fillMode);
    return NewRegion(std::move(r));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    if (std::abs(static_cast<std::int64_t>(right) - left) > MaxShapeExtent ||
        std::abs(static_cast<std::int64_t>(bottom) - top) > MaxShapeExtent)
        return HRGN{};
    Region r;
    EllipseRegion(r, left, top, right, bottom);
    return NewRegion(std::move(r));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    Region* d = LookupRegion(dest);
    const Region* a = LookupRegion(src1);
    if (!d || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (mode == RGN_COPY) {
        CombineRegions(*d, *a, *a, RGN_COPY);
        return RegionType(*d);
    }
    const Region* b = LookupRegion(src2);
    if (!b) return ERROR;
    CombineRegions(*d, *a, *b, mode);
    return RegionType(*d);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    Region* r = LookupRegion(rgn);
    if (!r) return ERROR;
    // A move that would carry the region out of the coordinate space fails and leaves it alone.
    if (!r->rects.empty() &&
        (static_cast<std::int64_t>(r->box.left) + dx < -MaxCoord || static_cast<std::int64_t>(r->box.right) + dx > MaxCoord ||
         static_cast<std::int64_t>(r->box.top) + dy < -MaxCoord || static_cast<std::int64_t>(r->box.bottom) + dy > MaxCoord))
        return ERROR;
    OffsetRegion(*r, dx, dy);
    return RegionType(*r);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    const Region* r = LookupRegion(rgn);
    return r && RegionContains(*r, x, y) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
    const Region* ra = LookupRegion(a);
    const Region* rb = LookupRegion(b);
    if (!ra || !rb) return FALSE;
    // The banded form is canonical, so equal sets have equal rectangle lists.
    return ra->rects == rb->rects ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, RECT* box) {
    const Region* r = LookupRegion(rgn);
    if (!r || !box) return ERROR;
    *box = r->box;
    return RegionType(*r);
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
    Dc* dc = LookupDc(hdc);
    const Region* r = LookupRegion(rgn);
    const Brush* b = dc ? BrushFor(*dc, brush) : nullptr;
    if (!dc || !r || !b) return FALSE;
    if (b->isNull) return TRUE;
    FillRegionBrush(*dc, *r, BrushInkFor(*dc, b->colour));
    return TRUE;
}

std::vector<RECT> GetRegionRects(HRGN rgn) {
    const Region* r = LookupRegion(rgn);
    return r ? r->rects : std::vector<RECT>{};
}

}  // namespace gdi
