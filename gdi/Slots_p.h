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

// The kinds that own memory or other objects; pens and brushes are held in the slot itself.
using Object = std::variant<std::monostate, Dc, Bitmap, Font, Region, Icon>;

inline constexpr int IndexBits = 20;
inline constexpr std::uint32_t IndexMask = (1u << IndexBits) - 1;
inline constexpr std::uint32_t GenerationMask = (1u << (32 - IndexBits)) - 1;
inline constexpr std::uint32_t NoSlot = 0xFFFFFFFF;
inline constexpr std::size_t ChunkSize = 256;
inline constexpr std::size_t MaxChunks = (std::size_t{IndexMask} + ChunkSize) / ChunkSize;
inline constexpr int KindCount = static_cast<int>(ObjectKind::Icon) + 1;
// Set in the generation of a free slot: no handle's generation (12 bits) can equal it, so one
// comparison refuses both stale handles and free slots.
inline constexpr std::uint32_t FreeMark = 0x80000000u;

// Pens and brushes are made and deleted for nearly every strip of a face. They own nothing, so
// they sit beside the slot's bookkeeping: their calls touch one cache line, need no variant
// dispatch, and leave nothing to release when freed.
constexpr bool HeldInSlot(ObjectKind k) { return k == ObjectKind::Pen || k == ObjectKind::Brush; }

template <class T>
constexpr ObjectKind KindOfType() {
    if constexpr (std::is_same_v<T, Dc>) return ObjectKind::Dc;
    else if constexpr (std::is_same_v<T, Bitmap>) return ObjectKind::Bitmap;
    else if constexpr (std::is_same_v<T, Pen>) return ObjectKind::Pen;
    else if constexpr (std::is_same_v<T, Brush>) return ObjectKind::Brush;
    else if constexpr (std::is_same_v<T, Font>) return ObjectKind::Font;
    else if constexpr (std::is_same_v<T, Region>) return ObjectKind::Region;
    else {
        static_assert(std::is_same_v<T, Icon>, "not a kind of object");
        return ObjectKind::Icon;
    }
}

// Aligned so that the bookkeeping and the pen or brush share the slot's first cache line.
struct alignas(64) Slot {
    std::uint32_t generation = FreeMark;  // of the live object, or the next one's with FreeMark
    std::uint32_t nextFree = NoSlot;
    int selections = 0;
    ObjectKind kind = ObjectKind::None;  // None while free
    bool stock = false;
    bool deletePending = false;
    bool dcColours = false;  // the stock DC_PEN or DC_BRUSH: a DC draws it with its own colour
    Pen pen;       // while kind is Pen
    Brush brush;   // while kind is Brush
    Object obj;    // the other kinds; empty while free or holding a pen or brush

    // The object of kind T held here, or null.
    template <class T>
    T* As() {
        if constexpr (HeldInSlot(KindOfType<T>())) {
            if constexpr (std::is_same_v<T, Pen>)
                return kind == ObjectKind::Pen ? &pen : nullptr;
            else
                return kind == ObjectKind::Brush ? &brush : nullptr;
        } else {
            return std::get_if<T>(&obj);
        }
    }
};

// Chunked slots (stable addresses), a FIFO free list and per-slot generations, so freed slots are
// reused without heap allocation and old handles die. One thread only.
class Table {
public:
    Table();

    // The handle of v in a free slot, or 0 when the table is full.
    template <class T>
    std::uint32_t Add(T&& v, bool stock) {
        const std::uint32_t index = freeHead_;
        // A new slot is the rare case; out of line, the common one saves no registers.
        if (index == NoSlot) return AddInNewSlot(std::decay_t<T>(std::forward<T>(v)), stock);
        freeHead_ = At(index).nextFree;
        if (freeHead_ == NoSlot) freeTail_ = nullptr;
        return Fill(index, std::forward<T>(v), stock);
    }

    // By value, so that a pen or brush made in registers need not be stored for the call.
    template <class V>
    [[gnu::noinline]] std::uint32_t AddInNewSlot(V v, bool stock) {
        if (size_ >= IndexMask) return 0;  // table full: creation fails as GDI's does
        if (size_ % ChunkSize == 0) Grow();
        return Fill(size_++, std::move(v), stock);
    }

    template <class T>
    std::uint32_t Fill(std::uint32_t index, T&& v, bool stock) {
        Slot& s = At(index);
        using V = std::decay_t<T>;
        constexpr ObjectKind kind = KindOfType<V>();
        if constexpr (std::is_same_v<V, Pen>)
            s.pen = v;
        else if constexpr (std::is_same_v<V, Brush>)
            s.brush = v;
        else
            s.obj.template emplace<V>(std::forward<T>(v));
        s.generation &= GenerationMask;
        s.nextFree = NoSlot;
        s.selections = 0;
        s.kind = kind;
        s.stock = stock;
        s.deletePending = false;
        s.dcColours = false;
        if (!stock) ++counts_[static_cast<int>(kind)];
        return (s.generation << IndexBits) | (index + 1);
    }

    Slot* Find(std::uint32_t value) {
        // Every index names a slot (see chunkAt_), so no bound is tested: an index 0 (the null
        // handle among them) borrows into the last index, which is never handed out.
        Slot& s = At((value - 1) & IndexMask);
        return s.generation == (value >> IndexBits) ? &s : nullptr;
    }

    // The object of kind T behind value, or null.
    template <class T>
    T* FindAs(std::uint32_t value) {
        Slot* s = Find(value);
        return s ? s->template As<T>() : nullptr;
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
        --counts_[static_cast<int>(s.kind)];
        if (!HeldInSlot(s.kind)) {
            if (value == lastDcValue_) {
                lastDcValue_ = 0;  // the null handle, which finds no DC
                lastDc_ = nullptr;
            }
            Release(s);
        }
        s.kind = ObjectKind::None;
        s.generation = ((s.generation + 1) & GenerationMask) | FreeMark;
        s.nextFree = NoSlot;
        const std::uint32_t index = (value & IndexMask) - 1;
        if (freeTail_)
            freeTail_->nextFree = index;
        else
            freeHead_ = index;
        freeTail_ = &s;
    }

    int Count(ObjectKind k) const { return counts_[static_cast<int>(k)]; }
    std::uint32_t Stock(int index) const {
        return index >= 0 && index < static_cast<int>(stock_.size()) ? stock_[index] : 0;
    }
    std::uint32_t DefaultBitmapValue() const { return defaultBitmap_; }

private:
    using Chunk = std::array<Slot, ChunkSize>;
    Slot& At(std::uint32_t index) { return (*chunkAt_[index / ChunkSize])[index % ChunkSize]; }
    void Grow();
    void CreateStock();
    // Destroys an object that owns memory or other objects, leaving the slot empty.
    void Release(Slot& s);

    // The chunk of every possible index: chunks not made yet show one chunk of slots that are
    // never handed out, whose free mark refuses any handle.
    std::array<Chunk*, MaxChunks> chunkAt_{};
    std::vector<std::unique_ptr<Chunk>> chunks_;  // owns them; the first is the never-used one
    std::uint32_t size_ = 0;
    std::uint32_t freeHead_ = NoSlot;
    Slot* freeTail_ = nullptr;  // the last free slot, null when none is free
    std::uint32_t lastDcValue_ = 0;
    Dc* lastDc_ = nullptr;
    std::array<int, KindCount> counts_{};
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
