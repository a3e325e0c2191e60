// DrawFaceBackground: the oval rim and the face fill (shading, gradient or flat).
#include <cstdint>
#include <vector>

#include "buttons/Colors.h"
#include "buttons/Face.h"
#include "buttons/Gradient.h"
#include "forms/Units.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"

namespace buttons {
namespace {

constexpr std::uint32_t SignBit = 0x80000000U;

// Light-to-dark rim from the container's colour; upside down while pressed.
void PaintOvalRim(const Frame& f, RenderBuffer& buffer, bool pressed) {
    gdi::SelectClipRgn(buffer.Dc(), gdi::HRGN{});
    const std::int32_t shape = f.Props.ButtonShape;
    if (shape == ToInt(ButtonShapeKind::ShapeOvalOutline)) {
        SetDrawColor(buffer, true, buffer.Dc(), ToInt(DrawColorMode::Pen), 0, false, 2, gdi::PS_SOLID);
        gdi::Arc(buffer.Dc(), 0, 0, f.Width, f.Height, 0, 0, 0, 0);
    } else if (shape == ToInt(ButtonShapeKind::ShapeOvalRim) ||
               (shape == ToInt(ButtonShapeKind::ShapeOvalRimRaised) && !pressed)) {
        const std::int32_t mode =
            ToInt(pressed ? GradientDirection::GradientBottomToTop : GradientDirection::GradientTopToBottom);
        std::int16_t lighter = 172;
        std::int16_t darker = -32;
        FillGradient(f, buffer, mode, ShiftColor(f.ContainerBack, lighter, false, false, false),
                     ShiftColor(f.ContainerBack, darker, false, false, false));
    }
    // Everything after the rim stays inside the inner ellipse.
    gdi::SelectClipRgn(buffer.Dc(), buffer.FaceClip());
}

}  // namespace

std::int16_t ShadingAmount(int row, int height) {
    if (height <= 0) return 0;
    return static_cast<std::int16_t>(forms::DivideNearestEven(-25 * static_cast<std::int64_t>(row), height));
}

void DrawFaceBackground(const Frame& f, RenderBuffer& buffer, gdi::COLORREF face, gdi::COLORREF grad,
                        gdi::COLORREF hover) {
    const bool pressed = IsPressed(f.Look);
    if ((hover & SignBit) != 0) hover = face;
    const bool hoverFill = f.Look.HoverLit && ((f.Props.Mode == 0 && !pressed) || (f.Props.Mode > 0 && !f.Props.Value));
    const gdi::COLORREF bg = hoverFill ? hover : face;

    if (f.Props.ButtonShape > 3) PaintOvalRim(f, buffer, pressed);

    const int w = f.Width;
    const int h = f.Height;
    if (f.Props.GradientMode != 0 && !f.Props.Value) {
        if (f.Look.HoverLit && !pressed && f.Props.GradientColor != f.Props.HoverBackColor) {
            // A distinct hover colour replaces the gradient with a flat fill.
            DrawBox(buffer, buffer.Dc(), 0, 0, w, h, hover);
        } else {
            if ((grad & SignBit) != 0) grad = face;
            FillGradient(f, buffer, f.Props.GradientMode, face, grad);
        }
    } else if (f.Enabled || f.Props.Mode > 0) {
        // Row 0 and the side columns are left to the outlines.
        const std::vector<gdi::COLORREF>& colours =
            buffer.Caches().Shading.For({bg, h}, [&](std::vector<gdi::COLORREF>& out) {
                // Neighbouring rows often share their darkening, and so their colour.
                std::int16_t amount = 0;
                gdi::COLORREF colour = bg;
                for (int row = 1; row <= h - 1; ++row) {
                    const std::int16_t next = ShadingAmount(row, h);
                    if (row == 1 || next != amount) colour = ShiftColor(bg, next);
                    amount = next;
                    out.push_back(colour);
                }
            });
        BoxRun rows(buffer);
        rows.AddStrips({1, 1, w - 1, 2}, false, colours.data(), static_cast<int>(colours.size()));
    } else {
        DrawBox(buffer, buffer.Dc(), 0, 0, w, h, bg);
    }
}

}  // namespace buttons
