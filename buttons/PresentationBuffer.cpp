#include "buttons/PresentationBuffer.h"

#include <algorithm>

#include "gdi/Dc.h"
#include "gdi/Image.h"

namespace buttons {

PresentationBuffer::PresentationBuffer(int width, int height) : dc_(gdi::CreateCompatibleDC(gdi::HDC{})) {
    Reset(width, height);
}

PresentationBuffer::~PresentationBuffer() {
    if (dc_ && original_) gdi::SelectObject(dc_.get(), original_);
    if (bitmap_) gdi::DeleteObject(bitmap_);
}

bool PresentationBuffer::Resize(int width, int height) {
    if (bitmap_ && std::max(1, width) == width_ && std::max(1, height) == height_) return false;
    Reset(width, height);
    return true;
}

void PresentationBuffer::Reset(int width, int height) {
    const int w = std::max(1, width);
    const int h = std::max(1, height);
    const gdi::HBITMAP fresh = gdi::CreateDIBSection32(w, h);
    const gdi::HBITMAP out = gdi::SelectObject(dc_.get(), fresh);
    if (!original_) {
        original_ = out;
    } else if (out) {
        gdi::DeleteObject(out);
    }
    bitmap_ = fresh;
    width_ = w;
    height_ = h;
}

gdi::COLORREF PresentationBuffer::Pixel(int x, int y) const {
    const gdi::BitmapView v = View();
    if (v.bitsPerPixel != 32 || x < 0 || y < 0 || x >= v.width || y >= v.height) return gdi::CLR_INVALID;
    const std::uint32_t p = v.pixels32[static_cast<std::size_t>(y) * static_cast<std::size_t>(v.stride) +
                                       static_cast<std::size_t>(x)];
    return gdi::RGB(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF));
}

}  // namespace buttons
