// DrawFocusRing: the elliptic default ring of the oval shapes.
#include "buttons/Colors.h"
#include "buttons/Face.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"

namespace buttons {

void DrawFocusRing(const Frame& f, RenderBuffer& buffer, gdi::COLORREF colour) {
    if (!Has(f.Look, DefaultLook)) return;
    // The ring lies outside the face clip, so clipping is lifted while it is drawn.
    gdi::SelectClipRgn(buffer.Dc(), gdi::HRGN{});
    SetDrawColor(buffer, true, buffer.Dc(), ToInt(DrawColorMode::Pen), colour, false, 1, gdi::PS_SOLID);
    // The outline shape's 2-pixel rim leaves room one pixel further out.
    const int d = f.Props.ButtonShape == ToInt(ButtonShapeKind::ShapeOvalOutline) ? 1 : 0;
    gdi::Arc(buffer.Dc(), 3 - d, 3 - d, f.Width - 3 + d, f.Height - 3 + d, 0, 0, 0, 0);
    gdi::SelectClipRgn(buffer.Dc(), buffer.FaceClip());
}

}  // namespace buttons
