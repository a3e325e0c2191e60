// Rectangle, FillRect and single pixels, with GDI's exclusive right and bottom edges.
#include "Draw.h"
#include "Stroke_p.h"

namespace gdi {

using namespace detail;

namespace {

// On a monochrome surface the pen and the brush land on bits by different rules.
[[gnu::noinline]] bool SameMonoInk(const Dc& dc, const Pen& pen, const Brush& brush, Ink& ink) {
    const Ink penInk = InkForDrawing(dc, pen.colour);
    const BrushInk brushInk = BrushInkFor(dc, brush.colour);
    if (brushInk.dithered || penInk.pixel != brushInk.solid) return false;
    ink = penInk;
    return true;
}

// Whether a rectangle's thin solid pen and solid brush land on one pixel value, ink: the outline
// then covers exactly the box's edge and the brush the rest, so the figure is one fill of the box.
// A face's shading rows are drawn so, one a row.
bool OneInkFigure(const Dc& dc, Ink& ink) {
    const Pen* pen = dc.penObj;
    const Brush* brush = dc.brushObj;
    if (!pen || !brush || brush->isNull || pen->width != 1 || (pen->style != PS_SOLID && pen->style != PS_INSIDEFRAME))
        return false;
    if (dc.surface->bitsPerPixel != 32) return SameMonoInk(dc, *pen, *brush, ink);
    // A colour pixel is the colour's low three bytes, reordered.
    if (((pen->colour ^ brush->colour) & 0x00FFFFFF) != 0) return false;
    ink = Ink{ToPixel(pen->colour)};
    return true;
}

// An outline and an interior of their own: out of line, so that the one-ink figure stays short.
[[gnu::noinline]] BOOL OutlinedRectangle(Dc* dc, int left, int top, int right, int bottom) {
    const RECT box = Normalised(ClampCoord(left), ClampCoord(top), ClampCoord(right), ClampCoord(bottom));
    RECT r = PenBox(*dc, box);
    if (FrameCoversFigure(*dc, box, r)) {
        FillSolid(*dc, box, InkForDrawing(*dc, dc->penObj->colour));
        return TRUE;
    }
    if (r.left >= r.right || r.top >= r.bottom) return TRUE;
    const bool nullPen = !dc->penObj || dc->penObj->style == PS_NULL;
    // The outline runs through the last pixel column and row inside the box.
    const int lastX = r.right - 1, lastY = r.bottom - 1;
    if (dc->brushObj && !dc->brushObj->isNull) {
        // A null pen leaves the interior one pixel short on the right and bottom, as in GDI.
        const int w = nullPen ? 0 : dc->penObj->width;
        RECT inner = nullPen ? RECT{r.left, r.top, lastX, lastY}
                             : RECT{r.left + (w + 1) / 2, r.top + (w + 1) / 2, lastX - w / 2, lastY - w / 2};
        if (inner.left < inner.right && inner.top < inner.bottom) FillBrush(*dc, inner, *dc->brushObj);
    }
    if (!nullPen) {
        // Counter-clockwise from the top right corner, the order GDI draws its outline in,
        // which decides where a dash pattern falls.
        const POINT pts[4] = {{lastX, r.top}, {r.left, r.top}, {r.left, lastY}, {lastX, lastY}};
        StrokePath(*dc, pts, 4, true);
    }
    return TRUE;
}

}  // namespace

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    Dc* dc = LookupDc(hdc);
    if (!dc) return FALSE;
    if (!dc->surface) return TRUE;
    // The fill cuts the box to the surface, so these corners need no clamping: boxes past the
    // clamp lie off every surface either way.
    if (Ink ink; OneInkFigure(*dc, ink)) {
        FillSolid(*dc, Normalised(left, top, right, bottom), ink);
        return TRUE;
    }
    return OutlinedRectangle(dc, left, top, right, bottom);
}

int FillRect(HDC hdc, const RECT& rect, HBRUSH brush) {
    Dc* dc = LookupDc(hdc);
    if (!dc) return 0;
    const Brush* b = BrushFor(*dc, brush);
    if (!b) return 0;
    // Unlike Rectangle, FillRect does not reorder its corners: an inverted rectangle is empty.
    if (rect.left < rect.right && rect.top < rect.bottom) FillBrush(*dc, rect, *b);
    return 1;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour) {
    Dc* dc = LookupDc(hdc);
    if (!dc || !IsVisible(*dc, x, y)) return CLR_INVALID;
    // The nearest colour the surface holds, which is also what the call answers: on a monochrome
    // bitmap black or white.
    if (dc->surface->bitsPerPixel == 1) {
        const Ink bit{NearestMono(colour)};
        PutPixel(*dc->surface, x, y, bit);
        return bit.pixel ? RGB(255, 255, 255) : RGB(0, 0, 0);
    }
    const Ink ink{ToPixel(colour)};
    PutPixel(*dc->surface, x, y, ink);
    return ToColorRef(ink.pixel);
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    const Dc* dc = LookupDc(hdc);
    if (!dc || !IsVisible(*dc, x, y)) return CLR_INVALID;
    if (dc->surface->bitsPerPixel == 1) return dc->surface->Row1(y)[x] ? RGB(255, 255, 255) : RGB(0, 0, 0);
    return ToColorRef(dc->surface->Row32(y)[x]);
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    Dc* dc = LookupDc(hdc);
    if (!dc || !points || count < 2) return FALSE;
    StrokePath(*dc, points, count, false);
    return TRUE;
}

BOOL SolidLines(HDC hdc, const ColouredLine* lines, int count) {
    Dc* dc = LookupDc(hdc);
    if (!dc || (!lines && count > 0)) return FALSE;
    for (int i = 0; i < count; ++i) StrokeSolidLine(*dc, lines[i].from, lines[i].to, lines[i].colour);
    return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
    Dc* dc = LookupDc(hdc);
    if (!dc) return FALSE;
    if (previous) *previous = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    Dc* dc = LookupDc(hdc);
    if (!dc) return FALSE;
    const POINT pts[2] = {dc->position, POINT{x, y}};
    StrokePath(*dc, pts, 2, false);
    dc->position = pts[1];
    return TRUE;
}

}  // namespace gdi
