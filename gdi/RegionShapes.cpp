// Regions of polygons and ellipses, scan-converted with GDI's rules.
// Polygons sample pixel corners (integer points): left and top edges in, right and bottom out.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "Raster_p.h"

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

void PolygonRegion(Region& r, const POINT* points, int count, int fillMode) {
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

// GDI's elliptic region leaves out the last column and row of the bounding box; its rows come
// from Zingl's integer ellipse walk over the remaining (width-1) x (height-1) box.
void EllipseRegion(Region& r, int left, int top, int right, int bottom) {
    const RECT n = Normalised(left, top, right, bottom);
    const int l = n.left, t = n.top, rr = n.right - 1, bb = n.bottom - 1;
    const int w = rr - l, h = bb - t;
    if (w < 2 || h < 2) {
        SetRectRegion(r, l, t, rr, bb);
        return;
    }
    std::vector<int> inset(static_cast<std::size_t>(h), 0);
    const std::int64_t a = w - 1, b = h - 1;
    const std::int64_t asq = 8 * a * a, bsq = 8 * b * b;
    std::int64_t dx = 4 * b * b * (1 - a);
    std::int64_t dy = 4 * a * a * (1 + (b % 2));
    std::int64_t err = dx + dy + a * a * (b % 2);
    int x = 0, y = h / 2;
    while (x <= w / 2) {
        const std::int64_t e2 = 2 * err;
        if (e2 >= dx) {
            ++x;
            err += dx += bsq;
        }
        if (e2 <= dy) {
            ++y;
            err += dy += asq;
            if (y >= h) break;
            inset[static_cast<std::size_t>(y)] = x;
        }
    }
    for (int i = 0; i < h / 2; ++i) inset[static_cast<std::size_t>(i)] = inset[static_cast<std::size_t>(b - i)];
    std::vector<Spans> rows(static_cast<std::size_t>(h));
    for (int i = 0; i < h; ++i) {
        const int k = inset[static_cast<std::size_t>(i)];
        MergeInto(rows[static_cast<std::size_t>(i)], l + k, rr - k);
    }
    RegionFromRows(r, t, rows);
}

}  // namespace gdi::detail
