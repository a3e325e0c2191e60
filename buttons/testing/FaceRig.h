// A button face on its own: the headless host, the rendering pipeline's buffer around it, and one
// paint pass. Shared by the face, shape and gradient tests and the face benchmarks. Owns all three.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "buttons/ButtonState.h"
#include "buttons/Colors.h"
#include "buttons/Face.h"
#include "buttons/FaceState.h"
#include "buttons/testing/HeadlessHost.h"
#include "buttons/Render.h"
#include "buttons/Shapes.h"
#include "gdi/Gdi.h"
#include "gdi/testing/Pixels.h"

namespace buttons::testing {

// Never painted by a face pass: a pixel left in this colour was not covered.
constexpr gdi::COLORREF Sentinel = gdi::RGB(255, 0, 255);

struct FaceRig {
    ButtonState s;
    HeadlessHost host;
    RenderBuffer buffer;
    int width;
    int height;
    // Width changes the host was asked for, and whether drawing was delayed meanwhile.
    std::vector<int> widthRequests;
    std::vector<bool> delayedDuringWidthChange;

    FaceRig(int w, int h) : host(w, h), width(w), height(h) {
        s.Props.BackColor = gdi::RGB(212, 208, 200);
        s.Props.HoverBackColor = gdi::RGB(212, 208, 200);
        s.Container.BackColor = gdi::RGB(212, 208, 200);
        DeriveColours();
        host.SetResizeHandler([this] {
            widthRequests.push_back(host.Width());
            delayedDuringWidthChange.push_back(s.Drawing.Delayed);
        });
        SetUpBuffer(buffer, host);
    }
    FaceRig(const FaceRig&) = delete;
    FaceRig& operator=(const FaceRig&) = delete;

    void DeriveColours() { s.Colours = DeriveFaceColours(s.Props); }

    void SetLook(FaceState look) { ApplyFaceState(look, s, host); }

    // The frame of the rig's state, host and buffer as they stand.
    Frame Current() const { return MakeFrame(s, host, buffer); }

    // One face pass, as RedrawButton runs it, returning the face's draw state; first fills the
    // buffer with the sentinel unless the previous pass's pixels are to stay, as they do in the
    // control's buffer.
    std::int16_t Paint(bool fillSentinel = true) {
        if (fillSentinel) gdi::test::FillPixels(gdi::GetCurrentBitmap(buffer.Dc()), Sentinel);
        const Frame f = Current();
        PaintStandardFace(f, buffer);
        return FaceDrawState(f);
    }

    gdi::COLORREF Pixel(int x, int y) const { return gdi::GetPixel(buffer.Dc(), x, y); }

    // The face as the screen shows it: the container's colour outside the window region.
    gdi::OwnedBitmap CompositeBitmap() const {
        gdi::OwnedBitmap out(gdi::CreateDIBSection32(width, height));
        gdi::test::FillPixels(out.get(), gdi::RGB(212, 208, 200));
        const gdi::BitmapView from = gdi::GetBitmapView(gdi::GetCurrentBitmap(buffer.Dc()));
        const gdi::BitmapView to = gdi::GetBitmapView(out.get());
        for (int y = 0; from.pixels32 && y < height && y < from.height; ++y) {
            for (int x = 0; x < width && x < from.width; ++x) {
                if (!host.WindowRegion() || gdi::PtInRegion(host.WindowRegion(), x, y)) {
                    to.pixels32[y * to.stride + x] = from.pixels32[y * from.stride + x] & gdi::test::kRgb;
                }
            }
        }
        return out;
    }
    std::vector<std::uint32_t> Composite() const { return gdi::test::PixelsOf(CompositeBitmap().get()); }
};

}  // namespace buttons::testing
