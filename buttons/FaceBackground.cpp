// DrawFaceBackground: the oval rim and the face fill (shading, gradient or flat).
#include <cstdint>
#include <vector>

#include "buttons/Colors.h"
#include "buttons/FaceSize.h"
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
void PaintOvalRim(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, bool pressed) {
    const int w = ClientWidth(host);
    const int h = ClientHeight(host);
    gdi::SelectClipRgn(buffer.Dc(), gdi::HRGN{});
    const std::int32_t shape = s.Props.ButtonShape;
    if (shape == ToInt(ButtonShapeKind::ShapeOvalOutline)) {
        SetDrawColor(buffer, true, buffer.Dc(), ToInt(DrawColorMode::Pen), 0, false, 2, gdi::PS_SOLID);
        gdi::Arc(buffer.Dc(), 0, 0, w, h, 0, 0, 0, 0);
    } else if (shape == ToInt(ButtonShapeKind::ShapeOvalRim) ||
               (shape == ToInt(ButtonShapeKind::ShapeOvalRimRaised) && !pressed)) {
        const std::int32_t mode =
            ToInt(pressed ? GradientDirection::GradientBottomToTop : GradientDirection::GradientTopToBottom);
        std::int16_t lighter = 172;
        std::int16_t darker = -32;
        FillGradient(buffer, host, mode, ShiftColor(s.Container.BackColor, lighter, false, false, false),
                     ShiftColor(s.Container.BackColor, darker, false, false, false));
    }
    // Everything after the rim stays inside the inner ellipse.
    gdi::SelectClipRgn(buffer.Dc(), buffer.FaceClip());
}

}  // namespace

std::int16_t ShadingAmount(int row, int height) {
    if (height <= 0) return 0;
    return static_cast<std::int16_t>(DivideNearestEven(-25 * static_cast<std::int64_t>(row), height));
}

void DrawFaceBackground(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, gdi::COLORREF face,
                        std::int16_t& drawState, gdi::COLORREF& grad, gdi::COLORREF& hover) {
    const bool pressed = IsPressed(s);
    drawState = pressed ? 2 : ((s.Input.StateFlags & DefaultLook) != 0 ? 1 : 0);
    if ((hover & SignBit) != 0) hover = face;
    const bool hoverFill = s.Input.HoverLit && ((s.Props.Mode == 0 && !pressed) || (s.Props.Mode > 0 && !s.Props.Value));
    const gdi::COLORREF bg = hoverFill ? hover : face;

    if (s.Props.ButtonShape > 3) PaintOvalRim(s, buffer, host, pressed);

    const int w = ClientWidth(host);
    const int h = ClientHeight(host);
    if (s.Props.GradientMode != 0 && !s.Props.Value) {
        if (s.Input.HoverLit && !pressed && s.Props.GradientColor != s.Props.HoverBackColor) {
            // A distinct hover colour replaces the gradient with a flat fill.
            DrawBox(buffer, buffer.Dc(), 0, 0, w, h, hover);
        } else {
            if ((grad & SignBit) != 0) grad = face;
            FillGradient(buffer, host, s.Props.GradientMode, face, grad);
        }
    } else if (host.Enabled() || s.Props.Mode > 0) {
        // Row 0 and the side columns are left to the outlines.
        struct Key {
            gdi::COLORREF bg;
            int height;
            bool operator==(const Key&) const = default;
        };
        thread_local KeptColours<Key> kept;
        const std::vector<gdi::COLORREF>& colours = kept.For({bg, h}, [&](std::vector<gdi::COLORREF>& out) {
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
