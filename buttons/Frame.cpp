#include "buttons/Frame.h"

#include "buttons/ButtonHost.h"
#include "buttons/FaceSize.h"
#include "buttons/Colors.h"
#include "buttons/RenderBuffer.h"
#include "gdi/Dc.h"
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
    f.Width = ClientWidth(host);
    f.Height = ClientHeight(host);
    f.FaceWidth = Nearest(host.ScaleWidth());
    f.FaceHeight = Nearest(host.ScaleHeight());
    const gdi::ScreenSize screen = gdi::GetScreenSize();
    f.ScreenWidth = screen.Width;
    f.ScreenHeight = screen.Height;
    f.Dpi = gdi::GetDeviceCaps(buffer.Dc(), gdi::LOGPIXELSX);
    return f;
}

bool IsPressed(const FaceLook& look) { return Has(look, HeldDown) && Has(look, MouseOver); }

}  // namespace buttons
