// Pen strokes: Bresenham lines with GDI's tie-breaking, cosmetic dash patterns, and wide pens
// built as a region (segment bodies plus round joins and caps) filled in the pen colour.
#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <type_traits>
#include <vector>

#include "Stroke_p.h"

namespace gdi::detail {
namespace {

// Whether the pen draws a solid one-pixel line (every cosmetic pen but the dashed ones).
inline bool SolidCosmetic(const Pen& pen) {
    return pen.width <= 1 && pen.style != PS_NULL && (pen.style < PS_DASH || pen.style > PS_DASHDOTDOT);
}
// The pixels of the straight line from a to b (b left out; one coordinate shared), as a rectangle:
// empty when a is b. A step past the largest coordinate stays on it: that pixel lies off every surface.
inline RECT StraightSpan(POINT a, POINT b) {
    auto next = [](LONG v) { return v < INT_MAX ? v + 1 : v; };
    if (a.y == b.y) return b.x > a.x ? RECT{a.x, a.y, b.x, next(a.y)} : RECT{next(b.x), a.y, next(a.x), next(a.y)};
    return b.y > a.y ? RECT{a.x, a.y, next(a.x), b.y} : RECT{a.x, next(b.y), next(a.x), next(a.y)};
}

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
    // Every line that starts on the surface or near it: one machine division.
    if (n.hi == 0) return n.lo / d;
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

// Minor steps a line takes before its step k: floor((2*minor*k + major - 1 + bias) / (2*major)).
std::uint64_t MinorStepsBefore(std::uint64_t minor, std::uint64_t major, int bias, std::uint64_t k) {
    return Divide(Add(Multiply(2 * minor, k), major - 1 + static_cast<std::uint64_t>(bias)), 2 * major);
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
            FillSolid(dc_, StraightSpan(a, b), ink_);
            return;
        }
        Stepped(a, dx, dy);
    }

    // A slanted or dashed line, step by step: out of line, so that straight solid lines (a
    // bevel's, a frame's) stay short where the path is walked.
    [[gnu::noinline]] void Stepped(POINT a, std::int64_t dx, std::int64_t dy) {
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
        const std::uint64_t uMinor = static_cast<std::uint64_t>(minor), uMajor = static_cast<std::uint64_t>(major);
        const std::uint64_t taken = MinorStepsBefore(uMinor, uMajor, bias, static_cast<std::uint64_t>(kLo));
        // All terms are non-negative; the error term is small, so it is exact in wrapping arithmetic.
        std::int64_t err = static_cast<std::int64_t>(2 * uMinor * static_cast<std::uint64_t>(kLo + 1) - uMajor -
                                                     2 * uMajor * taken);
        std::int64_t pMajor = majorStart + kLo * majorInc;
        std::int64_t pMinor = minorStart + static_cast<std::int64_t>(taken) * minorInc;
        if (!dashes_ && !dc_.hasClip && dc_.surface->bitsPerPixel == 32) {
            // The minor coordinate of the last step, from the steps taken before it.
            const std::int64_t lastMinor =
                pMinor + minorInc * static_cast<std::int64_t>(
                                        MinorStepsBefore(uMinor, uMajor, bias, static_cast<std::uint64_t>(kHi - 1)) - taken);
            UnclippedRun(kLo, kHi, xMajor, pMajor, pMinor, lastMinor, majorInc, minorInc, err, bias, major, minor);
            return;
        }
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
    // Steps kLo..kHi of a solid line with no clip: the major coordinate is already on the surface,
    // so only the minor one is tested, inline, and the pixel is written through its index. The
    // bevel's slanted edges and every unclipped outline come here.
    void UnclippedRun(std::int64_t kLo, std::int64_t kHi, bool xMajor, std::int64_t pMajor, std::int64_t pMinor,
                      std::int64_t lastMinor, int majorInc, int minorInc, std::int64_t err, int bias,
                      std::int64_t major, std::int64_t minor) {
        Bitmap& s = *dc_.surface;
        const std::int64_t minorLimit = xMajor ? s.height : s.width;
        // The minor coordinate moves one way only: when it is off the same side at both ends,
        // nothing shows. Otherwise it stays within a surface's extent of the surface, so the
        // index below cannot overflow.
        if ((pMinor < 0 && lastMinor < 0) || (pMinor >= minorLimit && lastMinor >= minorLimit)) return;
        const std::int64_t stride = s.width;
        const std::int64_t majorStep = xMajor ? majorInc : majorInc * stride;
        const std::int64_t minorStep = xMajor ? minorInc * stride : minorInc;
        std::int64_t at = xMajor ? pMinor * stride + pMajor : pMajor * stride + pMinor;
        std::uint32_t* const pixels = s.pixels32.data();
        const std::uint32_t pixel = ink_.pixel;
        auto run = [&](auto checked) {
            for (std::int64_t k = kLo; k < kHi; ++k) {
                if (!checked || static_cast<std::uint64_t>(pMinor) < static_cast<std::uint64_t>(minorLimit))
                    pixels[static_cast<std::size_t>(at)] = pixel;
                if (err + bias > 0) {
                    pMinor += minorInc;
                    at += minorStep;
                    err += 2 * minor - 2 * major;
                } else {
                    err += 2 * minor;
                }
                at += majorStep;
            }
        };
        // Most lines lie wholly on the surface and need no test at all.
        if (pMinor >= 0 && pMinor < minorLimit && lastMinor >= 0 && lastMinor < minorLimit)
            run(std::false_type{});
        else
            run(std::true_type{});
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
void SegmentRegion(Region& out, POINT a, POINT b, int width, const RECT* rows) {
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
    PolygonRegion(out, quad, 4, ALTERNATE, rows);
}

// Pixels [left, right) of row y, relative to a point of the stroke.
struct Span {
    int y, left, right;
    std::uint64_t bits;  // right - left low bits set when the span is at most 64 wide, else 0
};

// The pieces one point of a stroke adds (its round join and the body of the one-pixel step
// after it), merged per row once so each point marks a few rows.
struct Stamp {
    std::vector<Span> spans;
    RECT box{};  // of the spans, relative to the point

    void Add(const Region& r) {
        for (const RECT& x : r.rects)
            for (int y = x.top; y < x.bottom; ++y) spans.push_back(Span{y, x.left, x.right, 0});
    }
    void Merge() {
        std::sort(spans.begin(), spans.end(),
                  [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.left < b.left; });
        std::size_t kept = 0;
        for (std::size_t i = 1; i < spans.size(); ++i) {
            Span& last = spans[kept];
            if (spans[i].y == last.y && spans[i].left <= last.right)
                last.right = std::max(last.right, spans[i].right);
            else
                spans[++kept] = spans[i];
        }
        if (!spans.empty()) spans.resize(kept + 1);
        for (Span& x : spans) {
            const int n = x.right - x.left;
            x.bits = n > 64 ? 0 : ~std::uint64_t{0} >> (64 - n);
        }
        box = spans.empty() ? RECT{} : RECT{spans.front().left, spans.front().y, spans.front().right, spans.back().y + 1};
        for (const Span& x : spans) {
            box.left = std::min(box.left, x.left);
            box.right = std::max(box.right, x.right);
        }
    }
};

// A round cap or join is the pen's circle centred on the point, and a segment's body depends
// only on its direction and the pen. So a point followed by a one-pixel step (all of an
// outline's) takes one of nine stamps. They depend on the width alone, and an outline drawn
// again (each redraw of an oval button) has the same width, so the last width's are kept.
struct PenStamps {
    int width = 0;
    Region disc;
    Stamp join;
    Stamp steps[3][3];  // by dx + 1, dy + 1; [1][1] is a repeated point

    const Stamp& Step(int dx, int dy) {
        Stamp& stamp = steps[dx + 1][dy + 1];
        if (stamp.spans.empty()) {
            Region body;
            SegmentRegion(body, POINT{0, 0}, POINT{dx, dy}, width, nullptr);
            stamp.Add(body);
            stamp.Add(disc);
            stamp.Merge();
        }
        return stamp;
    }
};

// The runs of the last ellipse outlined with a wide pen, and what decided them: the outline's
// box, the pen's width and the surface's size (the runs are cut to it). The clip and the colour
// are applied when the runs are filled.
struct KeptOutline {
    RECT box{};
    int width = 0;
    int surfaceWidth = -1;
    int surfaceHeight = -1;
    std::vector<RECT> runs;

    bool Matches(const RECT& r, int w, const Bitmap& s) const {
        return box == r && width == w && surfaceWidth == s.width && surfaceHeight == s.height;
    }
};

}  // namespace

struct StrokeKeep {
    PenStamps stamps;
    KeptOutline outline;
};

namespace {

StrokeKeep& KeepOf(Dc& dc) {
    if (!dc.strokes) dc.strokes = std::make_shared<StrokeKeep>();
    return *dc.strokes;
}

PenStamps& StampsFor(Dc& dc, int width) {
    PenStamps& stamps = KeepOf(dc).stamps;
    if (stamps.width != width) {
        stamps = PenStamps{};
        stamps.width = width;
        EllipseRegion(stamps.disc, -(width / 2), -(width / 2), -(width / 2) + width + 1, -(width / 2) + width + 1);
        stamps.join.Add(stamps.disc);
        stamps.join.Merge();
    }
    return stamps;
}

// The pixels a wide stroke covers, as one bit a pixel over the part of the surface it can
// reach. Its pieces overlap heavily: marking them is cheaper than gathering and merging their
// spans, and pixels off the surface need no place at all.
class Coverage {
public:
    explicit Coverage(const RECT& box)
        : box_(box),
          words_(static_cast<std::size_t>(box.right - box.left + 63) / 64),
          bits_(words_ * static_cast<std::size_t>(box.bottom - box.top)) {}

    // Whatever lies outside the box is dropped.
    void Mark(const RECT& r, int dx, int dy) {
        const int left = std::max(r.left + dx, box_.left), right = std::min(r.right + dx, box_.right);
        if (left >= right) return;
        const int top = std::max(r.top + dy, box_.top), bottom = std::min(r.bottom + dy, box_.bottom);
        for (int y = top; y < bottom; ++y) MarkRow(y, left, right);
    }

    void Mark(const Stamp& s, POINT at) {
        if (at.x + s.box.left >= box_.left && at.x + s.box.right <= box_.right && at.y + s.box.top >= box_.top &&
            at.y + s.box.bottom <= box_.bottom) {
            for (const Span& x : s.spans) {
                if (x.bits)
                    MarkShort(at.y + x.y, at.x + x.left, x.bits);
                else
                    MarkRow(at.y + x.y, at.x + x.left, at.x + x.right);
            }
            return;
        }
        for (const Span& x : s.spans) Mark(RECT{x.left, x.y, x.right, x.y + 1}, at.x, at.y);
    }

    // Calls f(left, y, right) for every run of covered pixels, row by row.
    template <typename F>
    void ForEachRun(F&& f) const {
        const std::size_t end = words_ * 64;
        for (int y = box_.top; y < box_.bottom; ++y) {
            const std::uint64_t* row = Row(y);
            std::size_t x = 0;
            while (x < end) {
                const std::size_t start = NextBit(row, x, true);
                if (start >= end) break;
                x = NextBit(row, start, false);
                f(box_.left + static_cast<int>(start), y, box_.left + static_cast<int>(x));
            }
        }
    }

private:
    const std::uint64_t* Row(int y) const { return bits_.data() + static_cast<std::size_t>(y - box_.top) * words_; }

    // The pixels of bits from left on in row y, all inside the box: one word or two.
    void MarkShort(int y, int left, std::uint64_t bits) {
        std::uint64_t* row = bits_.data() + static_cast<std::size_t>(y - box_.top) * words_;
        const auto first = static_cast<unsigned>(left - box_.left);
        const unsigned shift = first % 64;
        row[first / 64] |= bits << shift;
        // Spilled bits lie inside the box, so the next word is in the row.
        if (shift != 0 && (bits >> (64 - shift)) != 0) row[first / 64 + 1] |= bits >> (64 - shift);
    }

    // Pixels [left, right) of row y, all inside the box.
    void MarkRow(int y, int left, int right) {
        std::uint64_t* row = bits_.data() + static_cast<std::size_t>(y - box_.top) * words_;
        const auto first = static_cast<unsigned>(left - box_.left), last = static_cast<unsigned>(right - box_.left - 1);
        const unsigned a = first / 64, b = last / 64;
        const std::uint64_t head = ~std::uint64_t{0} << (first % 64);
        const std::uint64_t tail = ~std::uint64_t{0} >> (63 - last % 64);
        if (a == b) {
            row[a] |= head & tail;
            return;
        }
        row[a] |= head;
        for (unsigned i = a + 1; i < b; ++i) row[i] = ~std::uint64_t{0};
        row[b] |= tail;
    }

    // The first position at or after x whose bit is set (or clear); the row's end if none.
    std::size_t NextBit(const std::uint64_t* row, std::size_t x, bool set) const {
        std::size_t i = x / 64;
        std::uint64_t w = (set ? row[i] : ~row[i]) & (~std::uint64_t{0} << (x % 64));
        while (w == 0) {
            if (++i == words_) return words_ * 64;
            w = set ? row[i] : ~row[i];
        }
        return i * 64 + static_cast<std::size_t>(std::countr_zero(w));
    }

    RECT box_;
    std::size_t words_;
    std::vector<std::uint64_t> bits_;
};

// Calls run(left, y, right) for every run of pixels a pen of the given width covers along the
// points, cut to the surface.
template <typename F>
void ForEachWideRun(Dc& dc, int width, const POINT* points, int count, bool closed, F&& run) {
    const int w = std::min(width, MaxShapeExtent);
    // Only the part of the surface within the pen's reach of the points is ever marked.
    int lowX = points[0].x, highX = lowX, lowY = points[0].y, highY = lowY;
    for (int i = 1; i < count; ++i) {
        lowX = std::min(lowX, points[i].x);
        highX = std::max(highX, points[i].x);
        lowY = std::min(lowY, points[i].y);
        highY = std::max(highY, points[i].y);
    }
    // Ends far outside the surface are pulled in to 29 bits so the geometry cannot overflow;
    // only absurd coordinates are affected, so the common stroke skips the pulling.
    constexpr int m = 1 << 29;
    const bool far = lowX < -m || lowY < -m || highX > m || highY > m;
    auto at = [&](int i) {
        const POINT p = points[i];
        return far ? POINT{std::clamp(p.x, -m, m), std::clamp(p.y, -m, m)} : p;
    };
    const RECT box{std::max(0, std::max(lowX, -m) - w - 1), std::max(0, std::max(lowY, -m) - w - 1),
                   std::min(dc.surface->width, std::min(highX, m) + w + 2),
                   std::min(dc.surface->height, std::min(highY, m) + w + 2)};
    if (box.left >= box.right || box.top >= box.bottom) return;
    Coverage covered(box);

    PenStamps& stamps = StampsFor(dc, w);
    Region piece;
    const int segments = closed ? count : count - 1;
    for (int i = 0; i < count; ++i) {
        const POINT a = at(i);
        if (i >= segments) {
            covered.Mark(stamps.join, a);
            continue;
        }
        const POINT b = at((i + 1) % count);
        const int dx = b.x - a.x, dy = b.y - a.y;
        if (dx < -1 || dx > 1 || dy < -1 || dy > 1) {
            SegmentRegion(piece, a, b, w, &box);
            for (const RECT& r : piece.rects) covered.Mark(r, 0, 0);
            covered.Mark(stamps.join, a);
            continue;
        }
        covered.Mark(stamps.Step(dx, dy), a);
    }
    covered.ForEachRun(run);
}

void WideStroke(Dc& dc, const Pen& pen, const POINT* points, int count, bool closed) {
    const Ink ink = InkForDrawing(dc, pen.colour);
    ForEachWideRun(dc, pen.width, points, count, closed,
                   [&](int left, int y, int right) { FillSolid(dc, RECT{left, y, right, y + 1}, ink); });
}

}  // namespace

void StrokeEllipseOutline(Dc& dc, const RECT& r) {
    const Pen* pen = dc.penObj;
    if (!pen || pen->style == PS_NULL || !dc.surface) return;
    std::vector<POINT> pts;
    if (pen->width <= 1) {
        // A cosmetic pen's dashes depend on where the outline starts, so it keeps GDI's order.
        EllipsePoints(r.left, r.top, r.right, r.bottom, pts);
        GdiOrder(pts, r);
        StrokePath(dc, pts.data(), static_cast<int>(pts.size()), true);
        return;
    }
    // A wide pen covers the same pixels wherever the closed outline starts.
    KeptOutline& kept = KeepOf(dc).outline;
    if (!kept.Matches(r, pen->width, *dc.surface)) {
        kept = KeptOutline{r, pen->width, dc.surface->width, dc.surface->height, {}};
        EllipsePoints(r.left, r.top, r.right, r.bottom, pts);
        if (!pts.empty())
            ForEachWideRun(dc, pen->width, pts.data(), static_cast<int>(pts.size()), true,
                           [&](int left, int y, int right) { kept.runs.push_back(RECT{left, y, right, y + 1}); });
    }
    const Ink ink = InkForDrawing(dc, pen->colour);
    for (const RECT& run : kept.runs) FillSolid(dc, run, ink);
}

void GdiOrder(std::vector<POINT>& pts, const RECT& box) {
    std::reverse(pts.begin(), pts.end());
    const POINT start{box.right - 1, box.top + (box.bottom - box.top - 1) / 2};
    const auto it = std::find(pts.begin(), pts.end(), start);
    if (it != pts.end()) std::rotate(pts.begin(), it, pts.end());
}

void StrokePath(Dc& dc, const POINT* points, int count, bool closed) {
    const Pen* pen = dc.penObj;
    if (!pen || pen->style == PS_NULL || count < 1 || !dc.surface) return;
    if (pen->width > 1) {
        WideStroke(dc, *pen, points, count, closed);
        return;
    }
    // One straight segment of a solid pen (a bevel's or a frame's edge) is one fill, without
    // setting up the walk.
    if (count == 2 && !closed && SolidCosmetic(*pen) && (points[0].x == points[1].x || points[0].y == points[1].y)) {
        FillSolid(dc, StraightSpan(points[0], points[1]), InkForDrawing(dc, pen->colour));
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

void StrokeSolidLine(Dc& dc, POINT a, POINT b, COLORREF colour) {
    if (!dc.surface) return;
    // As CreatePen keeps the colour.
    const Pen pen{PS_SOLID, 1, colour & 0x00FFFFFF};
    CosmeticPen(dc, pen).Line(a, b);
}

void EllipsePoints(int left, int top, int right, int bottom, std::vector<POINT>& out) {
    out.clear();
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0 || width > MaxShapeExtent || height > MaxShapeExtent) return;
    // One quadrant (bottom right) by Zingl's integer ellipse walk, mirrored to the others.
    std::vector<POINT> q;
    // Each step moves left or down or both, so the quadrant has at most this many points.
    q.reserve(static_cast<std::size_t>(width - width / 2 + height - height / 2 + 1));
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
    out.reserve(4 * q.size());
    const int W = width - 1, H = height - 1;
    for (int i = 0; i < n; ++i) push(q[i].x, q[i].y);
    for (int i = n - 1; i >= 0; --i) push(W - q[i].x, q[i].y);
    for (int i = 0; i < n; ++i) push(W - q[i].x, H - q[i].y);
    for (int i = n - 1; i >= 0; --i) push(q[i].x, H - q[i].y);
    while (out.size() > 1 && out.back() == out.front()) out.pop_back();
}

}  // namespace gdi::detail
