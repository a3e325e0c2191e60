// Device contexts: memory DCs and the screen DC, their selected objects and drawing attributes.
// A DC owns none of the objects selected into it; SelectObject returns what it displaces.
#pragma once

#include "Handles.h"
#include "Types.h"

namespace gdi {

// The screen DC (GetDC(0)): 32 bits a pixel, 96 dpi. Drawing on it is accepted and discarded.
HDC GetDC();
int ReleaseDC(HDC hdc);

// A memory DC starts with the stock white brush, black pen, system font and a 1×1 monochrome bitmap.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);

HPEN SelectObject(HDC hdc, HPEN h);
HBRUSH SelectObject(HDC hdc, HBRUSH h);
HFONT SelectObject(HDC hdc, HFONT h);
HBITMAP SelectObject(HDC hdc, HBITMAP h);
// Selecting a region sets the clip region to a copy of it; returns the region type, ERROR on failure.
int SelectObject(HDC hdc, HRGN h);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);

HPEN GetCurrentPen(HDC hdc);
HBRUSH GetCurrentBrush(HDC hdc);
HFONT GetCurrentFont(HDC hdc);
HBITMAP GetCurrentBitmap(HDC hdc);

int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF c);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF c);
COLORREF GetTextColor(HDC hdc);
// The colours the stock DC_BRUSH and DC_PEN draw with in this DC; each returns the previous one.
// A face painted in many colours needs no pen or brush made and deleted for each of them.
COLORREF SetDCBrushColor(HDC hdc, COLORREF c);
COLORREF GetDCBrushColor(HDC hdc);
COLORREF SetDCPenColor(HDC hdc, COLORREF c);
COLORREF GetDCPenColor(HDC hdc);
int SetMapMode(HDC hdc, int mode);
int GetMapMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
int GetDeviceCaps(HDC hdc, int index);

// A copy of rgn becomes the clip region (device coordinates); a null rgn removes clipping.
int SelectClipRgn(HDC hdc, HRGN rgn);
// 1 and a copy in rgn when there is a clip region, 0 when none, -1 on error.
int GetClipRgn(HDC hdc, HRGN rgn);

}  // namespace gdi
