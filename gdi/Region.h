// Regions: rectangles, polygons and ellipses, their combinations and hit tests.
// A region is a set of non-overlapping rectangles, which is also how window hosts receive it.
#pragma once

#include <vector>

#include "Handles.h"
#include "Types.h"

namespace gdi {

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
// dest must exist; returns the resulting region type or ERROR.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL EqualRgn(HRGN a, HRGN b);
int GetRgnBox(HRGN rgn, RECT* box);
BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);

// The region as y-x banded rectangles, top to bottom then left to right; empty for a bad handle.
std::vector<RECT> GetRegionRects(HRGN rgn);

}  // namespace gdi
