// A memory device context that deletes itself, optionally holding one bitmap, and a guard that
// puts back whatever a selection displaced. Owns the context (and the bitmap when told to).
#pragma once

#include <utility>

#include "gdi/Dc.h"
#include "gdi/Handles.h"
#include "gdi/Objects.h"

namespace gdi {

// Selects obj into dc for the guard's lifetime; the displaced object goes back at the end.
template <class H>
class SelectionGuard {
public:
    SelectionGuard(HDC dc, H obj) : dc_(dc), previous_(dc && obj ? SelectObject(dc, obj) : H{}) {}
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;
    ~SelectionGuard() {
        if (previous_) SelectObject(dc_, previous_);
    }
    // True when the selection took place.
    explicit operator bool() const { return static_cast<bool>(previous_); }
    H Previous() const { return previous_; }

private:
    HDC dc_;
    H previous_;
};

class MemoryDC {
public:
    enum class Ownership { Owns, Borrows };

    explicit MemoryDC(HDC compatibleWith = HDC{}) : dc_(CreateCompatibleDC(compatibleWith)) {}
    // A context with bitmap selected; the bitmap is deleted with the context when owned.
    MemoryDC(HDC compatibleWith, HBITMAP bitmap, Ownership ownership) : MemoryDC(compatibleWith) {
        withBitmap_ = true;
        bitmap_ = bitmap;
        ownsBitmap_ = ownership == Ownership::Owns;
        if (dc_ && bitmap_) previous_ = SelectObject(dc_.get(), bitmap_);
    }
    // A context holding a new 32 bpp DIB section of the given size.
    static MemoryDC WithBitmap(int width, int height) {
        return MemoryDC(HDC{}, CreateDIBSection32(width, height), Ownership::Owns);
    }
    MemoryDC(MemoryDC&& o) noexcept
        : dc_(std::move(o.dc_)),
          bitmap_(std::exchange(o.bitmap_, HBITMAP{})),
          previous_(std::exchange(o.previous_, HBITMAP{})),
          ownsBitmap_(std::exchange(o.ownsBitmap_, false)),
          withBitmap_(o.withBitmap_) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    MemoryDC& operator=(MemoryDC&&) = delete;
    ~MemoryDC() {
        if (previous_) SelectObject(dc_.get(), previous_);
        dc_.reset();
        if (ownsBitmap_ && bitmap_) DeleteObject(bitmap_);
    }

    HDC get() const { return dc_.get(); }
    HBITMAP Bitmap() const { return bitmap_; }
    // With a bitmap: true when the context exists and holds it. Without one: when the context exists.
    explicit operator bool() const { return withBitmap_ ? static_cast<bool>(previous_) : static_cast<bool>(dc_); }

private:
    OwnedDC dc_;
    HBITMAP bitmap_{};
    HBITMAP previous_{};
    bool ownsBitmap_ = false;
    bool withBitmap_ = false;
};

}  // namespace gdi
