// Private: the slots of the object table and their inline look-up. Included by ObjectTable_p.h
// after the object structures; handles are found here on every call, so the path stays inline.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

namespace gdi::detail {

// Variant index equals the ObjectKind value.
using Object = std::variant<std::monostate, Dc, Bitmap, Pen, Brush, Font, Region, Icon>;

inline constexpr int IndexBits = 20;
inline constexpr std::uint32_t IndexMask = (1u << IndexBits) - 1;
inline constexpr std::uint32_t GenerationMask = (1u << (32 - IndexBits)) - 1;
inline constexpr std::uint32_t NoSlot = 0xFFFFFFFF;
inline constexpr std::size_t ChunkSize = 256;

struct Slot {
    Object obj;
    std::uint32_t generation = 0;
    std::uint32_t nextFree = NoSlot;
    int selections = 0;
    bool stock = false;
    bool deletePending = false;
};

// Chunked slots (stable addresses), a FIFO free list and per-slot generations, so freed slots are
// reused without heap allocation and old handles die. One thread only.
class Table {
public:
    Table();

    template <class T>
    std::uint32_t Add(T&& v, bool stock) {
        std::uint32_t index = freeHead_;
        if (index != NoSlot) {
            freeHead_ = At(index).nextFree;
            if (freeHead_ == NoSlot) freeTail_ = NoSlot;
        } else {
            if (size_ >= IndexMask) return 0;  // table full: creation fails as GDI's does
            if (size_ % ChunkSize == 0) Grow();
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
        const std::uint32_t index = value & IndexMask;
        if (index == 0 || index > size_) return nullptr;
        Slot& s = At(index - 1);
        if (s.obj.index() == 0 || s.generation != (value >> IndexBits)) return nullptr;
        return &s;
    }

    // The object of kind T behind value, or null.
    template <class T>
    T* FindAs(std::uint32_t value) {
        Slot* s = Find(value);
        return s ? std::get_if<T>(&s->obj) : nullptr;
    }

    // Frees the slot of a live value; the caller has found it.
    void Free(std::uint32_t value);

    int Count(ObjectKind k) const { return counts_[static_cast<int>(k)]; }
    std::uint32_t Stock(int index) const {
        return index >= 0 && index < static_cast<int>(stock_.size()) ? stock_[index] : 0;
    }
    std::uint32_t DefaultBitmapValue() const { return defaultBitmap_; }

private:
    Slot& At(std::uint32_t index) { return (*chunks_[index / ChunkSize])[index % ChunkSize]; }
    void Grow();
    void CreateStock();

    std::vector<std::unique_ptr<std::array<Slot, ChunkSize>>> chunks_;
    std::uint32_t size_ = 0;
    std::uint32_t freeHead_ = NoSlot;
    std::uint32_t freeTail_ = NoSlot;
    std::array<int, std::variant_size_v<Object>> counts_{};
    std::array<std::uint32_t, DC_PEN + 1> stock_{};
    std::uint32_t defaultBitmap_ = 0;
};

// Made on first use, so that objects created during other files' static initialisation find it,
// and never destroyed, so that objects deleted during exit still can be. A plain pointer test
// costs less than a function-local static's guard on every lookup.
extern Table* theTable;
Table& MakeTable();
inline Table& TheTable() { return theTable ? *theTable : MakeTable(); }

inline Dc* LookupDc(HDC h) { return TheTable().FindAs<Dc>(h.value); }
inline Bitmap* LookupBitmap(HBITMAP h) { return TheTable().FindAs<Bitmap>(h.value); }
inline Pen* LookupPen(HPEN h) { return TheTable().FindAs<Pen>(h.value); }
inline Brush* LookupBrush(HBRUSH h) { return TheTable().FindAs<Brush>(h.value); }
inline Font* LookupFont(HFONT h) { return TheTable().FindAs<Font>(h.value); }
inline Region* LookupRegion(HRGN h) { return TheTable().FindAs<Region>(h.value); }
inline Icon* LookupIcon(HICON h) { return TheTable().FindAs<Icon>(h.value); }

}  // namespace gdi::detail
