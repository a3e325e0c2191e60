// Strong handle types of the drawing layer and the move-only owner that deletes them.
// A handle is a plain, copyable, borrowed value; only Owned<H> deletes what it holds.
#pragma once

#include <cstdint>
#include <utility>

namespace gdi {

enum class ObjectKind : std::uint8_t { None = 0, Dc, Bitmap, Pen, Brush, Font, Region, Icon };

// One type per kind of object; no implicit conversions between kinds.
// Value 0 is the null handle, as in GDI.
template <ObjectKind K>
struct Handle {
    std::uint32_t value = 0;
    constexpr Handle() = default;
    constexpr explicit Handle(std::uint32_t v) : value(v) {}
    constexpr explicit operator bool() const { return value != 0; }
    friend constexpr bool operator==(Handle, Handle) = default;
};

using HDC = Handle<ObjectKind::Dc>;
using HBITMAP = Handle<ObjectKind::Bitmap>;
using HPEN = Handle<ObjectKind::Pen>;
using HBRUSH = Handle<ObjectKind::Brush>;
using HFONT = Handle<ObjectKind::Font>;
using HRGN = Handle<ObjectKind::Region>;
using HICON = Handle<ObjectKind::Icon>;  // icons and cursors alike
using HCURSOR = HICON;

// A handle of any kind, for the calls that take one (GetObjectType, CopyImage, pictures).
struct HGDIOBJ {
    std::uint32_t value = 0;
    constexpr HGDIOBJ() = default;
    template <ObjectKind K>
    constexpr explicit HGDIOBJ(Handle<K> h) : value(h.value) {}
    constexpr explicit operator bool() const { return value != 0; }
    friend constexpr bool operator==(HGDIOBJ, HGDIOBJ) = default;
};

// The kind of a live object, or None for a null, stale or foreign value.
ObjectKind GetObjectType(HGDIOBJ h);

// Checked narrowing: the null handle unless h is a live object of kind K.
template <class H>
H HandleCast(HGDIOBJ h);

// Deletes through the call that fits the kind (DeleteObject, DeleteDC, DestroyIcon).
bool DestroyHandle(HGDIOBJ h);

// Move-only owner. Never copyable, so no double delete can wait in a copy.
template <class H>
class Owned {
public:
    Owned() = default;
    explicit Owned(H h) : handle_(h) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : handle_(std::exchange(o.handle_, H{})) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) reset(std::exchange(o.handle_, H{}));
        return *this;
    }
    ~Owned() { reset(); }

    H get() const { return handle_; }
    H release() { return std::exchange(handle_, H{}); }
    void reset(H h = H{}) {
        if (handle_) DestroyHandle(HGDIOBJ(handle_));
        handle_ = h;
    }
    explicit operator bool() const { return static_cast<bool>(handle_); }

private:
    H handle_{};
};

using OwnedDC = Owned<HDC>;
using OwnedBitmap = Owned<HBITMAP>;
using OwnedPen = Owned<HPEN>;
using OwnedBrush = Owned<HBRUSH>;
using OwnedFont = Owned<HFONT>;
using OwnedRgn = Owned<HRGN>;
using OwnedIcon = Owned<HICON>;

}  // namespace gdi
