// The process-wide object table: chunked slots (stable addresses), a FIFO free list and
// per-slot generations, so freed slots are reused without heap allocation and old handles die.
#include <array>
#include <cstring>
#include <memory>
#include <variant>
#include <vector>

#include "Table_p.h"

namespace gdi::detail {
namespace {

// Variant index equals the ObjectKind value.
using Object = std::variant<std::monostate, Dc, Bitmap, Pen, Brush, Font, Region, Icon>;
static_assert(std::is_same_v<std::variant_alternative_t<static_cast<int>(ObjectKind::Icon), Object>, Icon>);

constexpr int IndexBits = 20;
constexpr std::uint32_t IndexMask = (1u << IndexBits) - 1;
constexpr std::uint32_t GenerationMask = (1u << (32 - IndexBits)) - 1;
constexpr std::uint32_t NoSlot = 0xFFFFFFFF;
constexpr std::size_t ChunkSize = 256;

struct Slot {
    Object obj;
    std::uint32_t generation = 0;
    std::uint32_t nextFree = NoSlot;
    int selections = 0;
    bool stock = false;
    bool deletePending = false;
};

class Table {
public:
    Table() { CreateStock(); }

    template <class T>
    std::uint32_t Add(T&& v, bool stock) {
        std::uint32_t index = freeHead_;
        if (index != NoSlot) {
            freeHead_ = At(index).nextFree;
            if (freeHead_ == NoSlot) freeTail_ = NoSlot;
        } else {
            if (size_ >= IndexMask) return 0;  // table full: creation fails as GDI's does
            if (size_ % ChunkSize == 0) chunks_.push_back(std::make_unique<std::array<Slot, ChunkSize>>());
            index = size_++;
        }
        Slot& s = At(index);
        s.obj.template emplace<std::decay_t<T>>(std::forward<T>(v));
        s.nextFree = NoSlot;
        s.selections = 0;
        s.stock = stock;
        s.deletePending = false;
        if (!stock) ++counts_[s.obj.index()];
        return (s.generation << IndexBits) | (index + 1);
    }

    Slot* Find(std::uint32_t value) {
        std::uint32_t index = (value & IndexMask);
        if (index == 0 || index > size_) return nullptr;
        Slot& s = At(index - 1);
        if (s.obj.index() == 0 || s.generation != (value >> IndexBits)) return nullptr;
        return &s;
    }

    void Free(std::uint32_t value) {
        std::uint32_t index = (value & IndexMask) - 1;
        Slot& s = At(index);
        --counts_[s.obj.index()];
        s.obj.template emplace<std::monostate>();
        s.generation = (s.generation + 1) & GenerationMask;
        // FIFO reuse: a slot comes back only after every other free slot, so a stale handle
        // needs a full generation cycle of the whole free list before it could match again.
        s.nextFree = NoSlot;
        if (freeTail_ == NoSlot) {
            freeHead_ = freeTail_ = index;
        } else {
            At(freeTail_).nextFree = index;
            freeTail_ = index;
        }
    }

    int Count(ObjectKind k) const { return counts_[static_cast<int>(k)]; }
    std::uint32_t Stock(int index) const {
        return index >= 0 && index < static_cast<int>(stock_.size()) ? stock_[index] : 0;
    }
    std::uint32_t DefaultBitmapValue() const { return defaultBitmap_; }

private:
    Slot& At(std::uint32_t index) { return (*chunks_[index / ChunkSize])[index % ChunkSize]; }

    void CreateStock() {
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

    std::vector<std::unique_ptr<std::array<Slot, ChunkSize>>> chunks_;
    std::uint32_t size_ = 0;
    std::uint32_t freeHead_ = NoSlot;
    std::uint32_t freeTail_ = NoSlot;
    std::array<int, std::variant_size_v<Object>> counts_{};
    std::array<std::uint32_t, DEFAULT_GUI_FONT + 1> stock_{};
    std::uint32_t defaultBitmap_ = 0;
};

// Made on first use, so that objects created during other files' static initialisation find it,
// and never destroyed, so that objects deleted during exit still can be. A plain pointer test
// costs less than a function-local static's guard on every lookup; the table itself is for one
// thread only, so its creation needs no lock either.
Table* theTable = nullptr;

// Kept out of line so that the check below stays small enough to inline at every lookup.
[[gnu::noinline]] Table& MakeTable() {
    theTable = new Table;
    return *theTable;
}

inline Table& TheTable() { return theTable ? *theTable : MakeTable(); }

template <class T>
T* LookupAs(std::uint32_t value) {
    Slot* s = TheTable().Find(value);
    return s ? std::get_if<T>(&s->obj) : nullptr;
}

}  // namespace

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

std::uint32_t AddObject(Dc&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddObject(Bitmap&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddObject(const Pen& v) { return TheTable().Add(Pen(v), false); }
std::uint32_t AddObject(const Brush& v) { return TheTable().Add(Brush(v), false); }
std::uint32_t AddObject(Font&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddObject(Region&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddObject(Icon&& v) { return TheTable().Add(std::move(v), false); }
std::uint32_t AddStockObject(const Pen& v) { return TheTable().Add(Pen(v), true); }
std::uint32_t AddStockObject(const Brush& v) { return TheTable().Add(Brush(v), true); }
std::uint32_t AddStockObject(Font&& v) { return TheTable().Add(std::move(v), true); }
std::uint32_t AddStockObject(Bitmap&& v) { return TheTable().Add(std::move(v), true); }

ObjectKind KindOf(std::uint32_t value) {
    Slot* s = TheTable().Find(value);
    return s ? static_cast<ObjectKind>(s->obj.index()) : ObjectKind::None;
}

bool IsStock(std::uint32_t value) {
    Slot* s = TheTable().Find(value);
    return s && s->stock;
}

int SelectionCount(std::uint32_t value) {
    Slot* s = TheTable().Find(value);
    return s ? s->selections : 0;
}

void AddSelection(std::uint32_t value) {
    if (Slot* s = TheTable().Find(value)) ++s->selections;
}

void RemoveSelection(std::uint32_t value) {
    Slot* s = TheTable().Find(value);
    if (!s || s->selections == 0) return;
    if (--s->selections == 0 && s->deletePending) TheTable().Free(value);
}

bool DeleteSlot(std::uint32_t value, ObjectKind kind) {
    Slot* s = TheTable().Find(value);
    if (!s || static_cast<ObjectKind>(s->obj.index()) != kind) return false;
    if (s->stock) return true;
    if (s->selections > 0) {
        s->deletePending = true;
        return true;
    }
    TheTable().Free(value);
    return true;
}

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

std::uint32_t StockHandle(int index) { return TheTable().Stock(index); }
HBITMAP DefaultBitmap() { return HBITMAP(TheTable().DefaultBitmapValue()); }

Dc* LookupDc(HDC h) { return LookupAs<Dc>(h.value); }
Bitmap* LookupBitmap(HBITMAP h) { return LookupAs<Bitmap>(h.value); }
Pen* LookupPen(HPEN h) { return LookupAs<Pen>(h.value); }
Brush* LookupBrush(HBRUSH h) { return LookupAs<Brush>(h.value); }
Font* LookupFont(HFONT h) { return LookupAs<Font>(h.value); }
Region* LookupRegion(HRGN h) { return LookupAs<Region>(h.value); }
Icon* LookupIcon(HICON h) { return LookupAs<Icon>(h.value); }

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
    return !dc.hasClip || RegionContains(dc.clip, x, y);
}

}  // namespace gdi::detail
