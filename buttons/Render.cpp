#include "buttons/Render.h"

#include <algorithm>

#include "buttons/Caption.h"
#include "buttons/CaptionFont.h"
#include "buttons/Colors.h"
#include "buttons/Face.h"
#include "buttons/Shapes.h"
#include "gdi/Draw.h"

namespace buttons {
namespace {

std::int32_t ClampEdge(double v) { return std::clamp(Nearest(v), 0, MaxBufferEdge); }

}  // namespace

std::int32_t ClientWidth(const ButtonHost& host) { return ClampEdge(host.ScaleWidth()); }
std::int32_t ClientHeight(const ButtonHost& host) { return ClampEdge(host.ScaleHeight()); }

void SetUpBuffer(RenderBuffer& buffer, const ButtonHost& host) {
    if (!buffer.Dc()) {
        if (!buffer.CreateContext(host.hDC())) return;
        RefreshCaptionFont(buffer, host);
    }
    buffer.CreateBitmap(host.hDC(), ClientWidth(host), ClientHeight(host));
}

void PresentBuffer(const RenderBuffer& buffer, const ButtonHost& host) {
    if (!buffer.Dc()) return;
    gdi::BitBlt(host.hDC(), 0, 0, ClientWidth(host), ClientHeight(host), buffer.Dc(), 0, 0, gdi::SRCCOPY);
}

void PaintFrame(const Frame& f, RenderBuffer& buffer) {
    if (f.Props.ButtonStyle == ToInt(ButtonStyleKind::StyleStandard)) PaintStandardFace(f, buffer);
}

bool RedrawButton(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, Repaint when) {
    if (s.Drawing.Delayed) return false;
    if (!buffer.Ready()) return false;
    Frame frame = MakeFrame(s, host, buffer);
    if (when == Repaint::WhenChanged && buffer.Shows(frame)) return false;
    PaintFrame(frame, buffer);
    buffer.PaintedFrom(std::move(frame));
    return true;
}

void ResizeBuffer(ButtonState& s, RenderBuffer& buffer, ButtonHost& host) {
    RebuildShape(s, buffer, host);
    buffer.DropBitmap();
    SetUpBuffer(buffer, host);
    Relayout(s, buffer, host);
}

void Reshape(ButtonState& s, RenderBuffer& buffer, ButtonHost& host) {
    RebuildShape(s, buffer, host);
    if (buffer.HasBitmap() && buffer.BitmapWidth() != ClientWidth(host)) {
        buffer.DropBitmap();
        SetUpBuffer(buffer, host);
    }
}

void RebuildShape(ButtonState& s, RenderBuffer& buffer, ButtonHost& host) {
    const int width = ClientWidth(host);
    const int required = RequiredWidth(s.Props.ButtonShape, width, ClientHeight(host));
    if (required != width) {
        // The Resize the host raises from inside must not rebuild anything meanwhile. The switch
        // is put back as it was, so a caller's own DelayDrawing(True) survives the widening.
        const bool wasDelayed = s.Drawing.Delayed;
        s.Drawing.Delayed = true;
        host.SetWidthPixels(required);
        s.Drawing.Delayed = wasDelayed;
    }
    s.Shape = BuildRegions(s.Props.ButtonShape, buffer, host);
}

DerivedColours DeriveFaceColours(const ButtonProperties& props) {
    DerivedColours c;
    c.Face = ShiftColor(ConvertSysColor(props.BackColor), 48);
    c.HoverFace = ShiftColor(ConvertSysColor(props.HoverBackColor), 48);
    c.Pressed = ShiftColor(c.Face, -32);
    c.ValueTrue = ShiftColor(0xFFFFFF, -32);
    return c;
}

void Relayout(ButtonState& s, RenderBuffer& buffer, const ButtonHost& host) {
    s.Layout = LayOutCaption(MakeFrame(s, host, buffer), buffer);
}

}  // namespace buttons
