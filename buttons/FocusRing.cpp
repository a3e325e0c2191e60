// DrawFocusRing: the elliptic default ring of the oval shapes.
#include "buttons/Colors.h"
#include "buttons/FaceSize.h"
#include "buttons/Face.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"

namespace buttons {

void DrawFocusRing(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, gdi::COLORREF colour) {
    if ((s.Input.StateFlags & DefaultLook) == 0) return;
    const int w = ClientWidth(host);
    const int h = ClientHeight(host);
    // The ring lies outside the face clip, so clipping is lifted while it is drawn.
    gdi::SelectClipRgn(buffer.Dc(), gdi::HRGN{});
    SetDrawColor(buffer, true, buffer.Dc(), ToInt(DrawColorMode::Pen), colour, false, 1, gdi::PS_SOLID);
    // The outline shape's 2-pixel rim leaves room one pixel further out.
    const int d = s.Props.ButtonShape == ToInt(ButtonShapeKind::ShapeOvalOutline) ? 1 : 0;
    gdi::Arc(buffer.Dc(), 3 - d, 3 - d, w - 3 + d, h - 3 + d, 0, 0, 0, 0);
    gdi::SelectClipRgn(buffer.Dc(), buffer.FaceClip());
}

}  // namespace buttons
