// Test support for the caption and picture painters: the headless host and a render buffer set up
// as the control sets it up. Owns the buffer, released at the end.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "buttons/ButtonHost.h"
#include "buttons/HeadlessHost.h"
#include "buttons/ButtonState.h"
#include "buttons/Caption.h"
#include "buttons/RenderBuffer.h"
#include "gdi/Gdi.h"

namespace buttons::testing {

// The painters need only geometry, colours, font and the enabled state of their host.
using PainterHost = HeadlessHost;

// The render buffer as the pipeline builds it: transparent text, a buffer bitmap, the caption font.
class Buffer {
public:
    Buffer(const ButtonHost& host, int width, int height) : width_(width), height_(height) {
        const gdi::HDC screen = gdi::GetDC();
        render_.CreateContext(screen);
        render_.CreateBitmap(screen, width, height);
        gdi::ReleaseDC(screen);
        RefreshCaptionFont(render_, host);
    }

    RenderBuffer& Render() { return render_; }
    gdi::HDC Dc() const { return render_.Dc(); }
    void Fill(gdi::COLORREF colour) const {
        gdi::OwnedBrush brush(gdi::CreateSolidBrush(colour));
        gdi::FillRect(Dc(), gdi::RECT{0, 0, width_, height_}, brush.get());
    }
    gdi::COLORREF Pixel(int x, int y) const { return gdi::GetPixel(Dc(), x, y); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    gdi::HBITMAP Bitmap() const { return gdi::GetCurrentBitmap(Dc()); }
    // Every pixel, row by row, for whole-buffer comparisons.
    std::vector<gdi::COLORREF> Pixels() const {
        std::vector<gdi::COLORREF> out;
        out.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) out.push_back(Pixel(x, y));
        return out;
    }

private:
    RenderBuffer render_;
    int width_;
    int height_;
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
