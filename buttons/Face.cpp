// PaintStandardFace: the order of the face's layers and the colours of each interaction state.
#include "buttons/Face.h"

#include "buttons/Bevel.h"
#include "buttons/Caption.h"
#include "buttons/Colors.h"
#include "buttons/FaceSize.h"
#include "gdi/Draw.h"

namespace buttons {
namespace {

constexpr gdi::COLORREF DefaultRingColour = gdi::RGB(107, 130, 239);
constexpr gdi::COLORREF HoverRingColour = gdi::RGB(231, 150, 0);

bool Has(const ButtonState& s, std::uint8_t flag) { return (s.Input.StateFlags & flag) != 0; }

void PaintOutlines(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, const FaceColours& colours,
                   bool enabled,
                   EdgePointArray& edgePoints, EdgeColorArray& edgeColors, std::int16_t& drawState) {
    gdi::COLORREF outline = OutlineColour;
    if (enabled) {
        drawState = EdgeDrawState(s, drawState);
        FillEdgeColumn(edgeColors, drawState, colours.base);
    } else {
        // Negative slots are skipped: a disabled face keeps only its outer outline.
        for (int slot = 1; slot <= 8; ++slot) edgeColors[static_cast<std::size_t>(slot)] = -1;
        outline = ShiftColor(colours.base, -84);
    }
    for (int slot = 9; slot <= 12; ++slot) edgeColors[static_cast<std::size_t>(slot)] = outline;
    DrawBevelLines(s, buffer, host, edgePoints, edgeColors, -1);

    // Dark corner pixels soften the corners the window region cuts; a slanted side has none.
    const int w = ClientWidth(host);
    const int h = ClientHeight(host);
    if (s.Geometry.SlantLeftX == 0) {
        gdi::SetPixel(buffer.Dc(), 1, h - 2, outline);
        gdi::SetPixel(buffer.Dc(), 1, 1, outline);
    }
    if (s.Geometry.SlantRightX == w) {
        gdi::SetPixel(buffer.Dc(), w - 2, h - 2, outline);
        gdi::SetPixel(buffer.Dc(), w - 2, 1, outline);
    }
}

}  // namespace

bool IsPressed(const ButtonState& s) { return Has(s, HeldDown) && Has(s, MouseOver); }

FaceColours SelectFaceColours(const ButtonState& s, bool enabled) {
    FaceColours c;
    if (s.Props.Mode > 0) {
        c.base = s.Props.Value ? s.Colours.ValueTrue : s.Colours.Face;
        c.face = c.base;
    } else {
        c.base = s.Colours.Face;
        if (IsPressed(s) && s.Props.GradientMode == 0) {
            c.face = s.Colours.Pressed;
        } else {
            c.face = enabled ? c.base : ShiftColor(c.base, -24);
        }
    }
    c.disabledText = enabled ? 0 : ShiftColor(c.face, -104);
    c.gradient = s.Props.GradientMode != 0 ? ShiftColor(ConvertSysColor(s.Props.GradientColor), 48) : c.face;
    return c;
}

std::int16_t EdgeDrawState(const ButtonState& s, std::int16_t fromBackground) {
    std::int16_t state = fromBackground;
    if ((s.Input.ButtonDown && s.Props.Mode > 0) || s.Props.Value) state = Has(s, DefaultLook) ? 1 : 2;
    // Hover wins only while the button is not held, so a held button keeps its pressed look.
    if (Has(s, MouseOver) && !Has(s, HeldDown)) {
        state = 3;
    } else if (state == 1 && !s.Props.ShowFocusRect) {
        state = 0;
    }
    return state;
}

void PaintStandardFace(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, EdgePointArray& edgePoints,
                       EdgeColorArray& edgeColors, std::int16_t& drawState) {
    const bool enabled = host.Enabled();
    FaceColours colours = SelectFaceColours(s, enabled);
    gdi::COLORREF hover = s.Colours.HoverFace;
    DrawFaceBackground(s, buffer, host, colours.face, drawState, colours.gradient, hover);

    if (s.Props.ButtonShape > 3) {
        // The oval shapes show state through the ring alone; DrawFocusRing needs DefaultLook.
        if (Has(s, DefaultLook) && !s.Input.HoverLit) {
            DrawFocusRing(s, buffer, host, DefaultRingColour);
        } else if (s.Input.HoverLit) {
            DrawFocusRing(s, buffer, host, HoverRingColour);
        }
    } else {
        PaintOutlines(s, buffer, host, colours, enabled, edgePoints, edgeColors, drawState);
    }

    bool singlePass = true;
    DrawCaption(s, buffer, host, colours.face, colours.disabledText, s.Props.Value, singlePass);
}

}  // namespace buttons
