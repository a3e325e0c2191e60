// Private: slot management of the object table (allocation, selection counts, deferred deletion).
// Only the object and DC modules use it; everything else goes through ObjectTable_p.h.
#pragma once

#include <cstdint>

#include "ObjectTable_p.h"

namespace gdi::detail {

std::uint32_t AddObject(Dc&& v);
std::uint32_t AddObject(Bitmap&& v);
std::uint32_t AddObject(const Pen& v);
std::uint32_t AddObject(const Brush& v);
std::uint32_t AddObject(Font&& v);
std::uint32_t AddObject(Region&& v);
std::uint32_t AddObject(Icon&& v);
// Stock objects are never freed and not counted.
std::uint32_t AddStockObject(const Pen& v);
std::uint32_t AddStockObject(const Brush& v);
std::uint32_t AddStockObject(Font&& v);
std::uint32_t AddStockObject(Bitmap&& v);

ObjectKind KindOf(std::uint32_t value);
bool IsStock(std::uint32_t value);
int SelectionCount(std::uint32_t value);
void AddSelection(std::uint32_t value);
// Frees the object when it was deleted while selected and this was its last selection.
void RemoveSelection(std::uint32_t value);
// Frees a live object of the given kind now, or marks it to be freed when its last selection
// ends. Stock objects are left alone. False for a stale or foreign value.
bool DeleteSlot(std::uint32_t value, ObjectKind kind);
ObjectCounts CountLive();

// The stock objects, created with the table.
std::uint32_t StockHandle(int index);
HBITMAP DefaultBitmap();

}  // namespace gdi::detail
