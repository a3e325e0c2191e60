// Test support for the caption and picture painters: the headless host and an offscreen buffer set up
// as the control sets up MemDC. Owns the buffer's DC, bitmap and caption font, released at the end.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "buttons/ButtonHost.h"
#include "buttons/HeadlessHost.h"
#include "buttons/ButtonState.h"
#include "buttons/Caption.h"
#include "gdi/Gdi.h"

namespace buttons::testing {

// The painters need only geometry, colours, font and the enabled state of their host.
using PainterHost = HeadlessHost;

// MemDC as the rendering pipeline builds it: transparent text, a buffer bitmap, the caption font.
class Buffer {
public:
    Buffer(ButtonState& s, ButtonHost& host, int width, int height) : s_(s), width_(width), height_(height) {
        const gdi::HDC screen = gdi::GetDC();
        s.MemDC = gdi::CreateCompatibleDC(screen);
        gdi::SetBkMode(s.MemDC, gdi::TRANSPARENT);
        bitmap_ = gdi::CreateCompatibleBitmap(screen, width, height);
        gdi::ReleaseDC(screen);
        s.SavedBitmap = gdi::SelectObject(s.MemDC, bitmap_);
        RefreshCaptionFont(s, host);
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    ~Buffer() {
        if (s_.SavedFont) gdi::DeleteObject(gdi::SelectObject(s_.MemDC, s_.SavedFont));
        gdi::SelectObject(s_.MemDC, s_.SavedBitmap);
        gdi::DeleteObject(bitmap_);
        gdi::DeleteDC(s_.MemDC);
        s_.MemDC = {};
        s_.SavedFont = {};
        s_.SavedBitmap = {};
    }

    void Fill(gdi::COLORREF colour) const {
        gdi::OwnedBrush brush(gdi::CreateSolidBrush(colour));
        gdi::FillRect(s_.MemDC, gdi::RECT{0, 0, width_, height_}, brush.get());
    }
    gdi::COLORREF Pixel(int x, int y) const { return gdi::GetPixel(s_.MemDC, x, y); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    gdi::HBITMAP Bitmap() const { return bitmap_; }
    // Every pixel, row by row, for whole-buffer comparisons.
    std::vector<gdi::COLORREF> Pixels() const {
        std::vector<gdi::COLORREF> out;
        out.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) out.push_back(Pixel(x, y));
        return out;
    }

private:
    ButtonState& s_;
    int width_;
    int height_;
    gdi::HBITMAP bitmap_;
};

// A 32-bit DIB section painted pixel by pixel; colour(x, y) returns a COLORREF.
inline gdi::HBITMAP MakeBitmap(int width, int height, const std::function<gdi::COLORREF(int, int)>& colour) {
    const gdi::HBITMAP bmp = gdi::CreateDIBSection32(width, height);
    const gdi::BitmapView v = gdi::GetBitmapView(bmp);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const gdi::COLORREF c = colour(x, y);
            // The view holds 0x00RRGGBB.
            v.pixels32[y * v.stride + x] = static_cast<std::uint32_t>(gdi::GetRValue(c) << 16 |
                                                                      gdi::GetGValue(c) << 8 | gdi::GetBValue(c));
        }
    }
    return bmp;
}

// An icon whose mask is 1 (transparent) where opaque(x, y) is false; colour is black where opaque.
inline gdi::HICON MakeIcon(int size, const std::function<bool(int, int)>& opaque, gdi::COLORREF ink = 0) {
    const gdi::HBITMAP mask = gdi::CreateBitmap(size, size, 1, 1, nullptr);
    const gdi::BitmapView mv = gdi::GetBitmapView(mask);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) mv.pixels1[y * mv.stride + x] = opaque(x, y) ? 0 : 1;
    const gdi::HBITMAP color = MakeBitmap(size, size, [&](int x, int y) { return opaque(x, y) ? ink : 0; });
    gdi::ICONINFO info;
    info.hbmMask = mask;
    info.hbmColor = color;
    const gdi::HICON icon = gdi::CreateIconIndirect(info);
    gdi::DeleteObject(mask);
    gdi::DeleteObject(color);
    return icon;
}

}  // namespace buttons::testing
