// Pixel-level primitives with GDI's rasterisation rules, and the blits with their raster operations.
// Every call draws into the bitmap selected in the DC, through its clip region.
#pragma once

#include "Handles.h"
#include "Types.h"

namespace gdi {

// Interior with the brush, outline with the pen; right and bottom exclusive.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
// GDI's line rasterisation; the last point is not drawn.
BOOL Polyline(HDC hdc, const POINT* points, int count);
BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
BOOL LineTo(HDC hdc, int x, int y);
// Returns the colour set, or CLR_INVALID outside the bitmap or the clip region.
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour);
COLORREF GetPixel(HDC hdc, int x, int y);
// Counter-clockwise arc of the ellipse in the bounding box; equal start and end points draw it whole.
BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
int FillRect(HDC hdc, const RECT& rect, HBRUSH brush);

struct ColouredRect {
    RECT rect;
    COLORREF colour;
};
// The same pixels and DC colours as SetDCBrushColor, SetDCPenColor and Rectangle for each box in
// turn. With the stock DC_BRUSH and DC_PEN selected on a colour surface, each box is one fill
// without the calls' look-ups: a face's many one-pixel rows and columns.
BOOL RectanglesInDcColours(HDC hdc, const ColouredRect* boxes, int count);
// The same for count strips the size of first, side by side (strip i moved right by i widths) or
// stacked (down by i heights), strip i in colours[i]: a face's shading rows and gradient strips
// without a box list to build and read back.
BOOL StripsInDcColours(HDC hdc, const RECT& first, bool sideBySide, const COLORREF* colours, int count);

struct ColouredLine {
    POINT from, to;
    COLORREF colour;
};
// The same pixels as Polyline from `from` to `to` with a one-pixel solid pen of each line's colour
// selected in turn, without making those pens: the DC's objects and state stay as they are. A
// face's outlines take a new colour for almost every edge.
BOOL SolidLines(HDC hdc, const ColouredLine* lines, int count);

// Any ROP3 code. Colour/monochrome conversions follow GDI: colour to mono gives 1 where the
// source equals the source DC's background colour; mono to colour maps 0 to the destination
// DC's text colour and 1 to its background colour.
BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);

// The ternary raster operation itself, on 32-bit words: bit i of the result is bit
// (P<<2 | S<<1 | D) of the operation index (rop >> 16) & 0xFF.
std::uint32_t ApplyRop3(DWORD rop, std::uint32_t pattern, std::uint32_t source, std::uint32_t dest);

}  // namespace gdi
