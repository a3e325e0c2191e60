#include "gdi/TextDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gdi/Raster_p.h"

namespace gdi::text {
namespace {

RECT Intersect(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// A run of four pixels or more. Those of a caption are mostly under sixteen: two or four
// four-pixel stores, the last ones ending at the run's end where they overlap the first.
void FillLongRun(std::uint32_t* p, int n, std::uint32_t v) {
    if (n > 16) {
        detail::FillPixels(p, static_cast<std::size_t>(n), v);
        return;
    }
    const std::uint32_t four[4] = {v, v, v, v};
    std::memcpy(p, four, sizeof four);
    if (n > 8) {
        std::memcpy(p + 4, four, sizeof four);
        std::memcpy(p + n - 8, four, sizeof four);
    }
    std::memcpy(p + n - 4, four, sizeof four);
}

// Most runs of a glyph are a few pixels: up to three take three stores and no loop.
void FillRun(std::uint32_t* p, int n, std::uint32_t v) {
    if (n <= 3) {
        p[0] = v;
        p[n >> 1] = v;
        p[n - 1] = v;
        return;
    }
    FillLongRun(p, n, v);
}

// A line's whole ink, nothing cut, from origin (its top-left pixel). Each list's bounds are
// read once, before any store: a pixel store could alias them and have them read again.
void FillPlaced(std::uint32_t* origin, const PlacedInk& ink, std::uint32_t v) {
    const std::uint32_t two[2] = {v, v};
    for (const std::int32_t at : ink.ones) origin[at] = v;
    for (const std::int32_t at : ink.twos) std::memcpy(origin + at, two, sizeof two);
    for (const std::int32_t at : ink.threes) {
        std::memcpy(origin + at, two, sizeof two);
        origin[at + 2] = v;
    }
    for (const PlacedRun r : ink.longRuns) FillLongRun(origin + r.at, r.length, v);
}

// Whether every pixel of r lies in the DC's clip region, band by band: a caption well inside an
// oval face is then drawn as if there were no clip.
bool ClipCovers(const detail::Dc& dc, const RECT& r) {
    const std::vector<RECT>& rects = dc.clip.rects;
    for (int y = r.top; y < r.bottom;) {
        std::size_t i = detail::FirstBandReaching(dc.clip, dc.clipBands, y);
        while (i < rects.size() && rects[i].top <= y && !(rects[i].left <= r.left && rects[i].right >= r.right)) ++i;
        if (i == rects.size() || rects[i].top > y) return false;
        y = rects[i].bottom;
    }
    return true;
}

}  // namespace

FontInstance* FontOfDc(const detail::Dc& dc) {
    detail::Font* font = detail::LookupFont(dc.font);
    if (!font) return nullptr;
    if (!font->cache) {
        std::shared_ptr<FontInstance> realised = FontForLogFont(font->lf);
        if (!realised) return nullptr;
        font->cache = std::move(realised);
    }
    return static_cast<FontInstance*>(font->cache.get());
}

void FillArea(const detail::Dc& dc, const RECT& area, const RECT* clip, COLORREF colour) {
    if (!dc.surface) return;
    const RECT a = clip ? Intersect(area, *clip) : area;
    if (a.left >= a.right || a.top >= a.bottom) return;
    detail::Bitmap& bmp = *dc.surface;
    if (bmp.bitsPerPixel == 32) {
        const std::uint32_t px = detail::ToPixel(colour);
        detail::ForEachVisibleRect(dc, a, [&](const RECT& r) {
            for (int y = r.top; y < r.bottom; ++y) std::fill(bmp.Row32(y) + r.left, bmp.Row32(y) + r.right, px);
        });
    } else {
        const std::uint8_t bit = detail::MonoForDrawing(dc, colour);
        detail::ForEachVisibleRect(dc, a, [&](const RECT& r) {
            for (int y = r.top; y < r.bottom; ++y) std::fill(bmp.Row1(y) + r.left, bmp.Row1(y) + r.right, bit);
        });
    }
}

void DrawLine(const detail::Dc& dc, FontInstance& font, std::string_view text, int width, int x, int y,
              const RECT* clip) {
    if (!dc.surface) return;
    const FontMetrics& m = font.Metrics();
    if (dc.bkMode == OPAQUE) FillArea(dc, {x, y, x + width, y + m.height}, clip, dc.bkColour);

    const int baseline = y + m.ascent;
    // The glyphs are only worth visiting when their line can be seen at all.
    RECT lineBox{x - m.maxCharWidth, y - m.height, x + width + m.maxCharWidth, y + 2 * m.height};
    if (clip) lineBox = Intersect(lineBox, *clip);
    const RECT surface = detail::SurfaceRect(dc);
    lineBox = Intersect(lineBox, surface);
    if (lineBox.left < lineBox.right && lineBox.top < lineBox.bottom) {
        const RECT area = clip ? Intersect(*clip, surface) : surface;
        detail::Bitmap& bmp = *dc.surface;
        const std::uint32_t px = detail::ToPixel(dc.textColour);
        const std::uint8_t bit = bmp.bitsPerPixel == 1 ? detail::MonoForDrawing(dc, dc.textColour) : 0;
        auto fill = [&](int row, int x0, int x1) {
            if (bmp.bitsPerPixel == 32) {
                FillRun(bmp.Row32(row) + x0, x1 - x0, px);
            } else {
                std::fill(bmp.Row1(row) + x0, bmp.Row1(row) + x1, bit);
            }
        };
        auto cut = [&](int row, int x0, int x1, auto&& put) {
            if (row < area.top || row >= area.bottom) return;
            x0 = std::max(x0, area.left);
            x1 = std::min(x1, area.right);
            if (x0 < x1) put(row, x0, x1);
        };
        // The line's kept ink when it has some, else its glyphs one by one.
        LineInk* ink = font.InkOf(text);
        auto walk = [&](auto&& put) {
            if (ink) {
                // The runs come by row: those above the area are skipped at once, and the walk
                // ends at the first below it (a second line cut by the rectangle's bottom).
                const auto end = ink->runs.end();
                auto run = std::partition_point(ink->runs.begin(), end,
                                                [&](const LineRun& r) { return baseline + r.y < area.top; });
                for (; run != end && baseline + run->y < area.bottom; ++run)
                    cut(baseline + run->y, x + run->x0, x + run->x1, put);
                return;
            }
            int penX = x;
            for (char ch : text) {
                const Glyph& g = font.GlyphFor(static_cast<unsigned char>(ch));
                for (const InkRun& run : g.runs) cut(baseline + run.y, penX + run.x0, penX + run.x1, put);
                penX += g.advance;
            }
        };
        const RECT inkBox = ink ? RECT{x + ink->left, baseline + ink->top, x + ink->right, baseline + ink->bottom} : RECT{};
        if (ink && bmp.bitsPerPixel == 32 && inkBox.top >= area.top && inkBox.bottom <= area.bottom &&
            inkBox.left >= area.left && inkBox.right <= area.right && (!dc.hasClip || ClipCovers(dc, inkBox)) &&
            PlaceInk(*ink, bmp.width)) {
            // All of the ink is visible (the common caption): no run needs cutting.
            FillPlaced(bmp.Row32(inkBox.top) + inkBox.left, ink->placed, px);
        } else if (!dc.hasClip) {
            // Walked once for each case, so the unclipped walk carries no test for the clip.
            walk(fill);
        } else {
            // Each run is cut to one rectangle, and through a clip region to its row's spans.
            walk([&](int row, int x0, int x1) {
                detail::ForEachClipSpan(dc, row, x0, x1, [&](int l, int r) { fill(row, l, r); });
            });
        }
    }
    if (font.Underline()) {
        const int top = baseline + m.underlineOffset;
        FillArea(dc, {x, top, x + width, top + m.underlineThickness}, clip, dc.textColour);
    }
    if (font.StrikeOut()) {
        const int top = baseline - m.strikeoutOffset;
        FillArea(dc, {x, top, x + width, top + m.strikeoutThickness}, clip, dc.textColour);
    }
}

}  // namespace gdi::text
