// Pens, brushes, fonts and bitmaps: creation, queries and deletion, and the live counters.
#include "Objects.h"

#include <cstdlib>
#include <cstring>

#include "Table_p.h"

namespace gdi {

using namespace detail;

namespace {

// Refuse sizes whose pixel count would not fit comfortably in memory or in int arithmetic.
constexpr long long MaxPixels = 1LL << 26;

bool SizeOk(int width, int height) {
    return width > 0 && height > 0 && static_cast<long long>(width) * height <= MaxPixels;
}

}  // namespace

HPEN CreatePen(int style, int width, COLORREF colour) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) return HPEN{};
    Pen p;
    p.width = width == 0 ? 1 : std::abs(width);
    // GDI only dashes cosmetic (one-pixel) pens; wider dashed pens draw solid.
    p.style = (p.width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) ? PS_SOLID : style;
    p.colour = colour & 0x00FFFFFF;
    return HPEN(AddObject(p));
}

HBRUSH CreateSolidBrush(COLORREF colour) { return HBRUSH(AddObject(Brush{false, colour & 0x00FFFFFF})); }

HFONT CreateFontIndirectA(const LOGFONTA& lf) {
    Font f;
    f.lf = lf;
    f.lf.lfFaceName[sizeof f.lf.lfFaceName - 1] = '\0';  // never trust the caller to terminate it
    return HFONT(AddObject(std::move(f)));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    const Dc* dc = LookupDc(hdc);
    if (!dc || width < 0 || height < 0) return HBITMAP{};
    // As GDI does, an empty size gives the stock 1x1 monochrome bitmap.
    if (width == 0 || height == 0) return DefaultBitmap();
    if (!SizeOk(width, height)) return HBITMAP{};
    const int bpp = (dc->surface && dc->surface->bitsPerPixel == 1) ? 1 : 32;
    return NewBitmap(MakeBitmap(width, height, bpp));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32) || width < 0 || height < 0) return HBITMAP{};
    if (width == 0 || height == 0) return DefaultBitmap();
    if (!SizeOk(width, height)) return HBITMAP{};
    Bitmap b = MakeBitmap(width, height, static_cast<int>(bitsPerPixel));
    if (bits) {
        const auto* src = static_cast<const std::uint8_t*>(bits);
        if (bitsPerPixel == 1) {
            const int rowBytes = (width + 15) / 16 * 2;
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* row = src + static_cast<std::size_t>(y) * rowBytes;
                std::uint8_t* out = b.Row1(y);
                for (int x = 0; x < width; ++x) out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
            }
        } else {
            std::memcpy(b.pixels32.data(), src, b.pixels32.size() * sizeof(std::uint32_t));
            for (auto& p : b.pixels32) p &= 0x00FFFFFF;
        }
    }
    return NewBitmap(std::move(b));
}

HBITMAP CreateDIBSection32(int width, int height) {
    if (!SizeOk(width, height)) return HBITMAP{};
    return NewBitmap(MakeBitmap(width, height, 32, true));
}

BOOL DeleteObject(HPEN h) { return DeleteSlot(h.value, ObjectKind::Pen) ? TRUE : FALSE; }
BOOL DeleteObject(HBRUSH h) { return DeleteSlot(h.value, ObjectKind::Brush) ? TRUE : FALSE; }
BOOL DeleteObject(HFONT h) { return DeleteSlot(h.value, ObjectKind::Font) ? TRUE : FALSE; }
BOOL DeleteObject(HBITMAP h) { return DeleteSlot(h.value, ObjectKind::Bitmap) ? TRUE : FALSE; }
BOOL DeleteObject(HRGN h) { return DeleteSlot(h.value, ObjectKind::Region) ? TRUE : FALSE; }

BOOL DeleteObject(HGDIOBJ h) {
    const ObjectKind k = KindOf(h.value);
    // DCs and icons have their own calls, as in GDI.
    if (k == ObjectKind::None || k == ObjectKind::Dc || k == ObjectKind::Icon) return FALSE;
    return DeleteSlot(h.value, k) ? TRUE : FALSE;
}

HGDIOBJ GetStockObject(int index) {
    HGDIOBJ h;
    h.value = StockHandle(index);
    return h;
}

int GetObjectA(HBITMAP h, int size, BITMAP* out) {
    Bitmap* b = LookupBitmap(h);
    if (!b) return 0;
    if (!out) return static_cast<int>(sizeof(BITMAP));
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP bm;
    bm.bmWidth = b->width;
    bm.bmHeight = b->height;
    // DDB rows are padded to 16 bits; DIB rows to 32 bits (the same for 32 bpp).
    bm.bmWidthBytes = b->bitsPerPixel == 1 ? (b->width + 15) / 16 * 2 : b->width * 4;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(b->bitsPerPixel);
    bm.bmBits = b->dib ? static_cast<void*>(b->pixels32.data()) : nullptr;
    *out = bm;
    return static_cast<int>(sizeof(BITMAP));
}

int GetObjectA(HGDIOBJ h, int size, BITMAP* out) { return GetObjectA(HBITMAP(h.value), size, out); }

int GetObjectA(HFONT h, int size, LOGFONTA* out) {
    const Font* f = LookupFont(h);
    if (!f) return 0;
    if (!out) return static_cast<int>(sizeof(LOGFONTA));
    if (size < static_cast<int>(sizeof(LOGFONTA))) return 0;
    *out = f->lf;
    return static_cast<int>(sizeof(LOGFONTA));
}

BitmapView GetBitmapView(HBITMAP h) {
    Bitmap* b = LookupBitmap(h);
    if (!b) return BitmapView{};
    BitmapView v;
    v.width = b->width;
    v.height = b->height;
    v.bitsPerPixel = b->bitsPerPixel;
    v.stride = b->width;
    if (b->bitsPerPixel == 1)
        v.pixels1 = b->pixels1.data();
    else
        v.pixels32 = b->pixels32.data();
    return v;
}

ObjectCounts LiveObjects() { return CountLive(); }

std::string ToString(const ObjectCounts& c) {
    return "dcs=" + std::to_string(c.dcs) + " bitmaps=" + std::to_string(c.bitmaps) + " pens=" + std::to_string(c.pens) +
           " brushes=" + std::to_string(c.brushes) + " fonts=" + std::to_string(c.fonts) +
           " regions=" + std::to_string(c.regions) + " icons=" + std::to_string(c.icons);
}

}  // namespace gdi
