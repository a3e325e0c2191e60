// Runs of solid boxes in the DC's own pen and brush colours: a face's shading rows and gradient strips.
#include <algorithm>
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

// Side-by-side strips never overlap, so their order does not matter: their colours are written once
// as a row, and that row is copied into every row of the strips through the clip. Painting each
// one-pixel column down its rows costs a few times more.
void FillSideBySide(Dc& dc, const ColouredRect* boxes, int count) {
    Bitmap& s = *dc.surface;
    const RECT first = FilledBox(boxes[0]);
    const RECT area{first.left, first.top, FilledBox(boxes[count - 1]).right, first.bottom};
    const int left = std::max(area.left, 0), right = std::min(area.right, s.width);
    if (left >= right) return;
    // Kept between calls: this runs on every redraw of a horizontal gradient.
    thread_local std::vector<std::uint32_t> row;
    row.resize(static_cast<std::size_t>(right - left));
    for (int i = 0; i < count; ++i) {
        const RECT r = FilledBox(boxes[i]);
        const int from = std::max(r.left, left), to = std::min(r.right, right);
        if (from < to) std::fill(row.begin() + (from - left), row.begin() + (to - left), ToPixel(boxes[i].colour));
    }
    ForEachVisibleRect(dc, area, [&](const RECT& v) {
        const std::uint32_t* source = row.data() + (v.left - left);
        const std::size_t bytes = static_cast<std::size_t>(v.right - v.left) * sizeof(std::uint32_t);
        for (int y = v.top; y < v.bottom; ++y) std::memcpy(s.Row32(y) + v.left, source, bytes);
    });
}

}  // namespace

BOOL RectanglesInDcColours(HDC hdc, const ColouredRect* boxes, int count) {
    Dc* dc = LookupDc(hdc);
    if (!dc || count < 0 || (count > 0 && !boxes)) return FALSE;
    if (count == 0) return TRUE;
    const bool ownObjects = dc->penObj == &dc->dcPen && dc->brushObj == &dc->dcBrush;
    if (!ownObjects || (dc->surface && dc->surface->bitsPerPixel != 32)) {
        // Other pens and brushes, and the dithered brushes of a monochrome surface: the calls
        // this stands for, one by one.
        for (int i = 0; i < count; ++i) {
            SetDCBrushColor(hdc, boxes[i].colour);
            SetDCPenColor(hdc, boxes[i].colour);
            Rectangle(hdc, boxes[i].rect.left, boxes[i].rect.top, boxes[i].rect.right, boxes[i].rect.bottom);
        }
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

}  // namespace gdi
