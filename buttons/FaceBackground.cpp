// DrawFaceBackground: the oval rim and the face fill (shading, gradient or flat).
#include <cstdint>

#include "buttons/Colors.h"
#include "buttons/Render.h"
#include "buttons/Face.h"
#include "buttons/Gradient.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"

namespace buttons {
namespace {

constexpr std::uint32_t SignBit = 0x80000000U;

// num / den to the nearest integer, halves to even; den > 0.
std::int64_t DivideNearestEven(std::int64_t num, std::int64_t den) {
    std::int64_t q = num / den;
    std::int64_t r = num % den;
    if (r < 0) {
        r += den;
        --q;
    }
    if (2 * r > den || (2 * r == den && (q & 1) != 0)) ++q;
    return q;
}

// Light-to-dark rim from the container's colour; upside down while pressed.
void PaintOvalRim(ButtonState& s, ButtonHost& host, bool pressed) {
    const int w = ClientWidth(host);
    const int h = ClientHeight(host);
    gdi::SelectClipRgn(s.MemDC, gdi::HRGN{});
    const std::int32_t shape = s.ButtonShape;
    if (shape == ToInt(ButtonShapeKind::ShapeOvalOutline)) {
        SetDrawColor(s, true, s.MemDC, ToInt(DrawColorMode::Pen), 0, false, 2, gdi::PS_SOLID);
        gdi::Arc(s.MemDC, 0, 0, w, h, 0, 0, 0, 0);
    } else if (shape == ToInt(ButtonShapeKind::ShapeOvalRim) ||
               (shape == ToInt(ButtonShapeKind::ShapeOvalRimRaised) && !pressed)) {
        const std::int32_t savedMode = s.GradientMode;
        s.GradientMode = ToInt(pressed ? GradientDirection::GradientBottomToTop : GradientDirection::GradientTopToBottom);
        std::int16_t lighter = 172;
        std::int16_t darker = -32;
        FillGradient(s, host, ShiftColor(s.ContainerBackColor, lighter, false, false, false),
                     ShiftColor(s.ContainerBackColor, darker, false, false, false));
        s.GradientMode = savedMode;
    }
    // Everything after the rim stays inside the inner ellipse.
    gdi::SelectClipRgn(s.MemDC, s.FaceClipRgn);
}

}  // namespace

std::int16_t ShadingAmount(int row, int height) {
    if (height <= 0) return 0;
    return static_cast<std::int16_t>(DivideNearestEven(-25 * static_cast<std::int64_t>(row), height));
}

void DrawFaceBackground(ButtonState& s, ButtonHost& host, gdi::COLORREF face, std::int16_t& drawState,
                        gdi::COLORREF& grad, gdi::COLORREF& hover) {
    const bool pressed = IsPressed(s);
    drawState = pressed ? 2 : ((s.StateFlags & DefaultLook) != 0 ? 1 : 0);
    if ((hover & SignBit) != 0) hover = face;
    const bool hoverFill = s.HoverLit && ((s.Mode == 0 && !pressed) || (s.Mode > 0 && !s.Value));
    const gdi::COLORREF bg = hoverFill ? hover : face;

    if (s.ButtonShape > 3) PaintOvalRim(s, host, pressed);

    const int w = ClientWidth(host);
    const int h = ClientHeight(host);
    if (s.GradientMode != 0 && !s.Value) {
        if (s.HoverLit && !pressed && s.GradientColor != s.HoverBackColor) {
            // A distinct hover colour replaces the gradient with a flat fill.
            DrawBox(s, s.MemDC, 0, 0, w, h, hover);
        } else {
            if ((grad & SignBit) != 0) grad = face;
            FillGradient(s, host, face, grad);
        }
    } else if (host.Enabled() || s.Mode > 0) {
        // Row 0 and the side columns are left to the outlines.
        for (int row = 1; row <= h - 1; ++row) {
            DrawBox(s, s.MemDC, 1, row, w - 1, row + 1, ShiftColor(bg, ShadingAmount(row, h)));
        }
    } else {
        DrawBox(s, s.MemDC, 0, 0, w, h, bg);
    }
}

}  // namespace buttons
