// The picture a button's host presents: a memory DC with a 32 bpp DIB section (0x00RRGGBB) of the
// control's client size, which the control draws into through ButtonHost::hDC. Owns the DC and
// the section; a host copies View() to its window.
#pragma once

#include "gdi/Handles.h"
#include "gdi/Objects.h"
#include "gdi/Types.h"

namespace buttons {

class PresentationBuffer {
public:
    PresentationBuffer(int width, int height);
    ~PresentationBuffer();
    PresentationBuffer(const PresentationBuffer&) = delete;
    PresentationBuffer& operator=(const PresentationBuffer&) = delete;

    // A blank section of the new size (at least 1x1, so the DC is always a 32 bpp colour DC);
    // false, keeping the picture, when the size is already that.
    bool Resize(int width, int height);
    // A blank section of the new size whatever the present one.
    void Reset(int width, int height);

    gdi::HDC Dc() const { return dc_.get(); }
    gdi::HBITMAP Bitmap() const { return bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    gdi::BitmapView View() const { return gdi::GetBitmapView(bitmap_); }
    // A pixel as a COLORREF; CLR_INVALID outside the picture.
    gdi::COLORREF Pixel(int x, int y) const;

private:
    gdi::OwnedDC dc_;
    gdi::HBITMAP original_;  // the bitmap the DC started with, put back before deletion
    gdi::HBITMAP bitmap_;    // owned; selected in dc_
    int width_ = 0;
    int height_ = 0;
};

}  // namespace buttons
