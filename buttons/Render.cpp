#include "buttons/Render.h"

#include <algorithm>

#include "buttons/Caption.h"
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

void RedrawButton(const ButtonState& s, RenderBuffer& buffer, ButtonHost& host) {
    if (s.Input.DelayFlag) return;
    if (!buffer.Ready()) return;
    if (s.Props.ButtonStyle == ToInt(ButtonStyleKind::StyleStandard)) {
        EdgePointArray edgePoints{};
        EdgeColorArray edgeColors{};
        std::int16_t drawState = 0;
        PaintStandardFace(s, buffer, host, edgePoints, edgeColors, drawState);
    }
    PresentBuffer(buffer, host);
    host.RefreshNow();
}

void ResizeBuffer(ButtonState& s, RenderBuffer& buffer, ButtonHost& host) {
    BuildRegions(s, buffer, host);
    buffer.DropBitmap();
    SetUpBuffer(buffer, host);
    Relayout(s, buffer, host);
}

void Reshape(ButtonState& s, RenderBuffer& buffer, ButtonHost& host) {
    BuildRegions(s, buffer, host);
    if (buffer.HasBitmap() && buffer.BitmapWidth() != ClientWidth(host)) {
        buffer.DropBitmap();
        SetUpBuffer(buffer, host);
    }
}

DerivedColours DeriveFaceColours(const ButtonProperties& props) {
    DerivedColours c;
    c.Face = ShiftColor(ConvertSysColor(props.BackColor), 48);
    c.HoverFace = ShiftColor(ConvertSysColor(props.HoverBackColor), 48);
    c.Pressed = ShiftColor(c.Face, -32);
    c.ValueTrue = ShiftColor(0xFFFFFF, -32);
    return c;
}

void Relayout(ButtonState& s, const RenderBuffer& buffer, const ButtonHost& host) {
    std::int32_t width = 0;
    std::int32_t left = 0;
    CalcCaptionLayout(s, buffer, host, width, true, left);
}

}  // namespace buttons
