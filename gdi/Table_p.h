// Private: slot management of the object table (allocation, selection counts, deferred deletion).
// Only the object and DC modules use it; everything else goes through ObjectTable_p.h.
#pragma once

#include <cstdint>

#include "ObjectTable_p.h"

namespace gdi::detail {

std::uint32_t AddObject(Dc&& v);
std::uint32_t AddObject(Bitmap&& v);
// Pens and brushes are made for nearly every strip of a face, so their creation is inline; the
// first object of all, which makes the table, goes out of line.
// By value, so that a pen or brush stays in registers.
std::uint32_t AddFirstObject(Pen v);
std::uint32_t AddFirstObject(Brush v);
inline std::uint32_t AddObject(Pen v) { return theTable ? theTable->Add(std::move(v), false) : AddFirstObject(v); }
inline std::uint32_t AddObject(Brush v) { return theTable ? theTable->Add(std::move(v), false) : AddFirstObject(v); }
std::uint32_t AddObject(Font&& v);
std::uint32_t AddObject(Region&& v);
std::uint32_t AddObject(Icon&& v);
// Stock objects are never freed and not counted.
std::uint32_t AddStockObject(const Pen& v);
std::uint32_t AddStockObject(const Brush& v);
std::uint32_t AddStockObject(Font&& v);
std::uint32_t AddStockObject(Bitmap&& v);

inline ObjectKind KindOf(std::uint32_t value) {
    Slot* s = TheTable().Find(value);
    return s ? s->kind : ObjectKind::None;
}

inline bool IsStock(std::uint32_t value) {
    Slot* s = TheTable().Find(value);
    return s && s->stock;
}

inline int SelectionCount(std::uint32_t value) {
    Slot* s = TheTable().Find(value);
    return s ? s->selections : 0;
}

inline void AddSelection(std::uint32_t value) {
    if (Slot* s = TheTable().Find(value)) ++s->selections;
}

// Frees s, the live slot of value, and gives value back; out of line, so that the selection
// calls, which seldom free, keep their registers and answer with the value by a tail call.
std::uint32_t FreeDeselected(Slot& s, std::uint32_t value);

// Frees the object when it was deleted while selected and this was its last selection.
// s is the live slot of value, which is given back.
inline std::uint32_t RemoveSelection(Slot* s, std::uint32_t value) {
    if (s->selections == 0) return value;
    if (--s->selections == 0 && s->deletePending) return FreeDeselected(*s, value);
    return value;
}
inline void RemoveSelection(std::uint32_t value) {
    if (Slot* s = TheTable().Find(value)) RemoveSelection(s, value);
}

// Frees a live object of the given kind now, or marks it to be freed when its last selection
// ends. Stock objects are left alone. False for a stale or foreign value.
inline bool DeleteSlot(std::uint32_t value, ObjectKind kind) {
    Table* const table = theTable;  // none yet: nothing to delete
    if (!table) return false;
    Slot* s = table->Find(value);
    if (!s || s->kind != kind) return false;
    if (s->stock) return true;
    if (s->selections > 0) {
        s->deletePending = true;
        return true;
    }
    table->Free(*s, value);
    return true;
}

ObjectCounts CountLive();

// The stock objects, created with the table.
inline std::uint32_t StockHandle(int index) { return TheTable().Stock(index); }
HBITMAP DefaultBitmap();

}  // namespace gdi::detail
