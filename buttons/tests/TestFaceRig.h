// A button face on its own: the headless host, the rendering pipeline's buffer around it, and one
// paint pass. Shared by the face, shape and gradient tests and the face benchmarks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "buttons/ButtonState.h"
#include "buttons/Colors.h"
#include "buttons/Face.h"
#include "buttons/FaceState.h"
#include "buttons/HeadlessHost.h"
#include "buttons/Render.h"
#include "buttons/Shapes.h"
#include "gdi/Gdi.h"

namespace facetest {

using namespace buttons;

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
            delayedDuringWidthChange.push_back(s.Input.DelayFlag);
        });
        SetUpBuffer(buffer, host);
    }
    FaceRig(const FaceRig&) = delete;
    FaceRig& operator=(const FaceRig&) = delete;

    void DeriveColours() { s.Colours = DeriveFaceColours(s.Props); }

    void SetLook(FaceState look) { ApplyFaceState(look, s, host); }

    // One face pass, as RedrawButton runs it; first fills the buffer with the sentinel unless
    // the previous pass's pixels are to stay, as they do in the control's buffer.
    std::int16_t Paint(bool fillSentinel = true) {
        const gdi::BitmapView view = gdi::GetBitmapView(gdi::GetCurrentBitmap(buffer.Dc()));
        for (int y = 0; fillSentinel && view.pixels32 && y < view.height; ++y) {
            for (int x = 0; x < view.width; ++x) view.pixels32[y * view.stride + x] = 0x00FF00FF;
        }
        EdgePointArray points{};
        EdgeColorArray colours{};
        std::int16_t drawState = 0;
        PaintStandardFace(s, buffer, host, points, colours, drawState);
        return drawState;
    }

    gdi::COLORREF Pixel(int x, int y) const { return gdi::GetPixel(buffer.Dc(), x, y); }

    // The face as the screen shows it: the container's colour outside the window region.
    std::vector<std::uint32_t> Composite() const {
        const gdi::BitmapView view = gdi::GetBitmapView(gdi::GetCurrentBitmap(buffer.Dc()));
        std::vector<std::uint32_t> out(static_cast<std::size_t>(width * height), 0x00D4D0C8);
        for (int y = 0; view.pixels32 && y < height && y < view.height; ++y) {
            for (int x = 0; x < width && x < view.width; ++x) {
                if (!host.WindowRegion() || gdi::PtInRegion(host.WindowRegion(), x, y)) {
                    out[static_cast<std::size_t>(y * width + x)] = view.pixels32[y * view.stride + x] & 0xFFFFFF;
                }
            }
        }
        return out;
    }
};

}  // namespace facetest
