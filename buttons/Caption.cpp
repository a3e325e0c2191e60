#include "buttons/Caption.h"

#include <string>

#include "buttons/CaptionLayout.h"
#include "buttons/Colors.h"
#include "buttons/PictureDraw.h"
#include "gdi/Dc.h"
#include "gdi/Text.h"

namespace buttons {

namespace {

constexpr std::int16_t EffectShift = 40;
constexpr gdi::COLORREF DisabledHighlight = 0xFFFFFF;
constexpr gdi::COLORREF DisabledGrey = 0x808080;

gdi::UINT AlignmentFormat(std::int32_t captionAlign) {
    switch (captionAlign) {
        case ToInt(CaptionAlignment::AlignRight):
            return gdi::DT_RIGHT;
        case ToInt(CaptionAlignment::AlignCenter):
            return gdi::DT_CENTER;
        default:
            // AlignLeft, and stored values no setter accepts: the layout puts those at the left margin too.
            return gdi::DT_LEFT;
    }
}

gdi::SIZE MeasureCaption(gdi::HDC dc, const std::string& text, gdi::RECT box) {
    const int height = gdi::DrawTextA(dc, text.data(), static_cast<int>(text.size()), &box,
                                      gdi::DT_CALCRECT | gdi::DT_WORDBREAK);
    // A failed measurement (no buffer yet) must not pass the box itself off as the text size.
    if (height == 0) return {};
    return {box.right, box.bottom};
}

// The part of the frame's face caption and picture may use.
UsableSpan SpanOf(const Frame& f) {
    return CalcUsableSpan(f.Props.ButtonShape, f.FaceWidth, f.Shape.SlantLeftX, f.Shape.SlantRightX, 0);
}

}  // namespace

CaptionGeometry LayOutCaption(const Frame& f, RenderBuffer& buffer) {
    const UsableSpan span = SpanOf(f);
    CaptionPlacementInput in;
    in.span = span;
    in.faceHeight = f.FaceHeight;
    in.hasCaption = !f.Props.Caption.empty();
    in.captionAlign = f.Props.CaptionAlign;
    in.hasPicture = HasPicture(f.Measured);
    in.pictureAlign = f.Props.PictureAlign;
    in.pictureSize = f.Props.PictureSize;
    in.dpi = f.Dpi;
    if (in.hasCaption) {
        const PictureReserve reserve =
            CalcPictureReserve(in.hasPicture, f.Props.PictureAlign, f.Props.PictureSize, in.dpi);
        const gdi::SIZE size = MeasureCaption(buffer.Dc(), buffer.Caches().Caption.For(f.Props.Caption),
                                              CaptionMeasuringRect(span, f.FaceHeight, reserve));
        in.textWidth = size.cx;
        in.textHeight = size.cy;
        if (f.Props.CaptionStyle != ToInt(CaptionEffect::EffectFlat)) {
            // Room for the effect's shifted copies.
            in.textWidth += 2;
            in.textHeight += 2;
        }
    }
    const CaptionPlacement placed = PlaceCaptionAndPicture(in);
    return CaptionGeometry{placed.caption, placed.picture};
}

void DrawCaption(const Frame& f, RenderBuffer& buffer, gdi::COLORREF faceColour, gdi::COLORREF disabledTextColour,
                 bool pressed) {
    const UsableSpan span = SpanOf(f);

    gdi::RECT c = f.Layout.CaptionRect;
    gdi::RECT p = f.Layout.PictureRect;
    const bool pressedLook = IsPressed(f.Look);
    if (pressed || pressedLook) {
        // The oval shapes only sink; the others also move right.
        const std::int32_t dx = f.Props.ButtonShape > ToInt(ButtonShapeKind::ShapeSlantBoth) ? 0 : 1;
        Offset(c, dx, 1);
        Offset(p, dx, 1);
    }
    DrawPicture(f, buffer, p, span.width, span.left);

    if (f.Props.Caption.empty()) return;
    const std::string& text = buffer.Caches().Caption.For(f.Props.Caption);
    const gdi::UINT format = AlignmentFormat(f.Props.CaptionAlign) | gdi::DT_WORDBREAK;
    auto pass = [&](OleColor colour) {
        SetDrawColor(buffer, true, buffer.Dc(), ToInt(DrawColorMode::Text), colour);
        gdi::RECT box = c;
        gdi::DrawTextA(buffer.Dc(), text.data(), static_cast<int>(text.size()), &box, format);
    };

    if (f.Enabled) {
        const OleColor textColour = f.Look.HoverLit && !pressedLook ? f.Props.HoverForeColor : f.ForeColor;
        if (f.Props.CaptionStyle != ToInt(CaptionEffect::EffectFlat)) {
            std::int16_t shift =
                f.Props.CaptionStyle == ToInt(CaptionEffect::EffectEngraved) ? EffectShift : -EffectShift;
            std::int16_t opposite = static_cast<std::int16_t>(-shift);
            Offset(c, -1, 0);
            pass(ShiftColor(faceColour, shift, false, false, false));
            Offset(c, 2, 2);
            pass(ShiftColor(faceColour, opposite, false, false, false));
            Offset(c, -1, -1);  // the main text lands one pixel below its laid-out place
        }
        pass(textColour);
        return;
    }

    // Disabled: no effects. A gradient face (or no usable disabled colour) gets grey on a white copy.
    if ((disabledTextColour & 0x80000000u) == 0 && f.Props.GradientMode == ToInt(GradientDirection::GradientNone)) {
        pass(disabledTextColour);
        return;
    }
    Offset(c, 1, 1);
    pass(DisabledHighlight);
    Offset(c, -1, -1);
    pass(DisabledGrey);
}

}  // namespace buttons
