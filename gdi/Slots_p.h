// Private: the slots of the object table and their inline look-up. Included by ObjectTable_p.h
// after the object structures; handles are found here on every call, so the path stays inline.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <type_traits>
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
// Set in the generation of a free slot: no handle's generation (12 bits) can equal it, so one
// comparison refuses both stale handles and free slots.
inline constexpr std::uint32_t FreeMark = 0x80000000u;

// Pens and brushes are made and deleted for nearly every strip of a face. Their structures own
// nothing, so a freed slot keeps one in place and the next of the same kind is written over it,
// without the variant's destroy-and-construct dispatch at either end.
template <class T>
inline constexpr bool KeptWhenFree = std::is_same_v<T, Pen> || std::is_same_v<T, Brush>;

struct Slot {
    Object obj;
    std::uint32_t generation = 0;  // of the live object, or the next one's with FreeMark
    std::uint32_t nextFree = NoSlot;
    int selections = 0;
    bool stock = false;
    bool deletePending = false;
    bool dcColours = false;  // the stock DC_PEN or DC_BRUSH: a DC draws it with its own colour
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
        using V = std::decay_t<T>;
        if constexpr (KeptWhenFree<V>) {
            if (V* kept = std::get_if<V>(&s.obj))
                *kept = std::forward<T>(v);
            else
                s.obj.template emplace<V>(std::forward<T>(v));
        } else {
            s.obj.template emplace<V>(std::forward<T>(v));
        }
        s.generation &= GenerationMask;
        s.nextFree = NoSlot;
        s.selections = 0;
        s.stock = stock;
        s.deletePending = false;
        s.dcColours = false;
        if (!stock) ++counts_[s.obj.index()];
        return (s.generation << IndexBits) | (index + 1);
    }

    Slot* Find(std::uint32_t value) {
        // Index 0 (the null handle) wraps round to the largest value and fails the bound.
        const std::uint32_t index = (value & IndexMask) - 1;
        if (index >= size_) return nullptr;
        Slot& s = At(index);
        return s.generation == (value >> IndexBits) ? &s : nullptr;
    }

    // The object of kind T behind value, or null.
    template <class T>
    T* FindAs(std::uint32_t value) {
        Slot* s = Find(value);
        return s ? std::get_if<T>(&s->obj) : nullptr;
    }

    // The DC of value, or null. Nearly every call names the DC it drew on last, so that one is
    // remembered and found without the slot walk; freeing it forgets it.
    Dc* FindDc(std::uint32_t value) {
        if (value == lastDcValue_) return lastDc_;
        Dc* dc = FindAs<Dc>(value);
        if (dc) {
            lastDcValue_ = value;
            lastDc_ = dc;
        }
        return dc;
    }

    // Frees s, the live slot of value; FIFO reuse: a slot comes back only after every other
    // free slot, so a stale handle needs a full generation cycle of the whole free list before
    // it could match again.
    void Free(Slot& s, std::uint32_t value) {
        --counts_[s.obj.index()];
        // The kinds kept when free (see KeptWhenFree) stay in place.
        if (!std::holds_alternative<Pen>(s.obj) && !std::holds_alternative<Brush>(s.obj)) {
            if (value == lastDcValue_) {
                lastDcValue_ = 0;  // the null handle, which finds no DC
                lastDc_ = nullptr;
            }
            Release(s);
        }
        s.generation = ((s.generation + 1) & GenerationMask) | FreeMark;
        s.nextFree = NoSlot;
        const std::uint32_t index = (value & IndexMask) - 1;
        if (freeTail_ == NoSlot)
            freeHead_ = index;
        else
            freeTailSlot_->nextFree = index;
        freeTail_ = index;
        freeTailSlot_ = &s;
    }

    int Count(ObjectKind k) const { return counts_[static_cast<int>(k)]; }
    std::uint32_t Stock(int index) const {
        return index >= 0 && index < static_cast<int>(stock_.size()) ? stock_[index] : 0;
    }
    std::uint32_t DefaultBitmapValue() const { return defaultBitmap_; }

private:
    Slot& At(std::uint32_t index) { return (*chunks_[index / ChunkSize])[index % ChunkSize]; }
    void Grow();
    void CreateStock();
    // Destroys an object that owns memory or other objects, leaving the slot empty.
    void Release(Slot& s);

    std::vector<std::unique_ptr<std::array<Slot, ChunkSize>>> chunks_;
    std::uint32_t size_ = 0;
    std::uint32_t freeHead_ = NoSlot;
    std::uint32_t freeTail_ = NoSlot;
    Slot* freeTailSlot_ = nullptr;  // the slot of freeTail_
    std::uint32_t lastDcValue_ = 0;
    Dc* lastDc_ = nullptr;
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

inline Dc* LookupDc(HDC h) { return TheTable().FindDc(h.value); }
inline Bitmap* LookupBitmap(HBITMAP h) { return TheTable().FindAs<Bitmap>(h.value); }
inline Pen* LookupPen(HPEN h) { return TheTable().FindAs<Pen>(h.value); }
inline Brush* LookupBrush(HBRUSH h) { return TheTable().FindAs<Brush>(h.value); }
inline Font* LookupFont(HFONT h) { return TheTable().FindAs<Font>(h.value); }
inline Region* LookupRegion(HRGN h) { return TheTable().FindAs<Region>(h.value); }
inline Icon* LookupIcon(HICON h) { return TheTable().FindAs<Icon>(h.value); }

}  // namespace gdi::detail
