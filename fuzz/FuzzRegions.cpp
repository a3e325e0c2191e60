// Random polygons, rectangles and ellipses combined in every mode, checked pixel by pixel: a pixel
// is in the result exactly when the mode says so of the two sources. The result's rectangles must
// be banded and disjoint, its box tight, its type right, and no region may be left behind.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "fuzz/Require.h"
#include "gdi/Gdi.h"

namespace {

constexpr int kSide = 48;  // every shape lies inside this square, with a margin around it

using fuzz::Require;

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    int Next() { return at < size ? data[at++] : 0; }
    int Coordinate() { return Next() % (kSide + 8) - 4; }
};

gdi::HRGN MakeShape(Bytes& in) {
    const int kind = in.Next() % 4;
    if (kind == 0) return gdi::CreateRectRgn(in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate());
    if (kind == 1) return gdi::CreateEllipticRgn(in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate());
    std::vector<gdi::POINT> points(static_cast<std::size_t>(in.Next() % 12));
    for (gdi::POINT& p : points) p = {in.Coordinate(), in.Coordinate()};
    return gdi::CreatePolygonRgn(points.data(), static_cast<int>(points.size()),
                                 kind == 2 ? gdi::ALTERNATE : gdi::WINDING);
}

using Mask = std::vector<bool>;
constexpr int kLo = -8;
constexpr int kHi = kSide + 8;

std::size_t Index(int x, int y) { return static_cast<std::size_t>((y - kLo) * (kHi - kLo) + x - kLo); }

Mask Pixels(gdi::HRGN rgn) {
    Mask m;
    for (int y = kLo; y < kHi; ++y)
        for (int x = kLo; x < kHi; ++x) m.push_back(gdi::PtInRegion(rgn, x, y) != 0);
    return m;
}

bool Combined(int mode, bool a, bool b) {
    switch (mode) {
        case gdi::RGN_AND: return a && b;
        case gdi::RGN_OR: return a || b;
        case gdi::RGN_XOR: return a != b;
        case gdi::RGN_DIFF: return a && !b;
        default: return a;  // RGN_COPY
    }
}

// The rectangles are non-empty, banded top to bottom and left to right, and cover exactly the
// pixels PtInRegion reports; the box is their union and the type fits their number.
void CheckShape(gdi::HRGN rgn, int type, const Mask& pixels) {
    const std::vector<gdi::RECT> rects = gdi::GetRegionRects(rgn);
    Mask covered(pixels.size(), false);
    gdi::RECT bounds{};
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const gdi::RECT& r = rects[i];
        Require(r.left < r.right && r.top < r.bottom);
        Require(r.left >= kLo && r.top >= kLo && r.right <= kHi && r.bottom <= kHi);
        if (i > 0) {
            const gdi::RECT& p = rects[i - 1];
            Require(p.top < r.top ? p.bottom <= r.top : (p.top == r.top && p.bottom == r.bottom && p.right < r.left));
        }
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) covered[Index(x, y)] = true;
        if (i == 0) bounds = r;
        bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top), std::max(bounds.right, r.right),
                  std::max(bounds.bottom, r.bottom)};
    }
    Require(covered == pixels);
    gdi::RECT box{};
    const int boxType = gdi::GetRgnBox(rgn, &box);
    Require(boxType == type);
    Require(type == (rects.empty() ? gdi::NULLREGION : rects.size() == 1 ? gdi::SIMPLEREGION : gdi::COMPLEXREGION));
    if (!rects.empty()) Require(box == bounds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in{data, size};
    const gdi::ObjectCounts before = gdi::LiveObjects();
    {
        gdi::HRGN result = gdi::CreateRectRgn(0, 0, 0, 0);
        // A chain: result = result <mode> shape, or shape <mode> result, over several steps.
        gdi::HRGN first = MakeShape(in);
        if (first) {
            Require(gdi::CombineRgn(result, first, gdi::HRGN{}, gdi::RGN_COPY) != gdi::ERROR);
            gdi::DeleteObject(first);
        }
        for (int step = 0; step < 6 && in.at < in.size; ++step) {
            const int mode = in.Next() % 5 + 1;
            const bool swapped = (in.Next() & 1) != 0;
            gdi::HRGN shape = MakeShape(in);
            if (!shape) continue;  // a degenerate polygon makes no region
            gdi::HRGN a = swapped ? shape : result;
            gdi::HRGN b = swapped ? result : shape;
            const Mask pa = Pixels(a);
            const Mask pb = Pixels(b);
            const int type = gdi::CombineRgn(result, a, b, mode);
            Require(type != gdi::ERROR);
            const Mask pr = Pixels(result);
            for (std::size_t i = 0; i < pr.size(); ++i) Require(pr[i] == Combined(mode, pa[i], pb[i]));
            CheckShape(result, type, pr);
            // Moving a region moves every pixel with it.
            const Mask& ps = swapped ? pa : pb;
            const int dx = in.Next() % 5 - 2;
            const int dy = in.Next() % 5 - 2;
            Require(gdi::OffsetRgn(shape, dx, dy) != gdi::ERROR);
            for (int y = kLo; y < kHi; ++y)
                for (int x = kLo; x < kHi; ++x)
                    Require((gdi::PtInRegion(shape, x + dx, y + dy) != 0) == ps[Index(x, y)]);
            gdi::DeleteObject(shape);
        }
        gdi::DeleteObject(result);
    }
    Require(gdi::LiveObjects() == before);
    return 0;
}
