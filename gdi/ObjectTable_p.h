// Private: the process-wide object table behind every handle, and the structures of each kind.
// Owns every live object; handles carry a slot index and a generation so stale values are refused.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "Handles.h"
#include "Objects.h"
#include "Types.h"

namespace gdi::detail {

struct Pen {
    int style = PS_SOLID;
    int width = 1;  // 0 is stored as 1: both are the one-pixel cosmetic pen
    COLORREF colour = 0;
};

struct Brush {
    bool isNull = false;
    COLORREF colour = 0;
};

struct Font {
    LOGFONTA lf;
    // Free for the text engine (a cached face, metrics); the table only keeps it alive.
    std::shared_ptr<void> cache;
};

// 32 bpp pixels are 0x00RRGGBB; 1 bpp pixels are one byte each, 0 or 1. Rows top-down, stride = width.
struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    bool dib = false;  // a DIB section: GetObjectA reports bmBits
    std::vector<std::uint32_t> pixels32;
    std::vector<std::uint8_t> pixels1;

    std::uint32_t* Row32(int y) { return pixels32.data() + static_cast<std::size_t>(y) * width; }
    const std::uint32_t* Row32(int y) const { return pixels32.data() + static_cast<std::size_t>(y) * width; }
    std::uint8_t* Row1(int y) { return pixels1.data() + static_cast<std::size_t>(y) * width; }
    const std::uint8_t* Row1(int y) const { return pixels1.data() + static_cast<std::size_t>(y) * width; }
};

// Allocates zeroed storage for the given size and depth (1 or 32).
Bitmap MakeBitmap(int width, int height, int bitsPerPixel, bool dib = false);

// Y-X banded rectangles: sorted by top, then left; rectangles of one band share top and bottom,
// never touch or overlap within a band, and vertically adjacent identical bands are merged.
struct Region {
    std::vector<RECT> rects;
    RECT box{};  // all zero when empty
};

// Where each row's band starts in a region, so that a clipped fill finds its first rectangle at
// once: a face clip has a band for almost every row, and a redraw makes hundreds of small fills.
// Rows past the first MaxRows of the region are found by halving instead.
struct BandIndex {
    static constexpr int MaxRows = 4096;
    int top = 0;                        // the first indexed row
    std::vector<std::uint32_t> first;   // per row: the first rectangle whose band ends below it
};
void IndexBands(const Region& r, BandIndex& index);
// The first rectangle of r whose band ends below row y, found by halving.
inline std::size_t FirstBandReaching(const Region& r, int y) {
    return static_cast<std::size_t>(
        std::partition_point(r.rects.begin(), r.rects.end(), [&](const RECT& c) { return c.bottom <= y; }) -
        r.rects.begin());
}
// The same through r's index.
inline std::size_t FirstBandReaching(const Region& r, const BandIndex& index, int y) {
    if (y < index.top) return 0;
    const auto row = static_cast<std::size_t>(y - index.top);
    return row < index.first.size() ? index.first[row] : FirstBandReaching(r, y);
}
// Whether (x, y) lies in a rectangle of r's band for row y, which starts at `first`.
inline bool BandHolds(const Region& r, std::size_t first, int x, int y) {
    for (std::size_t i = first; i < r.rects.size() && r.rects[i].top <= y; ++i)
        if (x >= r.rects[i].left && x < r.rects[i].right) return true;
    return false;
}

// The region type GDI reports: NULLREGION, SIMPLEREGION or COMPLEXREGION.
int RegionType(const Region& r);
void SetRectRegion(Region& r, int left, int top, int right, int bottom);
bool RegionContains(const Region& r, int x, int y);
// out may alias a or b.
void CombineRegions(Region& out, const Region& a, const Region& b, int mode);
void OffsetRegion(Region& r, int dx, int dy);

struct Slot;

struct StrokeKeep;  // Stroke.cpp's: pen stamps and the last wide ellipse outline

struct Dc {
    bool screen = false;
    HBITMAP bitmap;
    HPEN pen;
    HBRUSH brush;
    HFONT font;
    // Cached targets of the selected handles; stable because selected objects are never freed.
    Bitmap* surface = nullptr;  // null for the screen, whose drawing is discarded
    const Pen* penObj = nullptr;
    const Brush* brushObj = nullptr;
    // What the stock DC_BRUSH and DC_PEN draw with in this DC; white and black to start, as in GDI.
    Brush dcBrush{false, RGB(255, 255, 255)};
    Pen dcPen{PS_SOLID, 1, RGB(0, 0, 0)};
    // The table slots of the selected handles, so that a selection ends without a look-up.
    Slot* bitmapSlot = nullptr;
    Slot* penSlot = nullptr;
    Slot* brushSlot = nullptr;
    Slot* fontSlot = nullptr;
    int bkMode = OPAQUE;
    COLORREF bkColour = RGB(255, 255, 255);
    COLORREF textColour = RGB(0, 0, 0);
    int mapMode = MM_TEXT;
    int stretchMode = BLACKONWHITE;
    POINT position{};
    bool hasClip = false;
    Region clip;  // device coordinates; meaningful only when hasClip
    BandIndex clipBands;  // of clip, rebuilt whenever clip changes
    // What drawing into this DC keeps for the next call, which a redraw of the same picture makes
    // with the same pens and sizes: the strokes' (made on first use) and the strip fills' row.
    std::shared_ptr<StrokeKeep> strokes;
    std::vector<std::uint32_t> stripRow;
};

// One stretch of a colour icon's row that draws one way: transparent pixels (mask 1, image
// black) only lose the destination's top byte, opaque ones (mask 0) are the image's pixel, and
// the rest take the AND and the XOR. x1 is exclusive.
struct IconRun {
    enum class Kind : std::uint8_t { Keep, Copy, Mixed };
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
    Kind kind = Kind::Mixed;
};

// What an icon shows. Icons never change once made, so a copy at the same size shares this
// (a face copies its picture on every redraw) and what is derived from the bits is made once.
struct IconImage {
    Bitmap mask;    // 1 bpp
    Bitmap colour;  // 32 bpp; width 0 for a monochrome icon
    // A colour icon's mask as 32-bit AND words (0x00FFFFFF keeps the destination, 0 clears it),
    // so a mixed run is one AND and one XOR a pixel with no widening of mask bytes.
    std::vector<std::uint32_t> andWords;
    // A colour icon's rows as runs, left to right; row y's are runs[rowRuns[y]] up to
    // runs[rowRuns[y + 1]].
    std::vector<IconRun> runs;
    std::vector<std::uint32_t> rowRuns;
    // Whether the plain runs hold most of the pixels, so that drawing by runs pays for itself.
    bool drawByRuns = false;
    bool hasColour() const { return colour.width > 0; }
};
// The image of mask and colour (colour empty for a monochrome icon) with its derived data.
std::shared_ptr<const IconImage> MakeIconImage(Bitmap&& mask, Bitmap&& colour);

// An icon or cursor: its hotspot and its image, shared with its same-size copies.
struct Icon {
    bool isIcon = true;
    DWORD xHotspot = 0;
    DWORD yHotspot = 0;
    std::shared_ptr<const IconImage> image;  // never null once made
    // The last resized copy made of this icon, so that a picture copied at the same size again
    // (every redraw of a face) shares that image instead of being scaled again.
    std::shared_ptr<const Icon> lastResized;
    const Bitmap& mask() const { return image->mask; }
    const Bitmap& colour() const { return image->colour; }
    bool hasColour() const { return image->hasColour(); }
};

}  // namespace gdi::detail

// The Lookup* calls, inline: every drawing call finds its DC and objects through them.
#include "Slots_p.h"

namespace gdi::detail {

// The brush h paints with in dc: the DC's own for the stock DC_BRUSH, else the table's.
const Brush* BrushFor(const Dc& dc, HBRUSH h);

// New counted objects made from prepared structures (loaders, CopyImage, icon creation).
HBITMAP NewBitmap(Bitmap&& bitmap);
HICON NewIcon(Icon&& icon);
HRGN NewRegion(Region&& region);

// Colour conversions between COLORREF (0x00BBGGRR) and 32 bpp pixels (0x00RRGGBB).
constexpr std::uint32_t ToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ToColorRef(std::uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
// The nearer of black (0) and white (1); ties go to black.
std::uint8_t NearestMono(COLORREF c);
// How a pen colour lands on a 1 bpp surface: exact black and white map to 0 and 1; any other
// colour maps as the DC's background colour does if equal to it, else to the opposite.
// (Brushes there are dithered instead; see Raster_p.h.)
std::uint8_t MonoForDrawing(const Dc& dc, COLORREF c);

// The surface rectangle of the DC (empty for the screen).
RECT SurfaceRect(const Dc& dc);

// Calls f(const RECT&) for every part of area (device coordinates) that lies on the DC's
// surface and inside its clip region; parts come top to bottom, left to right.
template <class F>
void ForEachVisibleRect(const Dc& dc, const RECT& area, F&& f) {
    if (!dc.surface) return;
    RECT a{area.left < 0 ? 0 : area.left, area.top < 0 ? 0 : area.top,
           area.right > dc.surface->width ? dc.surface->width : area.right,
           area.bottom > dc.surface->height ? dc.surface->height : area.bottom};
    if (a.left >= a.right || a.top >= a.bottom) return;
    if (!dc.hasClip) {
        f(static_cast<const RECT&>(a));
        return;
    }
    // Held in locals: f writes pixels, which the compiler cannot tell apart from the clip.
    const RECT* const end = dc.clip.rects.data() + dc.clip.rects.size();
    for (const RECT* it = dc.clip.rects.data() + FirstBandReaching(dc.clip, dc.clipBands, a.top); it != end; ++it) {
        const RECT c = *it;
        if (c.top >= a.bottom) break;
        if (c.bottom <= a.top || c.right <= a.left || c.left >= a.right) continue;
        RECT r{c.left > a.left ? c.left : a.left, c.top > a.top ? c.top : a.top,
               c.right < a.right ? c.right : a.right, c.bottom < a.bottom ? c.bottom : a.bottom};
        f(static_cast<const RECT&>(r));
    }
}

// Calls f(left, right) for each part of [left, right) of row y inside the DC's clip region
// (which the DC has; the row and the span are already cut to the surface).
template <class F>
void ForEachClipSpan(const Dc& dc, int y, int left, int right, F&& f) {
    const RECT* const end = dc.clip.rects.data() + dc.clip.rects.size();
    for (const RECT* it = dc.clip.rects.data() + FirstBandReaching(dc.clip, dc.clipBands, y); it != end && it->top <= y;
         ++it) {
        if (it->right <= left) continue;
        if (it->left >= right) break;
        f(left > it->left ? left : it->left, right < it->right ? right : it->right);
    }
}

// True when (x, y) is on the DC's surface and inside its clip region.
bool IsVisible(const Dc& dc, int x, int y);

}  // namespace gdi::detail
