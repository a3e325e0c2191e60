// A memory device context with one bitmap selected for the length of a drawing call.
// Owns the context, and the bitmap when asked to; puts the context's first bitmap back before deleting.
#pragma once

#include "gdi/Dc.h"
#include "gdi/Handles.h"
#include "gdi/Objects.h"

namespace buttons {

class MemoryCanvas {
public:
    enum class Ownership { Owns, Borrows };

    MemoryCanvas(gdi::HDC compatibleWith, gdi::HBITMAP bitmap, Ownership ownership)
        : bitmap_(bitmap), ownsBitmap_(ownership == Ownership::Owns), dc_(gdi::CreateCompatibleDC(compatibleWith)) {
        if (dc_ && bitmap_) previous_ = gdi::SelectObject(dc_.get(), bitmap_);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    ~MemoryCanvas() {
        if (previous_) gdi::SelectObject(dc_.get(), previous_);
        dc_.reset();
        if (ownsBitmap_ && bitmap_) gdi::DeleteObject(bitmap_);
    }

    gdi::HDC dc() const { return dc_.get(); }
    // True when the context exists and holds the bitmap.
    explicit operator bool() const { return static_cast<bool>(previous_); }

private:
    gdi::HBITMAP bitmap_;
    bool ownsBitmap_;
    gdi::OwnedDC dc_;
    gdi::HBITMAP previous_;
};

}  // namespace buttons
