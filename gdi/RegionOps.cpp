// Region algebra on y-x banded rectangles: every combination is one sweep over the bands of
// both operands, with vertically identical neighbouring bands merged so equal sets compare equal.
#include <algorithm>
#include <climits>
#include <vector>

#include "ObjectTable_p.h"

namespace gdi::detail {
namespace {

bool Keep(int mode, bool inA, bool inB) {
    switch (mode) {
        case RGN_AND: return inA && inB;
        case RGN_OR: return inA || inB;
        case RGN_XOR: return inA != inB;
        case RGN_DIFF: return inA && !inB;
        default: return inA;
    }
}

// The rectangles of r that make up the band covering [y0, y0+1), or an empty range.
struct BandCursor {
    const std::vector<RECT>& rects;
    std::size_t first = 0;
    void Seek(int y0, std::size_t& begin, std::size_t& end) {
        while (first < rects.size() && rects[first].bottom <= y0) ++first;
        begin = end = first;
        if (first >= rects.size() || rects[first].top > y0) return;
        const int top = rects[first].top;
        while (end < rects.size() && rects[end].top == top) ++end;
    }
};

int Boundary(const RECT* r, std::size_t count, std::size_t i) {
    if (i >= 2 * count) return INT_MAX;
    return (i % 2 == 0) ? r[i / 2].left : r[i / 2].right;
}

void AppendBand(std::vector<RECT>& out, std::size_t& lastBandStart, int y0, int y1,
                const std::vector<std::pair<int, int>>& spans) {
    if (spans.empty()) return;
    // Merge with the previous band when it ends here and has exactly the same spans.
    const std::size_t prevCount = out.size() - lastBandStart;
    if (prevCount == spans.size() && prevCount > 0 && out[lastBandStart].bottom == y0) {
        bool same = true;
        for (std::size_t i = 0; i < prevCount && same; ++i)
            same = out[lastBandStart + i].left == spans[i].first && out[lastBandStart + i].right == spans[i].second;
        if (same) {
            for (std::size_t i = lastBandStart; i < out.size(); ++i) out[i].bottom = y1;
            return;
        }
    }
    lastBandStart = out.size();
    for (const auto& s : spans) out.push_back(RECT{s.first, y0, s.second, y1});
}

void UpdateBox(Region& r) {
    if (r.rects.empty()) {
        r.box = RECT{};
        return;
    }
    RECT b{INT_MAX, r.rects.front().top, INT_MIN, r.rects.back().bottom};
    for (const RECT& x : r.rects) {
        b.left = std::min(b.left, x.left);
        b.right = std::max(b.right, x.right);
    }
    r.box = b;
}

}  // namespace

int RegionType(const Region& r) {
    if (r.rects.empty()) return NULLREGION;
    return r.rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void SetRectRegion(Region& r, int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    r.rects.clear();
    if (left < right && top < bottom) r.rects.push_back(RECT{left, top, right, bottom});
    UpdateBox(r);
}

void IndexBands(const Region& r, BandIndex& index) {
    index.first.clear();
    if (r.rects.empty()) return;
    index.top = r.box.top;
    const int rows = std::min(r.box.bottom - r.box.top, BandIndex::MaxRows);
    // Written in place rather than appended: an oval face selects its clip twice a redraw.
    index.first.resize(static_cast<std::size_t>(rows));
    std::uint32_t* const first = index.first.data();
    const RECT* const rects = r.rects.data();
    const std::size_t n = r.rects.size();
    // Bands come top to bottom, so one pass hands each row the first band not above it.
    std::size_t i = 0;
    for (int row = 0; row < rows; ++row) {
        const int y = r.box.top + row;
        while (i < n && rects[i].bottom <= y) ++i;
        first[row] = static_cast<std::uint32_t>(i);
    }
}

bool RegionContains(const Region& r, int x, int y) {
    if (x < r.box.left || x >= r.box.right || y < r.box.top || y >= r.box.bottom) return false;
    return BandHolds(r, FirstBandReaching(r, y), x, y);
}

void CombineRegions(Region& out, const Region& a, const Region& b, int mode) {
    if (mode == RGN_COPY) {
        if (&out != &a) out = a;
        return;
    }
    std::vector<int> ys;
    ys.reserve(2 * (a.rects.size() + b.rects.size()));
    for (const RECT& r : a.rects) ys.insert(ys.end(), {r.top, r.bottom});
    for (const RECT& r : b.rects) ys.insert(ys.end(), {r.top, r.bottom});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Region result;
    std::size_t lastBandStart = 0;
    BandCursor ca{a.rects}, cb{b.rects};
    std::vector<std::pair<int, int>> spans;
    for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
        const int y0 = ys[k], y1 = ys[k + 1];
        std::size_t a0, a1, b0, b1;
        ca.Seek(y0, a0, a1);
        cb.Seek(y0, b0, b1);
        const RECT* ra = a.rects.data() + a0;
        const RECT* rb = b.rects.data() + b0;
        const std::size_t na = a1 - a0, nb = b1 - b0;
        spans.clear();
        std::size_t i = 0, j = 0;
        bool inA = false, inB = false;
        int start = 0;
        while (i < 2 * na || j < 2 * nb) {
            const int x = std::min(Boundary(ra, na, i), Boundary(rb, nb, j));
            const bool before = Keep(mode, inA, inB);
            while (Boundary(ra, na, i) == x) { inA = !inA; ++i; }
            while (Boundary(rb, nb, j) == x) { inB = !inB; ++j; }
            const bool after = Keep(mode, inA, inB);
            if (!before && after) start = x;
            if (before && !after) spans.emplace_back(start, x);
        }
        AppendBand(result.rects, lastBandStart, y0, y1, spans);
    }
    UpdateBox(result);
    out = std::move(result);
}

void OffsetRegion(Region& r, int dx, int dy) {
    for (RECT& x : r.rects) {
        x.left += dx;
        x.right += dx;
        x.top += dy;
        x.bottom += dy;
    }
    UpdateBox(r);
}

// Builds a banded region from one span list per scanline (rows top to bottom, spans sorted, disjoint).
void RegionFromRows(Region& r, int top, const std::vector<std::vector<std::pair<int, int>>>& rows) {
    r.rects.clear();
    std::size_t lastBandStart = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int y = top + static_cast<int>(i);
        AppendBand(r.rects, lastBandStart, y, y + 1, rows[i]);
    }
    UpdateBox(r);
}

}  // namespace gdi::detail
