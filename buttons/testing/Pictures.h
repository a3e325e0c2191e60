// Pictures made in memory for the button's tests and benchmarks: bitmaps painted pixel by pixel
// and icons with a mask. Each returns a new object the caller (or its Picture) owns.
#pragma once

#include <functional>
#include <memory>

#include "buttons/ButtonTypes.h"
#include "gdi/Gdi.h"
#include "gdi/testing/Pixels.h"

namespace buttons::testing {

// A 32-bit DIB section painted pixel by pixel; colour(x, y) returns a COLORREF.
inline gdi::HBITMAP MakeBitmap(int width, int height, const std::function<gdi::COLORREF(int, int)>& colour) {
    const gdi::HBITMAP bmp = gdi::CreateDIBSection32(width, height);
    const gdi::BitmapView v = gdi::GetBitmapView(bmp);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) v.pixels32[y * v.stride + x] = gdi::test::PixelOf(colour(x, y));
    return bmp;
}

// An icon whose mask is 1 (transparent) where opaque(x, y) is false; colour is ink where opaque.
inline gdi::HICON MakeIcon(int size, const std::function<bool(int, int)>& opaque, gdi::COLORREF ink = 0) {
    const gdi::OwnedBitmap mask(gdi::CreateBitmap(size, size, 1, 1, nullptr));
    const gdi::BitmapView mv = gdi::GetBitmapView(mask.get());
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) mv.pixels1[y * mv.stride + x] = opaque(x, y) ? 0 : 1;
    const gdi::OwnedBitmap color(MakeBitmap(size, size, [&](int x, int y) { return opaque(x, y) ? ink : 0; }));
    gdi::ICONINFO info;
    info.hbmMask = mask.get();
    info.hbmColor = color.get();
    return gdi::CreateIconIndirect(info);
}

// A 32 bpp bitmap picture of the given size (black).
inline PictureRef MakeBitmapPicture(int width, int height) {
    auto p = std::make_shared<Picture>();
    p->type = Picture::Type::Bitmap;
    p->handle = gdi::HGDIOBJ(gdi::CreateDIBSection32(width, height));
    return p;
}

// An icon picture of no image: only the host's type check looks at it.
inline PictureRef MakeIconPicture() {
    auto p = std::make_shared<Picture>();
    p->type = Picture::Type::Icon;
    return p;
}

// An icon picture: ink where opaque(x, y), transparent elsewhere.
inline PictureRef MakeIconPicture(int size, const std::function<bool(int, int)>& opaque, gdi::COLORREF ink = 0) {
    auto p = std::make_shared<Picture>();
    p->type = Picture::Type::Icon;
    p->handle = gdi::HGDIOBJ(MakeIcon(size, opaque, ink));
    return p;
}

}  // namespace buttons::testing
