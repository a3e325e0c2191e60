// Icon and cursor objects: creation from a mask and colour bitmap, query, destruction.
#include "Image.h"
#include "Table_p.h"

namespace gdi {

using namespace detail;

namespace {

// Icons keep a 1 bpp mask; a colour mask is reduced with white as 1, as a colour-to-mono blit
// with a white background colour does.
Bitmap AsMono(const Bitmap& b) {
    if (b.bitsPerPixel == 1) return Bitmap{b.width, b.height, 1, false, {}, b.pixels1};
    Bitmap m = MakeBitmap(b.width, b.height, 1);
    for (std::size_t i = 0; i < b.pixels32.size(); ++i) m.pixels1[i] = (b.pixels32[i] & 0x00FFFFFF) == 0x00FFFFFF;
    return m;
}

Bitmap AsColour(const Bitmap& b) {
    if (b.bitsPerPixel == 32) return Bitmap{b.width, b.height, 32, false, b.pixels32, {}};
    Bitmap c = MakeBitmap(b.width, b.height, 32);
    for (std::size_t i = 0; i < b.pixels1.size(); ++i) c.pixels32[i] = b.pixels1[i] ? 0x00FFFFFF : 0;
    return c;
}

}  // namespace

HICON CreateIconIndirect(const ICONINFO& info) {
    const Bitmap* mask = LookupBitmap(info.hbmMask);
    if (!mask) return HICON{};
    const Bitmap* colour = info.hbmColor ? LookupBitmap(info.hbmColor) : nullptr;
    if (info.hbmColor && !colour) return HICON{};
    // The drawing reads both bitmaps by the mask's size: a colour bitmap of another size is refused
    // rather than read past its end.
    if (colour && (colour->width != mask->width || colour->height != mask->height)) return HICON{};
    Icon icon;
    icon.isIcon = info.fIcon != FALSE;
    icon.xHotspot = info.xHotspot;
    icon.yHotspot = info.yHotspot;
    icon.image = MakeIconImage(AsMono(*mask), colour ? AsColour(*colour) : Bitmap{0, 0, 32, false, {}, {}});
    return NewIcon(std::move(icon));
}

BOOL DestroyIcon(HICON h) { return DeleteSlot(h.value, ObjectKind::Icon) ? TRUE : FALSE; }

BOOL GetIconInfo(HICON h, ICONINFO* out) {
    const Icon* icon = LookupIcon(h);
    if (!icon || !out) return FALSE;
    ICONINFO info;
    info.fIcon = icon->isIcon ? TRUE : FALSE;
    // GDI reports an icon's hotspot as its centre.
    const Bitmap& mask = icon->mask();
    info.xHotspot = icon->isIcon ? static_cast<DWORD>(mask.width / 2) : icon->xHotspot;
    info.yHotspot = icon->isIcon ? static_cast<DWORD>((icon->hasColour() ? mask.height : mask.height / 2) / 2)
                                 : icon->yHotspot;
    info.hbmMask = NewBitmap(Bitmap(mask));
    info.hbmColor = icon->hasColour() ? NewBitmap(Bitmap(icon->colour())) : HBITMAP{};
    *out = info;
    return TRUE;
}

}  // namespace gdi
