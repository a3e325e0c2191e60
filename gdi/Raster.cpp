// Span fills shared by the primitives: solid rectangles and regions through the DC's clip.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "Raster_p.h"

namespace gdi::detail {

// Sixteen pixels a step in four wide stores, then four at a time, the last four ending at the
// row's end even where they overlap the ones before: a scalar tail would cost as much as the rest.
// The stores between the first four and the last four start on 16-byte boundaries, so that none
// of them straddles two cache lines.
void FillShortPixels(std::uint32_t* p, std::size_t n, std::uint32_t v) {
    if (n < 4) {
        for (std::size_t i = 0; i < n; ++i) p[i] = v;
        return;
    }
    const std::uint32_t four[4] = {v, v, v, v};
    std::memcpy(p, four, sizeof four);
    // Pixels are 4-byte aligned: 0 to 3 of them up to the next boundary (already written).
    std::size_t i = ((16 - (reinterpret_cast<std::uintptr_t>(p) & 15)) & 15) / 4;
    for (; i + 16 <= n; i += 16) {
        std::memcpy(p + i, four, sizeof four);
        std::memcpy(p + i + 4, four, sizeof four);
        std::memcpy(p + i + 8, four, sizeof four);
        std::memcpy(p + i + 12, four, sizeof four);
    }
    for (; i + 4 <= n; i += 4) std::memcpy(p + i, four, sizeof four);
    if (i < n) std::memcpy(p + n - 4, four, sizeof four);
}

void FillBlock(std::uint32_t* p, std::size_t n, int rows, std::ptrdiff_t stride, std::uint32_t v) {
    for (; rows > 0; --rows, p += stride) FillPixels(p, n, v);
}

// Four rows a step: a bevel's columns are 30 to 40 rows, and the loop's own count would
// otherwise be most of the work.
void FillColumn(std::uint32_t* p, int rows, std::ptrdiff_t stride, std::uint32_t v) {
    for (; rows >= 4; rows -= 4, p += 4 * stride) {
        p[0] = v;
        p[stride] = v;
        p[2 * stride] = v;
        p[3 * stride] = v;
    }
    for (; rows > 0; --rows, p += stride) *p = v;
}

void FillSolidThroughClip(Dc& dc, int left, int top, int right, int bottom, Ink ink) {
    Bitmap* s = dc.surface;
    ForEachVisibleRect(dc, RECT{left, top, right, bottom}, [&](const RECT& r) {
        const std::size_t n = static_cast<std::size_t>(r.right - r.left);
        if (s->bitsPerPixel == 1) {
            for (int y = r.top; y < r.bottom; ++y)
                std::memset(s->Row1(y) + r.left, static_cast<int>(ink.pixel), n);
        } else {
            for (int y = r.top; y < r.bottom; ++y) FillPixels(s->Row32(y) + r.left, n, ink.pixel);
        }
    });
}

BrushInk DitheredInkFor(COLORREF c) {
    BrushInk ink;
    // Level 0..64 from the luminance, rounded; a pixel is set where the (vertically mirrored)
    // Bayer threshold lies below the level, so black and white stay solid.
    static constexpr std::uint8_t Bayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
        {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
    const int lum = GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114;
    const int level = (lum * 64 + 127500) / 255000;
    if (level <= 0 || level >= 64) {
        ink.solid = level >= 64 ? 1u : 0u;
        return ink;
    }
    ink.dithered = true;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (Bayer[7 - y][x] < level) ink.rows[y] = static_cast<std::uint8_t>(ink.rows[y] | (1u << x));
    return ink;
}

void FillBrushInk(Dc& dc, const RECT& rect, const BrushInk& ink) {
    if (!ink.dithered) {
        FillSolid(dc, rect, Ink{ink.solid});
        return;
    }
    Bitmap* s = dc.surface;
    ForEachVisibleRect(dc, rect, [&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint8_t* row = s->Row1(y);
            for (int x = r.left; x < r.right; ++x) row[x] = static_cast<std::uint8_t>(ink.At(x, y));
        }
    });
}

void FillRegionBrush(Dc& dc, const Region& r, const BrushInk& ink) {
    for (const RECT& x : r.rects) FillBrushInk(dc, x, ink);
}

void FillBrush(Dc& dc, const RECT& rect, const Brush& brush) {
    if (brush.isNull) return;
    FillBrushInk(dc, rect, BrushInkFor(dc, brush.colour));
}

void FillRegion(Dc& dc, const Region& r, Ink ink) {
    for (const RECT& x : r.rects) FillSolid(dc, x, ink);
}

}  // namespace gdi::detail
