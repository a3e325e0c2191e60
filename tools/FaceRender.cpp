#include "tools/FaceRender.h"

#include <stdexcept>

#include "buttons/Colors.h"
#include "buttons/OffscreenHost.h"
#include "buttons/Persistence.h"
#include "buttons/qkButtons_H.h"
#include "forms/Units.h"
#include "gdi/Gdi.h"
#include "gdi/MemoryDC.h"
#include "win/OffscreenWindowServices.h"

namespace tools {
namespace {

// Large enough for any button of a window; a larger request is a mistake, not a picture.
constexpr int MaxEdge = 4096;

void Collect(const forms::Control& c, std::vector<const forms::Control*>& out) {
    if (c.Kind == forms::ButtonKind) out.push_back(&c);
    for (const auto& child : c.Children) Collect(child, out);
}

// The control that holds button (the root when nothing nearer does).
const forms::Control& ContainerOf(const forms::Control& root, const forms::Control& button) {
    for (const auto& child : root.Children) {
        if (&child == &button) return root;
        if (child.FindByName(button.Name) != nullptr) return ContainerOf(child, button);
    }
    return root;
}

}  // namespace

std::vector<const forms::Control*> FindButtons(const forms::Control& root) {
    std::vector<const forms::Control*> out;
    Collect(root, out);
    return out;
}

int TwipsToPixels(std::int32_t twips) { return forms::StandardScale.Pixels(twips); }

gdi::OwnedBitmap RenderFace(const forms::Document& doc, const forms::Control& button, const RenderRequest& request) {
    if (button.Kind != forms::ButtonKind) throw std::invalid_argument("'" + button.Name + "' is not a Button");
    int width = request.width;
    int height = request.height;
    if (width <= 0 || height <= 0) {
        const forms::Geometry g = button.Geom();
        width = TwipsToPixels(g.Width);
        height = TwipsToPixels(g.Height);
    }
    if (width <= 0 || height <= 0 || width > MaxEdge || height > MaxEdge) {
        throw std::invalid_argument("'" + button.Name + "' has no usable size: give --size WxH or Width and Height");
    }

    const forms::Control& container = ContainerOf(doc.Root, button);
    // A window system without a screen: the control's option-group and timer properties have
    // windows to live on, and no pointer is anywhere.
    win::OffscreenWindowServices windows;
    const win::HWND containerWnd = windows.CreateWindow();
    const win::HWND self = windows.CreateWindow();
    const buttons::OleColor ambientBack = container.Properties.ReadColour("BackColor", buttons::SysButtonFace);
    buttons::OffscreenHost::Surroundings around;
    around.userMode = !request.designTime;
    around.ambientBack = ambientBack;
    around.displayName = button.Name;
    around.window = self;
    around.container = containerWnd;
    buttons::OffscreenHost host(width, height, around);
    if (const auto font = container.Properties.ReadFont("Font")) host.SetFont(buttons::ToFontDesc(*font));

    gdi::OwnedBitmap out;
    {
        buttons::qkButtons_H control(host, windows);
        host.SetResizeHandler([&control] { control.Resize(); });
        control.ReadProperties(button.Properties);

        auto& s = control.State();
        if (request.value) s.Props.Value = *request.value;
        buttons::ApplyFaceState(request.state, s, host);
        control.Paint();
        // Hover lighting is a picture state only here: no timer runs, so none must be stopped.
        s.Input.HoverLit = false;

        // A slant shape too narrow for its slant has widened the control while it loaded.
        width = host.Width();
        height = host.Height();
        out.reset(gdi::CreateDIBSection32(width, height));
        const gdi::MemoryDC dc(gdi::HDC{}, out.get(), gdi::MemoryDC::Ownership::Borrows);
        gdi::BitBlt(dc.get(), 0, 0, width, height, host.hDC(), 0, 0, gdi::SRCCOPY);
        if (const gdi::HRGN region = host.WindowRegion()) {
            const gdi::COLORREF back = buttons::ConvertSysColor(ambientBack);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    if (!gdi::PtInRegion(region, x, y)) gdi::SetPixel(dc.get(), x, y, back);
                }
            }
        }
    }
    return out;
}

}  // namespace tools
