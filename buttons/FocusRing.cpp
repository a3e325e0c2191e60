// DrawFocusRing: the elliptic default ring of the oval shapes.
#include "buttons/Colors.h"
#include "buttons/Render.h"
#include "buttons/Face.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"

namespace buttons {

void DrawFocusRing(ButtonState& s, ButtonHost& host, gdi::COLORREF colour) {
    if ((s.StateFlags & DefaultLook) == 0) return;
    const int w = ClientWidth(host);
    const int h = ClientHeight(host);
    // The ring lies outside the face clip, so clipping is lifted while it is drawn.
    gdi::SelectClipRgn(s.MemDC, gdi::HRGN{});
    SetDrawColor(s, true, s.MemDC, ToInt(DrawColorMode::Pen), colour, false, 1, gdi::PS_SOLID);
    // The outline shape's 2-pixel rim leaves room one pixel further out.
    const int d = s.ButtonShape == ToInt(ButtonShapeKind::ShapeOvalOutline) ? 1 : 0;
    gdi::Arc(s.MemDC, 3 - d, 3 - d, w - 3 + d, h - 3 + d, 0, 0, 0, 0);
    gdi::SelectClipRgn(s.MemDC, s.FaceClipRgn);
}

}  // namespace buttons
