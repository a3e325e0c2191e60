// Ellipse and Arc: outlines from the integer ellipse walk, interiors as the outline's polygon.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "Draw.h"
#include "Stroke_p.h"

namespace gdi {

using namespace detail;

namespace {

// Vectors in doubled coordinates about the box centre, with y pointing up so that
// counter-clockwise on screen is the growing angle.
struct Vec {
    std::int64_t x, y;
};

std::int64_t Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
std::int64_t Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

// Whether v lies in the half turn [0, 180) degrees counter-clockwise from ray r.
bool FirstHalf(Vec r, Vec v) { return Cross(r, v) > 0 || (Cross(r, v) == 0 && Dot(r, v) > 0); }

// Angle from ray r to a is smaller than from r to b, measured counter-clockwise.
bool AngleLess(Vec r, Vec a, Vec b) {
    const bool ha = FirstHalf(r, a), hb = FirstHalf(r, b);
    if (ha != hb) return ha;
    return Cross(a, b) > 0;
}

// Index of the outline point first met going counter-clockwise from the ray.
std::size_t FirstPointFrom(const std::vector<Vec>& pts, Vec ray) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < pts.size(); ++i)
        if (AngleLess(ray, pts[i], pts[best])) best = i;
    return best;
}

// Index of the last outline point met before reaching the ray counter-clockwise (a point on
// the ray itself counts as reached).
std::size_t LastPointBefore(const std::vector<Vec>& pts, Vec ray) {
    std::size_t best = 0;
    bool have = false;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        if (Cross(ray, pts[i]) == 0 && Dot(ray, pts[i]) > 0) continue;
        if (!have || AngleLess(ray, pts[best], pts[i])) {
            best = i;
            have = true;
        }
    }
    return best;
}

RECT FigureBox(int left, int top, int right, int bottom) {
    return Normalised(ClampCoord(left), ClampCoord(top), ClampCoord(right), ClampCoord(bottom));
}

}  // namespace

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    Dc* dc = LookupDc(hdc);
    if (!dc) return FALSE;
    const RECT box = FigureBox(left, top, right, bottom);
    const RECT r = PenBox(*dc, box);
    if (!dc->surface) return TRUE;
    if (FrameCoversFigure(*dc, box, r)) {
        Region figure;
        EllipseRegion(figure, box.left, box.top, box.right, box.bottom);
        FillRegion(*dc, figure, InkForDrawing(*dc, dc->penObj->colour));
        return TRUE;
    }
    if (r.left >= r.right || r.top >= r.bottom) return TRUE;
    std::vector<POINT> pts;
    EllipsePoints(r.left, r.top, r.right, r.bottom, pts);
    GdiOrder(pts, r);
    const bool brush = dc->brushObj && !dc->brushObj->isNull;
    if (brush && pts.size() > 2) {
        Region inside;
        const RECT rows = SurfaceRect(*dc);
        PolygonRegion(inside, pts.data(), static_cast<int>(pts.size()), WINDING, &rows);
        FillRegionBrush(*dc, inside, BrushInkFor(*dc, dc->brushObj->colour));
    }
    // The polygon leaves out the outline's right and lower pixels; without an outline to cover
    // them the brush takes the outline, so a null-pen ellipse keeps its full symmetric shape.
    if (brush && (!dc->penObj || dc->penObj->style == PS_NULL)) {
        const Pen* saved = dc->penObj;
        const Pen brushPen{PS_SOLID, 1, dc->brushObj->colour};
        dc->penObj = &brushPen;
        StrokePath(*dc, pts.data(), static_cast<int>(pts.size()), true);
        dc->penObj = saved;
        return TRUE;
    }
    StrokePath(*dc, pts.data(), static_cast<int>(pts.size()), true);
    return TRUE;
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    Dc* dc = LookupDc(hdc);
    if (!dc) return FALSE;
    const RECT box = FigureBox(left, top, right, bottom);
    const RECT r = PenBox(*dc, box);
    if (!dc->surface) return TRUE;
    if (r.left >= r.right || r.top >= r.bottom) return TRUE;
    const std::int64_t cx2 = static_cast<std::int64_t>(r.left) + r.right;
    const std::int64_t cy2 = static_cast<std::int64_t>(r.top) + r.bottom;
    // A radial point at the centre gives no direction; GDI then measures from angle zero.
    auto ray = [&](int x, int y) {
        const Vec v{2 * static_cast<std::int64_t>(x) - cx2, cy2 - 2 * static_cast<std::int64_t>(y)};
        return (v.x == 0 && v.y == 0) ? Vec{1, 0} : v;
    };
    const Vec start = ray(xStart, yStart), end = ray(xEnd, yEnd);
    // Equal rays mean the whole ellipse.
    const bool whole = Cross(start, end) == 0 && Dot(start, end) > 0;
    if (whole) {
        StrokeEllipseOutline(*dc, r);
        return TRUE;
    }
    std::vector<POINT> pts;
    EllipsePoints(r.left, r.top, r.right, r.bottom, pts);
    if (pts.empty()) return TRUE;
    // The outline comes clockwise on screen; walk it backwards to go counter-clockwise.
    std::vector<Vec> v(pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i)
        v[i] = Vec{2 * static_cast<std::int64_t>(pts[i].x) + 1 - cx2, cy2 - 2 * static_cast<std::int64_t>(pts[i].y) - 1};
    const std::size_t n = pts.size();
    // From the first point at or past the start ray to the last one short of the end ray,
    // which as the path's end is itself left out. This comes closest to GDI's arc ends; a pixel
    // or two at the ends can still differ.
    const std::size_t first = FirstPointFrom(v, start), last = LastPointBefore(v, end);
    std::vector<POINT> arc;
    for (std::size_t i = first;; i = (i + n - 1) % n) {
        arc.push_back(pts[i]);
        if (i == last || arc.size() > n) break;
    }
    StrokePath(*dc, arc.data(), static_cast<int>(arc.size()), false);
    return TRUE;
}

}  // namespace gdi
