// The process-wide object table: its creation with the stock objects, slot freeing, selection
// counts with deferred deletion, and the live counters.
#include <array>
#include <cstring>
#include <memory>
#include <variant>
#include <vector>

#include "Table_p.h"

namespace gdi::detail {

Table* theTable = nullptr;

// Kept out of line so that TheTable() stays small enough to inline at every lookup.
[[gnu::noinline]] Table& MakeTable() {
    theTable = new Table;
    return *theTable;
}

Table::Table() {
    chunks_.push_back(std::make_unique<Chunk>());
    chunkAt_.fill(chunks_.front().get());
    CreateStock();
}

void Table::Grow() {
    chunks_.push_back(std::make_unique<Chunk>());
    chunkAt_[size_ / ChunkSize] = chunks_.back().get();
}

void Table::Release(Slot& s) { s.obj.template emplace<std::monostate>(); }

void Table::CreateStock() {
    auto brush = [&](int idx, int grey) { stock_[idx] = Add(Brush{false, RGB(grey, grey, grey)}, true); };
    brush(WHITE_BRUSH, 255);
    brush(LTGRAY_BRUSH, 192);
    brush(GRAY_BRUSH, 128);
    brush(DKGRAY_BRUSH, 64);
    brush(BLACK_BRUSH, 0);
    stock_[NULL_BRUSH] = Add(Brush{true, 0}, true);
    stock_[WHITE_PEN] = Add(Pen{PS_SOLID, 1, RGB(255, 255, 255)}, true);
    stock_[BLACK_PEN] = Add(Pen{PS_SOLID, 1, RGB(0, 0, 0)}, true);
    stock_[NULL_PEN] = Add(Pen{PS_NULL, 1, 0}, true);
    // Stand-ins only: a DC that selects these draws with its own colours (Dc::dcBrush, Dc::dcPen).
    stock_[DC_BRUSH] = Add(Brush{false, RGB(255, 255, 255)}, true);
    stock_[DC_PEN] = Add(Pen{PS_SOLID, 1, RGB(0, 0, 0)}, true);
    Find(stock_[DC_BRUSH])->dcColours = true;
    Find(stock_[DC_PEN])->dcColours = true;
    auto font = [&](int idx, LONG height, LONG weight, const char* face) {
        Font f;
        f.lf.lfHeight = height;
        f.lf.lfWeight = weight;
        f.lf.lfCharSet = ANSI_CHARSET;
        std::strncpy(f.lf.lfFaceName, face, sizeof f.lf.lfFaceName - 1);
        stock_[idx] = Add(std::move(f), true);
    };
    font(SYSTEM_FONT, 16, FW_BOLD, "System");
    // GDI's default GUI font is "MS Shell Dlg", an alias of MS Sans Serif; we name the target.
    font(DEFAULT_GUI_FONT, -11, FW_NORMAL, "MS Sans Serif");
    defaultBitmap_ = Add(MakeBitmap(1, 1, 1), true);
}

Bitmap MakeBitmap(int width, int height, int bitsPerPixel, bool dib) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bitsPerPixel = bitsPerPixel;
    b.dib = dib;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (bitsPerPixel == 1)
        b.pixels1.assign(n, 0);
    else
        b.pixels32.assign(n, 0);
    return b;
}

std::uint32_t AddFirstObject(Pen v) { return MakeTable().Add(std::move(v), false); }
std::uint32_t AddFirstObject(Brush v) { return MakeTable().Add(std::move(v), false); }
std::uint32_t AddObject(Dc&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddObject(Bitmap&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddObject(Font&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddObject(Region&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddObject(Icon&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddStockObject(const Pen& v) { return TheTable().Add(Pen(v), true); }
std::uint32_t AddStockObject(const Brush& v) { return TheTable().Add(Brush(v), true); }
std::uint32_t AddStockObject(Font&& v) { return TheTable().Add(std::move(v), true); }
std::uint32_t AddStockObject(Bitmap&& v) { return TheTable().Add(std::move(v), true); }

ObjectCounts CountLive() {
    const Table& t = TheTable();
    ObjectCounts c;
    c.dcs = t.Count(ObjectKind::Dc);
    c.bitmaps = t.Count(ObjectKind::Bitmap);
    c.pens = t.Count(ObjectKind::Pen);
    c.brushes = t.Count(ObjectKind::Brush);
    c.fonts = t.Count(ObjectKind::Font);
    c.regions = t.Count(ObjectKind::Region);
    c.icons = t.Count(ObjectKind::Icon);
    return c;
}

std::uint32_t FreeDeselected(Slot& s, std::uint32_t value) {
    TheTable().Free(s, value);
    return value;
}

HBITMAP DefaultBitmap() { return HBITMAP(TheTable().DefaultBitmapValue()); }

const Brush* BrushFor(const Dc& dc, HBRUSH h) {
    Slot* s = TheTable().Find(h.value);
    const Brush* b = s ? s->As<Brush>() : nullptr;
    return b && s->dcColours ? &dc.dcBrush : b;
}

HBITMAP NewBitmap(Bitmap&& bitmap) { return HBITMAP(AddObject(std::move(bitmap))); }
HICON NewIcon(Icon&& icon) { return HICON(AddObject(std::move(icon))); }
HRGN NewRegion(Region&& region) { return HRGN(AddObject(std::move(region))); }

std::uint8_t NearestMono(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int toBlack = r * r + g * g + b * b;
    const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite < toBlack ? 1 : 0;
}

std::uint8_t MonoForDrawing(const Dc& dc, COLORREF c) {
    c &= 0x00FFFFFF;
    if (c == 0) return 0;
    if (c == 0x00FFFFFF) return 1;
    const std::uint8_t bk = NearestMono(dc.bkColour);
    return c == (dc.bkColour & 0x00FFFFFF) ? bk : static_cast<std::uint8_t>(bk ^ 1);
}

RECT SurfaceRect(const Dc& dc) {
    if (!dc.surface) return RECT{};
    return RECT{0, 0, dc.surface->width, dc.surface->height};
}

bool IsVisible(const Dc& dc, int x, int y) {
    if (!dc.surface || x < 0 || y < 0 || x >= dc.surface->width || y >= dc.surface->height) return false;
    return !dc.hasClip || BandHolds(dc.clip, FirstBandReaching(dc.clip, dc.clipBands, y), x, y);
}

}  // namespace gdi::detail
