// Test support for the caption and picture painters: a render buffer set up as the control sets it
// up, on the headless host. Owns the buffer, released at the end.
#pragma once

#include <vector>

#include "buttons/ButtonHost.h"
#include "buttons/testing/HeadlessHost.h"
#include "buttons/ButtonState.h"
#include "buttons/Caption.h"
#include "buttons/CaptionFont.h"
#include "buttons/RenderBuffer.h"
#include "buttons/testing/Pictures.h"
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

}  // namespace buttons::testing
