// Regions of polygons and ellipses, scan-converted with GDI's rules.
// Polygons sample pixel corners (integer points): left and top edges in, right and bottom out.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "Raster_p.h"
#include "Stroke_p.h"

namespace gdi::detail {
namespace {

using Spans = std::vector<std::pair<int, int>>;

// ceil(n / d) for d > 0.
std::int64_t CeilDiv(std::int64_t n, std::int64_t d) { return n >= 0 ? (n + d - 1) / d : -((-n) / d); }

struct Crossing {
    int x;
    int dir;
};

void MergeInto(Spans& out, int l, int r) {
    if (l >= r) return;
    if (!out.empty() && l <= out.back().second) {
        out.back().second = std::max(out.back().second, r);
        return;
    }
    out.emplace_back(l, r);
}

}  // namespace

void PolygonRegion(Region& r, const POINT* points, int count, int fillMode, const RECT* rowLimit) {
    r.rects.clear();
    if (!points || count < 3) {
        RegionFromRows(r, 0, {});
        return;
    }
    int minY = points[0].y, maxY = points[0].y;
    for (int i = 1; i < count; ++i) {
        minY = std::min(minY, static_cast<int>(points[i].y));
        maxY = std::max(maxY, static_cast<int>(points[i].y));
    }
    if (rowLimit) {
        minY = std::max(minY, static_cast<int>(rowLimit->top));
        maxY = std::min(maxY, static_cast<int>(rowLimit->bottom));
    }
    if (minY >= maxY) {
        RegionFromRows(r, 0, {});
        return;
    }
    std::vector<Spans> rows(static_cast<std::size_t>(maxY - minY));
    std::vector<Crossing> xs;
    for (int y = minY; y < maxY; ++y) {
        xs.clear();
        for (int i = 0; i < count; ++i) {
            POINT p = points[i], q = points[(i + 1) % count];
            if (p.y == q.y) continue;  // horizontal edges bound nothing
            int dir = 1;
            if (p.y > q.y) {
                std::swap(p, q);
                dir = -1;
            }
            if (y < p.y || y >= q.y) continue;
            const std::int64_t dy = q.y - p.y;
            const std::int64_t n = static_cast<std::int64_t>(p.x) * dy + static_cast<std::int64_t>(y - p.y) * (q.x - p.x);
            xs.push_back(Crossing{static_cast<int>(CeilDiv(n, dy)), dir});
        }
        std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        Spans& row = rows[static_cast<std::size_t>(y - minY)];
        if (fillMode == WINDING) {
            int winding = 0, start = 0;
            for (const Crossing& c : xs) {
                const int before = winding;
                winding += c.dir;
                if (before == 0 && winding != 0) start = c.x;
                if (before != 0 && winding == 0) MergeInto(row, start, c.x);
            }
        } else {
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2) MergeInto(row, xs[k].x, xs[k + 1].x);
        }
    }
    RegionFromRows(r, minY, rows);
}

// GDI's elliptic region leaves out the last column and row of the bounding box; each row of the
// rest spans the ellipse outline drawn in that smaller box (so a tall, narrow ellipse loses its
// tip rows, as GDI's does; its box, unlike GDI's, is then that of the pixels).
void EllipseRegion(Region& r, int left, int top, int right, int bottom) {
    const RECT n = Normalised(left, top, right, bottom);
    const int l = n.left, t = n.top, rr = n.right - 1, bb = n.bottom - 1;
    if (rr - l > MaxShapeExtent || bb - t > MaxShapeExtent) {
        SetRectRegion(r, 0, 0, 0, 0);
        return;
    }
    if (rr - l < 2 || bb - t < 2) {
        SetRectRegion(r, l, t, rr, bb);
        return;
    }
    std::vector<POINT> outline;
    EllipsePoints(l, t, rr, bb, outline);
    std::vector<Spans> rows(static_cast<std::size_t>(bb - t));
    std::vector<std::pair<int, int>> extent(rows.size(), {INT_MAX, INT_MIN});
    for (const POINT& p : outline) {
        auto& e = extent[static_cast<std::size_t>(p.y - t)];
        e.first = std::min(e.first, static_cast<int>(p.x));
        e.second = std::max(e.second, static_cast<int>(p.x) + 1);
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (extent[i].first < extent[i].second) MergeInto(rows[i], extent[i].first, extent[i].second);
    RegionFromRows(r, t, rows);
}

}  // namespace gdi::detail
