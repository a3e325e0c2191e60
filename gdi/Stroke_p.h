// Private: stroking paths with the DC's pen (cosmetic lines with dashes, wide pens as regions).
// Used by lines, rectangles and ellipses alike, so every outline follows the same pixel rules.
#pragma once

#include "Raster_p.h"

namespace gdi::detail {

// Strokes the points with the selected pen; the last point of an open path is not drawn.
// The dash pattern starts afresh with each call, as it does with each GDI drawing call.
void StrokePath(Dc& dc, const POINT* points, int count, bool closed);
// The line from a to b (b left out) as a one-pixel solid pen of the colour draws it.
void StrokeSolidLine(Dc& dc, POINT a, POINT b, COLORREF colour);

// The pixels of an ellipse outline in the box (right and bottom exclusive), in drawing order:
// clockwise on screen starting at the rightmost point of the middle row, duplicates removed.
// In a tall, narrow box the walk ends before the top and bottom rows, as GDI's outline does.
void EllipsePoints(int left, int top, int right, int bottom, std::vector<POINT>& out);

// The outline in GDI's drawing order, which decides where a dash pattern falls: counter-clockwise
// on screen from the rightmost pixel of row (height-1)/2.
void GdiOrder(std::vector<POINT>& pts, const RECT& box);
// Strokes the closed outline of the ellipse in box r with the DC's pen, as StrokePath strokes its
// points in GDI's order. An oval face outlines the same ellipse with the same wide pen on every
// redraw, so the last wide outline's pixels are kept and only filled again.
void StrokeEllipseOutline(Dc& dc, const RECT& r);

// PS_INSIDEFRAME keeps a wide pen inside the box by shrinking the outline's path.
inline RECT PenBox(const Dc& dc, RECT r) {
    if (dc.penObj && dc.penObj->style == PS_INSIDEFRAME && dc.penObj->width > 1) {
        const int w = dc.penObj->width;
        r.left += w / 2;
        r.top += w / 2;
        r.right -= (w - 1) / 2;
        r.bottom -= (w - 1) / 2;
    }
    return r;
}
// True when an inside-frame pen is too wide for the box (of a non-empty figure) to leave any
// outline path: the frame then covers the whole figure. GDI documents that such a figure stays
// inside its box; Wine 8 strokes the folded path past the box instead.
inline bool FrameCoversFigure(const Dc& dc, const RECT& box, const RECT& shrunk) {
    const bool wideInsideFrame = dc.penObj && dc.penObj->style == PS_INSIDEFRAME && dc.penObj->width > 1;
    return wideInsideFrame && box.left < box.right && box.top < box.bottom &&
           (shrunk.left >= shrunk.right || shrunk.top >= shrunk.bottom);
}

}  // namespace gdi::detail
