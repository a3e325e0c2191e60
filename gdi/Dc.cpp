// Device contexts: creation and deletion, object selection, drawing attributes and clipping.
#include "Dc.h"

#include <utility>

#include "Objects.h"
#include "Region.h"
#include "Screen.h"
#include "Table_p.h"

namespace gdi {

using namespace detail;

namespace {

// The slot of a live handle; null for the null handle.
template <class H>
Slot* SlotOf(H h) {
    return TheTable().Find(h.value);
}

// Starts a selection of h, whose slot is s, in one place of the DC.
template <class H>
void Hold(H& handle, Slot*& held, H h, Slot* s) {
    handle = h;
    held = s;
    if (s) ++s->selections;
}

HDC NewDc(bool screen) {
    Dc dc;
    dc.screen = screen;
    const HPEN pen(StockHandle(BLACK_PEN));
    const HBRUSH brush(StockHandle(WHITE_BRUSH));
    const HFONT font(StockHandle(SYSTEM_FONT));
    Hold(dc.pen, dc.penSlot, pen, SlotOf(pen));
    Hold(dc.brush, dc.brushSlot, brush, SlotOf(brush));
    Hold(dc.font, dc.fontSlot, font, SlotOf(font));
    dc.penObj = LookupPen(pen);
    dc.brushObj = LookupBrush(brush);
    if (!screen) {
        Hold(dc.bitmap, dc.bitmapSlot, DefaultBitmap(), SlotOf(DefaultBitmap()));
        dc.surface = LookupBitmap(dc.bitmap);
    }
    return HDC(AddObject(std::move(dc)));
}

// Selects h (live, in slot s) into a place of the DC and ends the selection it displaces, whose
// slot the DC holds; counts stay right even when the two are the same.
template <class H>
H Swap(H& handle, Slot*& held, H h, Slot* s) {
    const H old = handle;
    Slot* const out = held;
    Hold(handle, held, h, s);
    return out ? H(RemoveSelection(out, old.value)) : old;
}

// The selections proper, for an object already found live in slot s with its kind checked: the
// typed calls and the generic one (which has looked the handle up to learn its kind) share them.
HPEN SelectFound(Dc& dc, HPEN h, Slot& s) {
    dc.penObj = s.dcColours ? &dc.dcPen : &s.pen;
    return Swap(dc.pen, dc.penSlot, h, &s);
}
HBRUSH SelectFound(Dc& dc, HBRUSH h, Slot& s) {
    dc.brushObj = s.dcColours ? &dc.dcBrush : &s.brush;
    return Swap(dc.brush, dc.brushSlot, h, &s);
}
HFONT SelectFound(Dc& dc, HFONT h, Slot& s) { return Swap(dc.font, dc.fontSlot, h, &s); }
HBITMAP SelectFound(Dc& dc, HBITMAP h, Slot& s) {
    // Only memory DCs take bitmaps, and a bitmap lives in one DC at a time (the stock one excepted).
    if (dc.screen) return HBITMAP{};
    if (h != dc.bitmap && !s.stock && s.selections > 0) return HBITMAP{};
    dc.surface = s.As<Bitmap>();
    return Swap(dc.bitmap, dc.bitmapSlot, h, &s);
}

template <class T, class H>
H SelectTyped(HDC hdc, H h) {
    // Before the table is made no DC exists, so nothing is made for the look-up.
    Table* const table = theTable;
    if (!table) return H{};
    Dc* dc = table->FindDc(hdc.value);
    Slot* s = table->Find(h.value);
    if (!s || !s->As<T>() || !dc) return H{};
    return SelectFound(*dc, h, *s);
}

}  // namespace

HDC GetDC() { return NewDc(true); }

int ReleaseDC(HDC hdc) {
    const Dc* dc = LookupDc(hdc);
    if (!dc || !dc->screen) return 0;
    return DeleteDC(hdc) ? 1 : 0;
}

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc && !LookupDc(hdc)) return HDC{};
    return NewDc(false);
}

BOOL DeleteDC(HDC hdc) {
    Dc* dc = LookupDc(hdc);
    if (!dc) return FALSE;
    // Ending the selections lets objects deleted while selected go now.
    const std::pair<Slot*, HGDIOBJ> selected[] = {{dc->bitmapSlot, HGDIOBJ(dc->bitmap)},
                                                  {dc->penSlot, HGDIOBJ(dc->pen)},
                                                  {dc->brushSlot, HGDIOBJ(dc->brush)},
                                                  {dc->fontSlot, HGDIOBJ(dc->font)}};
    for (const auto& [slot, h] : selected)
        if (slot) RemoveSelection(slot, h.value);
    return DeleteSlot(hdc.value, ObjectKind::Dc) ? TRUE : FALSE;
}

HPEN SelectObject(HDC hdc, HPEN h) { return SelectTyped<Pen>(hdc, h); }
HBRUSH SelectObject(HDC hdc, HBRUSH h) { return SelectTyped<Brush>(hdc, h); }
HFONT SelectObject(HDC hdc, HFONT h) { return SelectTyped<Font>(hdc, h); }
HBITMAP SelectObject(HDC hdc, HBITMAP h) { return SelectTyped<Bitmap>(hdc, h); }

int SelectObject(HDC hdc, HRGN h) {
    if (!h) return ERROR;  // SelectObject, unlike SelectClipRgn, has no "remove clipping" form
    return SelectClipRgn(hdc, h);
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    Table* const table = theTable;  // none yet: no DC either
    if (!table) return HGDIOBJ{};
    Dc* dc = table->FindDc(hdc.value);
    Slot* s = table->Find(h.value);
    // A region selection into no DC fails as the typed call's ERROR, which is the null handle.
    if (!dc || !s) return HGDIOBJ{};
    // Pens and brushes first, tested before the switch: a face selects little else.
    if (s->kind == ObjectKind::Pen) return HGDIOBJ(SelectFound(*dc, HPEN(h.value), *s));
    if (s->kind == ObjectKind::Brush) return HGDIOBJ(SelectFound(*dc, HBRUSH(h.value), *s));
    switch (s->kind) {
        case ObjectKind::Font: return HGDIOBJ(SelectFound(*dc, HFONT(h.value), *s));
        case ObjectKind::Bitmap: return HGDIOBJ(SelectFound(*dc, HBITMAP(h.value), *s));
        case ObjectKind::Region: {
            // As GDI does, a region selection answers with the region type in the handle value.
            HGDIOBJ result;
            result.value = static_cast<std::uint32_t>(SelectClipRgn(hdc, HRGN(h.value)));
            return result;
        }
        default: return HGDIOBJ{};
    }
}

HPEN GetCurrentPen(HDC hdc) {
    const Dc* dc = LookupDc(hdc);
    return dc ? dc->pen : HPEN{};
}
HBRUSH GetCurrentBrush(HDC hdc) {
    const Dc* dc = LookupDc(hdc);
    return dc ? dc->brush : HBRUSH{};
}
HFONT GetCurrentFont(HDC hdc) {
    const Dc* dc = LookupDc(hdc);
    return dc ? dc->font : HFONT{};
}
HBITMAP GetCurrentBitmap(HDC hdc) {
    const Dc* dc = LookupDc(hdc);
    return dc ? dc->bitmap : HBITMAP{};
}

int SetBkMode(HDC hdc, int mode) {
    Dc* dc = LookupDc(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}
int GetBkMode(HDC hdc) {
    const Dc* dc = LookupDc(hdc);
    return dc ? dc->bkMode : 0;
}

namespace {

// The DC's four colours share one rule: a set keeps the RGB bytes and gives the old colour,
// and a handle that is no DC gives CLR_INVALID.
template <class Field>
COLORREF SetDcColour(HDC hdc, COLORREF c, Field field) {
    Dc* dc = LookupDc(hdc);
    return dc ? std::exchange(field(*dc), c & 0x00FFFFFF) : CLR_INVALID;
}
template <class Field>
COLORREF GetDcColour(HDC hdc, Field field) {
    Dc* dc = LookupDc(hdc);
    return dc ? field(*dc) : CLR_INVALID;
}
constexpr auto kBk = [](Dc& dc) -> COLORREF& { return dc.bkColour; };
constexpr auto kText = [](Dc& dc) -> COLORREF& { return dc.textColour; };
constexpr auto kDcBrush = [](Dc& dc) -> COLORREF& { return dc.dcBrush.colour; };
constexpr auto kDcPen = [](Dc& dc) -> COLORREF& { return dc.dcPen.colour; };

}  // namespace

COLORREF SetBkColor(HDC hdc, COLORREF c) { return SetDcColour(hdc, c, kBk); }
COLORREF GetBkColor(HDC hdc) { return GetDcColour(hdc, kBk); }
COLORREF SetTextColor(HDC hdc, COLORREF c) { return SetDcColour(hdc, c, kText); }
COLORREF GetTextColor(HDC hdc) { return GetDcColour(hdc, kText); }
COLORREF SetDCBrushColor(HDC hdc, COLORREF c) { return SetDcColour(hdc, c, kDcBrush); }
COLORREF GetDCBrushColor(HDC hdc) { return GetDcColour(hdc, kDcBrush); }
COLORREF SetDCPenColor(HDC hdc, COLORREF c) { return SetDcColour(hdc, c, kDcPen); }
COLORREF GetDCPenColor(HDC hdc) { return GetDcColour(hdc, kDcPen); }

int SetMapMode(HDC hdc, int mode) {
    Dc* dc = LookupDc(hdc);
    if (!dc || mode != MM_TEXT) return 0;
    const int old = dc->mapMode;
    dc->mapMode = mode;
    return old;
}
int GetMapMode(HDC hdc) {
    const Dc* dc = LookupDc(hdc);
    return dc ? dc->mapMode : 0;
}

int SetStretchBltMode(HDC hdc, int mode) {
    Dc* dc = LookupDc(hdc);
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int old = dc->stretchMode;
    dc->stretchMode = mode;
    return old;
}
int GetStretchBltMode(HDC hdc) {
    const Dc* dc = LookupDc(hdc);
    return dc ? dc->stretchMode : 0;
}

int GetDeviceCaps(HDC hdc, int index) {
    if (!LookupDc(hdc)) return 0;
    // Memory DCs answer for the device they are compatible with: the screen.
    switch (index) {
        case HORZRES: return GetScreenSize().Width;
        case VERTRES: return GetScreenSize().Height;
        case BITSPIXEL: return 32;
        case LOGPIXELSX:
        case LOGPIXELSY: return GetScreenDpi();
        default: return 0;
    }
}

int SelectClipRgn(HDC hdc, HRGN rgn) {
    Dc* dc = LookupDc(hdc);
    if (!dc) return ERROR;
    if (!rgn) {
        dc->hasClip = false;
        dc->clip.rects.clear();
        return SIMPLEREGION;
    }
    const Region* r = LookupRegion(rgn);
    if (!r) return ERROR;
    dc->clip = *r;
    IndexBands(dc->clip, dc->clipBands);
    dc->hasClip = true;
    return RegionType(dc->clip);
}

int GetClipRgn(HDC hdc, HRGN rgn) {
    const Dc* dc = LookupDc(hdc);
    Region* r = LookupRegion(rgn);
    if (!dc || !r) return -1;
    if (!dc->hasClip) return 0;
    *r = dc->clip;
    return 1;
}

}  // namespace gdi
