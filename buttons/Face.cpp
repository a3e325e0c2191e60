// PaintStandardFace: the order of the face's layers and the colours of each interaction state.
#include "buttons/Face.h"

#include "buttons/Bevel.h"
#include "buttons/Caption.h"
#include "buttons/Colors.h"
#include "gdi/Draw.h"

namespace buttons {
namespace {

constexpr gdi::COLORREF DefaultRingColour = gdi::RGB(107, 130, 239);
constexpr gdi::COLORREF HoverRingColour = gdi::RGB(231, 150, 0);

std::int16_t BackgroundDrawState(const Frame& f) {
    return IsPressed(f.Look) ? 2 : (Has(f.Look, DefaultLook) ? 1 : 0);
}

void PaintOutlines(const Frame& f, RenderBuffer& buffer, const FaceColours& colours) {
    EdgeColorArray edgeColors{};
    gdi::COLORREF outline = OutlineColour;
    if (f.Enabled) {
        FillEdgeColumn(edgeColors, FaceDrawState(f), colours.base);
    } else {
        // Negative slots are skipped: a disabled face keeps only its outer outline.
        for (int slot = 1; slot <= 8; ++slot) edgeColors[static_cast<std::size_t>(slot)] = -1;
        outline = ShiftColor(colours.base, -84);
    }
    for (int slot = 9; slot <= 12; ++slot) edgeColors[static_cast<std::size_t>(slot)] = outline;
    DrawBevelLines(f, buffer, edgeColors, -1);

    // Dark corner pixels soften the corners the window region cuts; a slanted side has none.
    const int w = f.Width;
    const int h = f.Height;
    if (f.Shape.SlantLeftX == 0) {
        gdi::SetPixel(buffer.Dc(), 1, h - 2, outline);
        gdi::SetPixel(buffer.Dc(), 1, 1, outline);
    }
    if (f.Shape.SlantRightX == w) {
        gdi::SetPixel(buffer.Dc(), w - 2, h - 2, outline);
        gdi::SetPixel(buffer.Dc(), w - 2, 1, outline);
    }
}

}  // namespace

FaceColours SelectFaceColours(const Frame& f) {
    FaceColours c;
    if (f.Props.Mode > 0) {
        c.base = f.Props.Value ? f.Colours.ValueTrue : f.Colours.Face;
        c.face = c.base;
    } else {
        c.base = f.Colours.Face;
        if (IsPressed(f.Look) && f.Props.GradientMode == 0) {
            c.face = f.Colours.Pressed;
        } else {
            c.face = f.Enabled ? c.base : ShiftColor(c.base, -24);
        }
    }
    c.disabledText = f.Enabled ? 0 : ShiftColor(c.face, -104);
    c.gradient = f.Props.GradientMode != 0 ? ShiftColor(ConvertSysColor(f.Props.GradientColor), 48) : c.face;
    return c;
}

std::int16_t FaceDrawState(const Frame& f) {
    const std::int16_t background = BackgroundDrawState(f);
    if (f.Props.ButtonShape > 3 || !f.Enabled) return background;
    return EdgeDrawState(f, background);
}

std::int16_t EdgeDrawState(const Frame& f, std::int16_t fromBackground) {
    std::int16_t state = fromBackground;
    if ((f.Look.ButtonDown && f.Props.Mode > 0) || f.Props.Value) state = Has(f.Look, DefaultLook) ? 1 : 2;
    // Hover wins only while the button is not held, so a held button keeps its pressed look.
    if (Has(f.Look, MouseOver) && !Has(f.Look, HeldDown)) {
        state = 3;
    } else if (state == 1 && !f.Props.ShowFocusRect) {
        state = 0;
    }
    return state;
}

void PaintStandardFace(const Frame& f, RenderBuffer& buffer) {
    const FaceColours colours = SelectFaceColours(f);
    DrawFaceBackground(f, buffer, colours.face, colours.gradient, f.Colours.HoverFace);

    if (f.Props.ButtonShape > 3) {
        // The oval shapes show state through the ring alone; DrawFocusRing needs DefaultLook.
        if (Has(f.Look, DefaultLook) && !f.Look.HoverLit) {
            DrawFocusRing(f, buffer, DefaultRingColour);
        } else if (f.Look.HoverLit) {
            DrawFocusRing(f, buffer, HoverRingColour);
        }
    } else {
        PaintOutlines(f, buffer, colours);
    }

    DrawCaption(f, buffer, colours.face, colours.disabledText, f.Props.Value);
}

}  // namespace buttons
