// PaintStandardFace: the order of the face's layers and the colours of each interaction state.
#include "buttons/Face.h"

#include "buttons/Bevel.h"
#include "buttons/Caption.h"
#include "buttons/Colors.h"
#include "buttons/Render.h"
#include "gdi/Draw.h"

namespace buttons {
namespace {

constexpr gdi::COLORREF DefaultRingColour = gdi::RGB(107, 130, 239);
constexpr gdi::COLORREF HoverRingColour = gdi::RGB(231, 150, 0);

bool Has(const ButtonState& s, std::uint8_t flag) { return (s.StateFlags & flag) != 0; }

void PaintOutlines(ButtonState& s, ButtonHost& host, const FaceColours& colours, bool enabled,
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
    DrawBevelLines(s, host, edgePoints, edgeColors, -1);

    // Dark corner pixels soften the corners the window region cuts; a slanted side has none.
    const int w = ClientWidth(host);
    const int h = ClientHeight(host);
    if (s.SlantLeftX == 0) {
        gdi::SetPixel(s.MemDC, 1, h - 2, outline);
        gdi::SetPixel(s.MemDC, 1, 1, outline);
    }
    if (s.SlantRightX == w) {
        gdi::SetPixel(s.MemDC, w - 2, h - 2, outline);
        gdi::SetPixel(s.MemDC, w - 2, 1, outline);
    }
}

}  // namespace

bool IsPressed(const ButtonState& s) { return Has(s, HeldDown) && Has(s, MouseOver); }

FaceColours SelectFaceColours(const ButtonState& s, bool enabled) {
    FaceColours c;
    if (s.Mode > 0) {
        c.base = s.Value ? s.ValueTrueColor : s.FaceColor;
        c.face = c.base;
    } else {
        c.base = s.FaceColor;
        if (IsPressed(s) && s.GradientMode == 0) {
            c.face = s.PressedColor;
        } else {
            c.face = enabled ? c.base : ShiftColor(c.base, -24);
        }
    }
    c.disabledText = enabled ? 0 : ShiftColor(c.face, -104);
    c.gradient = s.GradientMode != 0 ? ShiftColor(ConvertSysColor(s.GradientColor), 48) : c.face;
    return c;
}

std::int16_t EdgeDrawState(const ButtonState& s, std::int16_t fromBackground) {
    std::int16_t state = fromBackground;
    if ((s.ButtonDown && s.Mode > 0) || s.Value) state = Has(s, DefaultLook) ? 1 : 2;
    // Hover wins only while the button is not held, so a held button keeps its pressed look.
    if (Has(s, MouseOver) && !Has(s, HeldDown)) {
        state = 3;
    } else if (state == 1 && !s.ShowFocusRect) {
        state = 0;
    }
    return state;
}

void PaintStandardFace(ButtonState& s, ButtonHost& host, EdgePointArray& edgePoints, EdgeColorArray& edgeColors,
                       std::int16_t& drawState) {
    const bool enabled = host.Enabled();
    FaceColours colours = SelectFaceColours(s, enabled);
    DrawFaceBackground(s, host, colours.face, drawState, colours.gradient, s.HoverFaceColor);

    if (s.ButtonShape > 3) {
        // The oval shapes show state through the ring alone; DrawFocusRing needs DefaultLook.
        if (Has(s, DefaultLook) && !s.HoverLit) {
            DrawFocusRing(s, host, DefaultRingColour);
        } else if (s.HoverLit) {
            DrawFocusRing(s, host, HoverRingColour);
        }
    } else {
        PaintOutlines(s, host, colours, enabled, edgePoints, edgeColors, drawState);
    }

    bool singlePass = true;
    DrawCaption(s, host, colours.face, colours.disabledText, s.Value, singlePass);
}

}  // namespace buttons
