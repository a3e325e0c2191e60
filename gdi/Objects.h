// Creation, query and deletion of pens, brushes, fonts and bitmaps, and the live-object counters.
// Owns the process-wide object table (single UI thread, as GDI's is per process).
#pragma once

#include <cstdint>
#include <string>

#include "Handles.h"
#include "Types.h"

namespace gdi {

struct LOGFONTA {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
};

// The 24-byte record GetObjectA fills for a bitmap (bmBits is null for device-dependent bitmaps).
struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 0;
    WORD bmBitsPixel = 0;
    void* bmBits = nullptr;
};

HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
HFONT CreateFontIndirectA(const LOGFONTA& lf);

// A device-dependent bitmap in the format of hdc's selected bitmap: 32 bits a pixel for
// the screen and for colour DCs, 1 bit a pixel for a fresh memory DC (as GDI does).
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// planes must be 1; bitsPerPixel 1 or 32. bits may be null (zeroed), else rows padded to 16 bits
// for 1 bpp (as CreateBitmap takes them) and 32 bits a pixel 0x00RRGGBB for 32 bpp.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// A DIB section: 32 bits a pixel, top-down, bmBits not null.
HBITMAP CreateDIBSection32(int width, int height);

// Deleting a stock object does nothing and succeeds. Deleting an object still selected into a
// DC succeeds too, but the object stays usable until its last selection ends (then it goes),
// so a DC never draws with freed memory; the live counters include it until then.
BOOL DeleteObject(HPEN h);
BOOL DeleteObject(HBRUSH h);
BOOL DeleteObject(HFONT h);
BOOL DeleteObject(HBITMAP h);
BOOL DeleteObject(HRGN h);
BOOL DeleteObject(HGDIOBJ h);

HGDIOBJ GetStockObject(int index);

// Returns the bytes written (sizeof(BITMAP)), 0 when h is not a bitmap.
int GetObjectA(HBITMAP h, int size, BITMAP* out);
int GetObjectA(HGDIOBJ h, int size, BITMAP* out);
// Returns the bytes written, 0 when h is not a font.
int GetObjectA(HFONT h, int size, LOGFONTA* out);

// Direct pixel access for hosts and tests. 32 bpp: pixels are 0x00RRGGBB, top-down rows.
// 1 bpp: one byte a pixel, 0 or 1 (a deliberate simplification of GDI's packed rows).
struct BitmapView {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // 0 when the handle is not a live bitmap
    int stride = 0;         // in elements (uint32_t for 32 bpp, uint8_t for 1 bpp)
    std::uint32_t* pixels32 = nullptr;
    std::uint8_t* pixels1 = nullptr;
};
BitmapView GetBitmapView(HBITMAP h);

// Live objects per kind; stock objects are not counted.
struct ObjectCounts {
    int dcs = 0;
    int bitmaps = 0;
    int pens = 0;
    int brushes = 0;
    int fonts = 0;
    int regions = 0;
    int icons = 0;
    int total() const { return dcs + bitmaps + pens + brushes + fonts + regions + icons; }
    friend bool operator==(const ObjectCounts&, const ObjectCounts&) = default;
};
ObjectCounts LiveObjects();
std::string ToString(const ObjectCounts& c);

}  // namespace gdi
