#include "buttons/Frame.h"

#include <algorithm>

#include "buttons/ButtonHost.h"
#include "buttons/FaceSize.h"
#include "buttons/Colors.h"
#include "buttons/RenderBuffer.h"
#include "gdi/Screen.h"

namespace buttons {

Frame MakeFrame(const ButtonState& s, const ButtonHost& host, const RenderBuffer& buffer) {
    Frame f;
    f.Props = s.Props;
    f.ContainerBack = s.Container.BackColor;
    f.Colours = s.Colours;
    f.Shape = s.Shape;
    f.Layout = s.Layout;
    f.Measured = s.Measured;
    f.Look = FaceLook{s.Input.StateFlags, s.Input.HoverLit, s.Input.ButtonDown};
    f.Enabled = host.Enabled();
    f.ForeColor = host.ForeColor();
    // ClientWidth and ClientHeight, from one read of the host each.
    f.FaceWidth = Nearest(host.ScaleWidth());
    f.FaceHeight = Nearest(host.ScaleHeight());
    f.Width = std::clamp(f.FaceWidth, 0, MaxBufferEdge);
    f.Height = std::clamp(f.FaceHeight, 0, MaxBufferEdge);
    const gdi::ScreenSize screen = gdi::GetScreenSize();
    f.ScreenWidth = screen.Width;
    f.ScreenHeight = screen.Height;
    // What GetDeviceCaps(LOGPIXELSX) answers for the buffer's context: the screen's, 0 without one.
    f.Dpi = buffer.Dc() ? gdi::GetScreenDpi() : 0;
    return f;
}

bool IsPressed(const FaceLook& look) { return Has(look, HeldDown) && Has(look, MouseOver); }

}  // namespace buttons
