// Pen strokes: Bresenham lines with GDI's tie-breaking, cosmetic dash patterns, and wide pens
// built as a region (segment bodies plus round joins and caps) filled in the pen colour.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Stroke_p.h"

namespace gdi::detail {
namespace {

struct Dashes {
    int count;
    int lengths[6];
};
// On/off run lengths of GDI's cosmetic pen styles, starting with a dash.
constexpr Dashes DashPatterns[4] = {
    {2, {18, 6}},                  // PS_DASH
    {2, {3, 3}},                   // PS_DOT
    {4, {9, 6, 3, 6}},             // PS_DASHDOT
    {6, {9, 3, 3, 3, 3, 3}},       // PS_DASHDOTDOT
};

// Unsigned 128-bit products in two halves: 32-bit targets have no 128-bit integer, and a line
// across the whole coordinate range needs one.
struct U128 {
    std::uint64_t hi, lo;
};
constexpr U128 Multiply(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t low = 0xFFFFFFFFu;
    const std::uint64_t ll = (a & low) * (b & low), lh = (a & low) * (b >> 32);
    const std::uint64_t hl = (a >> 32) * (b & low), hh = (a >> 32) * (b >> 32);
    const std::uint64_t mid = (ll >> 32) + (lh & low) + (hl & low);
    return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & low)};
}
constexpr U128 Add(U128 a, std::uint64_t b) {
    const std::uint64_t lo = a.lo + b;
    return {a.hi + (lo < a.lo ? 1u : 0u), lo};
}
constexpr bool LessOrEqual(U128 a, U128 b) { return a.hi != b.hi ? a.hi < b.hi : a.lo <= b.lo; }
// floor(n / d) for d > 0 when the quotient fits in 64 bits, by long division.
constexpr std::uint64_t Divide(U128 n, std::uint64_t d) {
    std::uint64_t rem = 0, quotient = 0;
    for (int i = 127; i >= 0; --i) {
        const bool carry = (rem >> 63) != 0;
        const std::uint64_t bit = i >= 64 ? (n.hi >> (i - 64)) & 1u : (n.lo >> i) & 1u;
        rem = (rem << 1) | bit;
        quotient <<= 1;
        if (carry || rem >= d) {
            rem -= d;  // exact: the true remainder is below d
            quotient |= 1u;
        }
    }
    return quotient;
}
static_assert(Multiply(std::uint64_t{1} << 32, std::uint64_t{1} << 32).hi == 1);
static_assert(Divide(Multiply(~std::uint64_t{0}, 6), 6) == ~std::uint64_t{0});
static_assert(Divide(Add(Multiply(std::uint64_t{1} << 40, std::uint64_t{1} << 40), 5), std::uint64_t{1} << 20) ==
              std::uint64_t{1} << 60);

// Octants numbered as GDI's line code numbers them (y down): 1 is dx > dy > 0, counting clockwise.
int Octant(std::int64_t dx, std::int64_t dy) {
    if (dy > 0) {
        if (dx > 0) return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0) return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

class CosmeticPen {
public:
    CosmeticPen(Dc& dc, const Pen& pen) : dc_(dc) {
        ink_ = InkForDrawing(dc, pen.colour);
        if (pen.style >= PS_DASH && pen.style <= PS_DASHDOTDOT) {
            dashes_ = &DashPatterns[pen.style - PS_DASH];
            left_ = dashes_->lengths[0];
            opaqueGaps_ = dc.bkMode == OPAQUE;
            gapInk_ = InkForDrawing(dc, dc.bkColour);
            // On a monochrome surface the gaps must stay visible: a background colour other
            // than the pen's that would land on the pen's bit takes the other one.
            if (dc.surface && dc.surface->bitsPerPixel == 1) {
                gapInk_ = Ink{NearestMono(dc.bkColour)};
                if ((pen.colour & 0x00FFFFFF) != (dc.bkColour & 0x00FFFFFF) && gapInk_.pixel == ink_.pixel)
                    gapInk_.pixel ^= 1;
            }
        }
    }

    // All pixels from a up to, not including, b. Steps off the surface are skipped in closed
    // form (the dash pattern still advances), so far-away end points cost nothing.
    void Line(POINT a, POINT b) {
        const std::int64_t dx = std::int64_t{b.x} - a.x, dy = std::int64_t{b.y} - a.y;
        if (dx == 0 && dy == 0) return;
        if (!dashes_ && (dy == 0 || dx == 0)) {
            FastStraight(a, dx, dy);
            return;
        }
        const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
        const int octant = Octant(dx, dy);
        // Ties (the line passing exactly between two pixels) step in octants 3, 5, 6 and 8 only.
        const int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
        const bool xMajor = adx > ady;
        const std::int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
        const int majorInc = (xMajor ? dx : dy) > 0 ? 1 : -1, minorInc = (xMajor ? dy : dx) > 0 ? 1 : -1;
        const std::int64_t majorStart = xMajor ? a.x : a.y, minorStart = xMajor ? a.y : a.x;
        const std::int64_t limit = xMajor ? dc_.surface->width : dc_.surface->height;
        std::int64_t kLo, kHi;
        if (majorInc > 0) {
            kLo = std::max<std::int64_t>(0, -majorStart);
            kHi = std::min(major, limit - majorStart);
        } else {
            kLo = std::max<std::int64_t>(0, majorStart - limit + 1);
            kHi = std::min(major, majorStart + 1);
        }
        if (kLo >= kHi) {
            SkipDashes(major);
            return;
        }
        SkipDashes(kLo);
        // Minor steps taken before step k: floor((2*minor*k + major - 1 + bias) / (2*major)).
        // All terms are non-negative; the error term is small, so it is exact in wrapping arithmetic.
        const std::uint64_t uMinor = static_cast<std::uint64_t>(minor), uMajor = static_cast<std::uint64_t>(major);
        const std::uint64_t taken =
            Divide(Add(Multiply(2 * uMinor, static_cast<std::uint64_t>(kLo)), uMajor - 1 + bias), 2 * uMajor);
        std::int64_t err = static_cast<std::int64_t>(2 * uMinor * static_cast<std::uint64_t>(kLo + 1) - uMajor -
                                                     2 * uMajor * taken);
        std::int64_t pMajor = majorStart + kLo * majorInc;
        std::int64_t pMinor = minorStart + static_cast<std::int64_t>(taken) * minorInc;
        for (std::int64_t k = kLo; k < kHi; ++k) {
            if (xMajor)
                Put(static_cast<int>(pMajor), static_cast<int>(pMinor));
            else
                Put(static_cast<int>(pMinor), static_cast<int>(pMajor));
            if (err + bias > 0) {
                pMinor += minorInc;
                err += 2 * minor - 2 * major;
            } else {
                err += 2 * minor;
            }
            pMajor += majorInc;
        }
        SkipDashes(major - kHi);
    }

    void Put(int x, int y) {
        if (!dashes_) {
            Plot(dc_, x, y, ink_);
            return;
        }
        const bool on = (index_ % 2) == 0;
        if (on)
            Plot(dc_, x, y, ink_);
        else if (opaqueGaps_)
            Plot(dc_, x, y, gapInk_);
        if (--left_ == 0) {
            index_ = (index_ + 1) % dashes_->count;
            left_ = dashes_->lengths[index_];
        }
    }

    void SkipDashes(std::int64_t n) {
        if (!dashes_ || n <= 0) return;
        int period = 0;
        for (int i = 0; i < dashes_->count; ++i) period += dashes_->lengths[i];
        for (std::int64_t i = n % period; i > 0; --i) {
            if (--left_ == 0) {
                index_ = (index_ + 1) % dashes_->count;
                left_ = dashes_->lengths[index_];
            }
        }
    }

private:
    void FastStraight(POINT a, std::int64_t dx, std::int64_t dy) {
        // Clamped to a little beyond the surface so far-away ends cannot overflow a RECT.
        auto c = [](std::int64_t v) { return static_cast<LONG>(std::clamp<std::int64_t>(v, -1, 1 << 30)); };
        const std::int64_t x = a.x, y = a.y;
        RECT r;
        if (dy == 0)
            r = dx > 0 ? RECT{c(x), c(y), c(x + dx), c(y + 1)} : RECT{c(x + dx + 1), c(y), c(x + 1), c(y + 1)};
        else
            r = dy > 0 ? RECT{c(x), c(y), c(x + 1), c(y + dy)} : RECT{c(x), c(y + dy + 1), c(x + 1), c(y + 1)};
        FillSolid(dc_, r, ink_);
    }

    Dc& dc_;
    Ink ink_;
    Ink gapInk_;
    bool opaqueGaps_ = false;
    const Dashes* dashes_ = nullptr;
    int index_ = 0;
    int left_ = 0;
};

// The body of one wide segment, ending flat at both end points (the round caps and joins are
// added separately). Straight segments are exact rectangles whose extra pixel of an even width
// lies above or left of the centre line; slanted ones are the offset parallelogram (offsets
// rounded to the nearest pixel).
void SegmentRegion(Region& out, POINT a, POINT b, int width, const RECT& rows) {
    const int lo = width / 2, hi = width - width / 2;
    if (a.y == b.y) {
        SetRectRegion(out, std::min(a.x, b.x), a.y - lo, std::max(a.x, b.x) + 1, a.y + hi);
        return;
    }
    if (a.x == b.x) {
        SetRectRegion(out, a.x - lo, std::min(a.y, b.y), a.x + hi, std::max(a.y, b.y) + 1);
        return;
    }
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    const std::int64_t lenSq = dx * dx + dy * dy;
    // The pen's extent across the line, split into a narrow and a wide half:
    // narrow = round(extent / 2), wide = round((extent + 1) / 2), with
    // extent = width * |d| / length; found exactly by comparing squares.
    const auto uLenSq = static_cast<std::uint64_t>(lenSq);
    auto halves = [&](std::int64_t d, std::int64_t& narrow, std::int64_t& wide) {
        const auto reach = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(d);
        const U128 target = Multiply(reach, reach);
        narrow = 0;
        while (LessOrEqual(Multiply(static_cast<std::uint64_t>((2 * narrow + 1) * (2 * narrow + 1)), uLenSq), target))
            ++narrow;
        wide = 1;
        while (LessOrEqual(Multiply(static_cast<std::uint64_t>(4 * wide * wide), uLenSq), target)) ++wide;
    };
    std::int64_t nx, wx, ny, wy;
    halves(dy < 0 ? -dy : dy, nx, wx);
    halves(dx < 0 ? -dx : dx, ny, wy);
    if (dx < 0) {
        ny = -ny;
        wy = -wy;
    }
    if (dy < 0) {
        std::swap(nx, wx);
        std::swap(ny, wy);
        nx = -nx;
        wx = -wx;
    }
    const POINT quad[4] = {{static_cast<LONG>(a.x - nx), static_cast<LONG>(a.y + ny)},
                           {static_cast<LONG>(a.x + wx), static_cast<LONG>(a.y - wy)},
                           {static_cast<LONG>(b.x + wx), static_cast<LONG>(b.y - wy)},
                           {static_cast<LONG>(b.x - nx), static_cast<LONG>(b.y + ny)}};
    PolygonRegion(out, quad, 4, ALTERNATE, &rows);
}

void WideStroke(Dc& dc, const Pen& pen, const POINT* points, int count, bool closed) {
    // Ends far outside the surface are pulled in to 29 bits so the geometry cannot overflow;
    // only absurd coordinates are affected. Rows off the surface are never scan-converted.
    const int w = std::min(pen.width, MaxShapeExtent);
    const RECT rows{0, -w, 0, dc.surface->height + w};
    auto pull = [](POINT p) {
        constexpr int m = 1 << 29;
        return POINT{std::clamp(p.x, -m, m), std::clamp(p.y, -m, m)};
    };
    // The pieces (segment bodies and round joins) overlap heavily; uniting them one by one would
    // cost a pass over the growing outline per piece, so their spans are gathered per row and
    // merged once.
    int lowY = rows.bottom, highY = rows.top;
    for (int i = 0; i < count; ++i) {
        lowY = std::min(lowY, pull(points[i]).y);
        highY = std::max(highY, pull(points[i]).y);
    }
    const int top = std::max(rows.top, lowY - w - 1), bottom = std::min(rows.bottom, highY + w + 2);
    if (top >= bottom) return;
    std::vector<std::vector<std::pair<int, int>>> spans(static_cast<std::size_t>(bottom - top));
    Region piece;
    auto gather = [&] {
        for (const RECT& r : piece.rects)
            for (int y = std::max(r.top, top); y < std::min(r.bottom, bottom); ++y)
                spans[static_cast<std::size_t>(y - top)].emplace_back(r.left, r.right);
    };
    const int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        const POINT a = pull(points[i]), b = pull(points[(i + 1) % count]);
        SegmentRegion(piece, a, b, w, rows);
        gather();
    }
    // A round cap or join: the pen's circle centred on the point. The circle's region depends
    // only on the pen's width, so it is built once and moved to each point.
    Region disc;
    EllipseRegion(disc, -(w / 2), -(w / 2), -(w / 2) + w + 1, -(w / 2) + w + 1);
    for (int i = 0; i < count; ++i) {
        const POINT p = pull(points[i]);
        if (p.y + w < rows.top || p.y - w >= rows.bottom) continue;
        for (const RECT& r : disc.rects)
            for (int y = std::max(r.top + p.y, top); y < std::min(r.bottom + p.y, bottom); ++y)
                spans[static_cast<std::size_t>(y - top)].emplace_back(r.left + p.x, r.right + p.x);
    }
    for (auto& row : spans) {
        if (row.size() < 2) continue;
        std::sort(row.begin(), row.end());
        std::size_t kept = 0;
        for (std::size_t i = 1; i < row.size(); ++i) {
            if (row[i].first <= row[kept].second)
                row[kept].second = std::max(row[kept].second, row[i].second);
            else
                row[++kept] = row[i];
        }
        row.resize(kept + 1);
    }
    Region shape;
    RegionFromRows(shape, top, spans);
    FillRegion(dc, shape, InkForDrawing(dc, pen.colour));
}

}  // namespace

void StrokePath(Dc& dc, const POINT* points, int count, bool closed) {
    const Pen* pen = dc.penObj;
    if (!pen || pen->style == PS_NULL || count < 1 || !dc.surface) return;
    if (pen->width > 1) {
        WideStroke(dc, *pen, points, count, closed);
        return;
    }
    CosmeticPen p(dc, *pen);
    if (closed && std::all_of(points, points + count, [&](POINT q) { return q == points[0]; })) {
        // A closed outline shrunk to one point (a 1x1 rectangle or ellipse) is that pixel.
        p.Put(points[0].x, points[0].y);
        return;
    }
    for (int i = 0; i + 1 < count; ++i) p.Line(points[i], points[i + 1]);
    if (closed && count > 1) p.Line(points[count - 1], points[0]);
}

void EllipsePoints(int left, int top, int right, int bottom, std::vector<POINT>& out) {
    out.clear();
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0 || width > MaxShapeExtent || height > MaxShapeExtent) return;
    // One quadrant (bottom right) by Zingl's integer ellipse walk, mirrored to the others.
    std::vector<POINT> q;
    const std::int64_t a = width - 1, b = height - 1;
    const std::int64_t asq = 8 * a * a, bsq = 8 * b * b;
    std::int64_t dx = 4 * b * b * (1 - a);
    std::int64_t dy = 4 * a * a * (1 + (b % 2));
    std::int64_t err = dx + dy + a * a * (b % 2);
    POINT pt{static_cast<LONG>(a), height / 2};
    while (pt.x >= width / 2 && pt.y < height) {
        q.push_back(pt);
        const std::int64_t e2 = 2 * err;
        if (e2 >= dx) {
            --pt.x;
            err += dx += bsq;
        }
        if (e2 <= dy) {
            ++pt.y;
            err += dy += asq;
        }
    }
    auto push = [&](int x, int y) {
        const POINT p{left + x, top + y};
        if (out.empty() || !(out.back() == p)) out.push_back(p);
    };
    const int n = static_cast<int>(q.size());
    const int W = width - 1, H = height - 1;
    for (int i = 0; i < n; ++i) push(q[i].x, q[i].y);
    for (int i = n - 1; i >= 0; --i) push(W - q[i].x, q[i].y);
    for (int i = 0; i < n; ++i) push(W - q[i].x, H - q[i].y);
    for (int i = n - 1; i >= 0; --i) push(q[i].x, H - q[i].y);
    while (out.size() > 1 && out.back() == out.front()) out.pop_back();
}

RECT PenBox(const Dc& dc, RECT r) {
    if (dc.penObj && dc.penObj->style == PS_INSIDEFRAME && dc.penObj->width > 1) {
        const int w = dc.penObj->width;
        r.left += w / 2;
        r.top += w / 2;
        r.right -= (w - 1) / 2;
        r.bottom -= (w - 1) / 2;
    }
    return r;
}

bool FrameCoversFigure(const Dc& dc, const RECT& box, const RECT& shrunk) {
    const bool wideInsideFrame = dc.penObj && dc.penObj->style == PS_INSIDEFRAME && dc.penObj->width > 1;
    return wideInsideFrame && box.left < box.right && box.top < box.bottom &&
           (shrunk.left >= shrunk.right || shrunk.top >= shrunk.bottom);
}

}  // namespace gdi::detail
