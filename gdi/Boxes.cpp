// Runs of solid boxes in the DC's own pen and brush colours: a face's shading rows and gradient strips.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Draw.h"
#include "Dc.h"
#include "Raster_p.h"

namespace gdi {

using namespace detail;

namespace {

// What Rectangle fills for a box drawn with the DC's own pen and brush of one colour: the pen,
// one pixel wide and solid, covers exactly the box, so the whole box is one fill.
RECT FilledBox(const ColouredRect& b) {
    return Normalised(ClampCoord(b.rect.left), ClampCoord(b.rect.top), ClampCoord(b.rect.right),
                      ClampCoord(b.rect.bottom));
}

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// The fast paths need the DC's own pen and brush on a colour surface; monochrome surfaces dither.
bool DrawsInOwnColours(const Dc& dc) {
    return dc.penObj == &dc.dcPen && dc.brushObj == &dc.dcBrush && (!dc.surface || dc.surface->bitsPerPixel == 32);
}

// The calls a box stands for, for the cases the fast paths leave out.
void BoxThroughCalls(HDC hdc, const RECT& r, COLORREF colour) {
    SetDCBrushColor(hdc, colour);
    SetDCPenColor(hdc, colour);
    Rectangle(hdc, r.left, r.top, r.right, r.bottom);
}

// Strips that touch left to right and share their rows, as a horizontal gradient's do.
bool SideBySide(const ColouredRect* boxes, int count) {
    if (count < 2) return false;
    RECT previous = FilledBox(boxes[0]);
    if (Empty(previous)) return false;
    for (int i = 1; i < count; ++i) {
        const RECT r = FilledBox(boxes[i]);
        if (r.top != previous.top || r.bottom != previous.bottom || r.left != previous.right || Empty(r))
            return false;
        previous = r;
    }
    return true;
}

// The row buffer of side-by-side strips for the surface's columns [left, right), kept by the DC
// between calls: this runs on every redraw of a horizontal gradient.
std::vector<std::uint32_t>& StripRow(Dc& dc, int left, int right) {
    dc.stripRow.resize(static_cast<std::size_t>(right - left));
    return dc.stripRow;
}

// Copies row (the pixels of columns [left, ...)) into every row of area through the clip.
void CopyRowDown(Dc& dc, const RECT& area, const std::vector<std::uint32_t>& row, int left) {
    Bitmap& s = *dc.surface;
    ForEachVisibleRect(dc, area, [&](const RECT& v) {
        const std::uint32_t* source = row.data() + (v.left - left);
        const std::size_t bytes = static_cast<std::size_t>(v.right - v.left) * sizeof(std::uint32_t);
        for (int y = v.top; y < v.bottom; ++y) std::memcpy(s.Row32(y) + v.left, source, bytes);
    });
}

// Side-by-side strips never overlap, so their order does not matter: their colours are written once
// as a row, and that row is copied into every row of the strips through the clip. Painting each
// one-pixel column down its rows costs a few times more.
void FillSideBySide(Dc& dc, const ColouredRect* boxes, int count) {
    const RECT first = FilledBox(boxes[0]);
    const RECT area{first.left, first.top, FilledBox(boxes[count - 1]).right, first.bottom};
    const int left = std::max(area.left, 0), right = std::min(area.right, dc.surface->width);
    if (left >= right) return;
    std::vector<std::uint32_t>& row = StripRow(dc, left, right);
    for (int i = 0; i < count; ++i) {
        const RECT r = FilledBox(boxes[i]);
        const int from = std::max(r.left, left), to = std::min(r.right, right);
        if (from < to) std::fill(row.begin() + (from - left), row.begin() + (to - left), ToPixel(boxes[i].colour));
    }
    CopyRowDown(dc, area, row, left);
}

// count strips of first's width side by side from first, colour i for strip i; first is not empty
// and every strip lies within the coordinate limit.
void FillColumns(Dc& dc, const RECT& first, const COLORREF* colours, int count) {
    const int step = first.right - first.left;
    const RECT area{first.left, first.top, first.left + step * count, first.bottom};
    const int left = std::max(area.left, 0), right = std::min(area.right, dc.surface->width);
    if (left >= right) return;
    std::vector<std::uint32_t>& row = StripRow(dc, left, right);
    if (step == 1) {
        // One column a colour (the common gradient): a plain conversion loop the compiler vectorises.
        const COLORREF* from = colours + (left - area.left);
        for (int x = 0; x < right - left; ++x) row[static_cast<std::size_t>(x)] = ToPixel(from[x]);
    } else {
        // From the first strip on the surface; each strip's pixels up to the surface's edge.
        int i = (left - area.left) / step;
        for (int x = left, end = area.left + (i + 1) * step; x < right; ++i, end += step) {
            const int to = std::min(end, right);
            const std::uint32_t pixel = ToPixel(colours[i]);
            for (; x < to; ++x) row[static_cast<std::size_t>(x - left)] = pixel;
        }
    }
    CopyRowDown(dc, area, row, left);
}

// count strips of first's height stacked from first, colour i for strip i (the same conditions).
void FillRows(Dc& dc, const RECT& first, const COLORREF* colours, int count) {
    const int step = first.bottom - first.top;
    const RECT area{first.left, first.top, first.right, first.top + step * count};
    Bitmap& s = *dc.surface;
    ForEachVisibleRect(dc, area, [&](const RECT& v) {
        const auto n = static_cast<std::size_t>(v.right - v.left);
        int i = (v.top - area.top) / step;
        for (int y = v.top; y < v.bottom; ++i) {
            const int to = std::min(area.top + (i + 1) * step, v.bottom);
            const std::uint32_t pixel = ToPixel(colours[i]);
            for (; y < to; ++y) FillPixels(s.Row32(y) + v.left, n, pixel);
        }
    });
}

}  // namespace

BOOL RectanglesInDcColours(HDC hdc, const ColouredRect* boxes, int count) {
    Dc* dc = LookupDc(hdc);
    if (!dc || count < 0 || (count > 0 && !boxes)) return FALSE;
    if (count == 0) return TRUE;
    if (!DrawsInOwnColours(*dc)) {
        for (int i = 0; i < count; ++i) BoxThroughCalls(hdc, boxes[i].rect, boxes[i].colour);
        return TRUE;
    }
    dc->dcBrush.colour = dc->dcPen.colour = boxes[count - 1].colour & 0x00FFFFFF;
    if (!dc->surface) return TRUE;
    if (SideBySide(boxes, count)) {
        FillSideBySide(*dc, boxes, count);
        return TRUE;
    }
    for (int i = 0; i < count; ++i) {
        const RECT r = FilledBox(boxes[i]);
        if (!Empty(r)) FillSolid(*dc, r, Ink{ToPixel(boxes[i].colour)});
    }
    return TRUE;
}

BOOL StripsInDcColours(HDC hdc, const RECT& first, bool sideBySide, const COLORREF* colours, int count) {
    Dc* dc = LookupDc(hdc);
    if (!dc || count < 0 || (count > 0 && !colours)) return FALSE;
    if (count == 0) return TRUE;
    // Strip i is first moved by i times its width (side by side) or height (stacked), worked out
    // wide so that no coordinate wraps; Rectangle clamps each to GDI's limit.
    const std::int64_t step =
        sideBySide ? std::int64_t{first.right} - first.left : std::int64_t{first.bottom} - first.top;
    const auto stripAt = [&](int i) {
        const std::int64_t by = step * i;
        const std::int64_t dx = sideBySide ? by : 0, dy = sideBySide ? 0 : by;
        return RECT{ClampCoord(first.left + dx), ClampCoord(first.top + dy), ClampCoord(first.right + dx),
                    ClampCoord(first.bottom + dy)};
    };
    if (!DrawsInOwnColours(*dc)) {
        for (int i = 0; i < count; ++i) BoxThroughCalls(hdc, stripAt(i), colours[i]);
        return TRUE;
    }
    dc->dcBrush.colour = dc->dcPen.colour = colours[count - 1] & 0x00FFFFFF;
    if (!dc->surface) return TRUE;
    const auto within = [](std::int64_t v) { return v >= -MaxCoord && v <= MaxCoord; };
    const bool plain = first.left < first.right && first.top < first.bottom && within(first.left) &&
                       within(first.top) && within(first.right) && within(first.bottom) &&
                       within((sideBySide ? first.right : first.bottom) + step * (count - 1));
    if (!plain) {
        // Inverted, empty or past the limit: each strip as its own box.
        for (int i = 0; i < count; ++i) {
            const RECT r = FilledBox(ColouredRect{stripAt(i), colours[i]});
            if (!Empty(r)) FillSolid(*dc, r, Ink{ToPixel(colours[i])});
        }
        return TRUE;
    }
    if (sideBySide)
        FillColumns(*dc, first, colours, count);
    else
        FillRows(*dc, first, colours, count);
    return TRUE;
}

}  // namespace gdi
