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

void Offset(gdi::RECT& r, std::int32_t dx, std::int32_t dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

bool HasPicture(const ButtonState& s) {
    return static_cast<std::int64_t>(s.Geometry.PictureWidth) + s.Geometry.PictureHeight > 0;
}

bool PressedLook(const ButtonState& s) {
    return (s.Input.StateFlags & HeldDown) != 0 && (s.Input.StateFlags & MouseOver) != 0;
}

// The caption as the ANSI text calls take it, with its line breaks. The last one converted is
// kept, by the caption it came from (its only input): every redraw draws the caption again.
std::string CaptionText(const ButtonState& s) {
    // Both start empty, which is already the empty caption's conversion.
    thread_local std::string from;
    thread_local std::string converted;
    if (from != s.Props.Caption) {
        converted = gdi::Utf8ToAnsi(CaptionWithLineBreaks(s.Props.Caption));
        from = s.Props.Caption;
    }
    return converted;
}

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

}  // namespace

void CalcCaptionLayout(ButtonState& s, const RenderBuffer& buffer, const ButtonHost& host, std::int32_t& width,
                       bool doLayout, std::int32_t& left) {
    const std::int32_t faceWidth = Nearest(host.ScaleWidth());
    const std::int32_t faceHeight = Nearest(host.ScaleHeight());
    const UsableSpan span = CalcUsableSpan(s.Props.ButtonShape, faceWidth, s.Geometry.SlantLeftX, s.Geometry.SlantRightX, left);
    width = span.width;
    left = span.left;
    if (!doLayout) return;

    CaptionPlacementInput in;
    in.span = span;
    in.faceHeight = faceHeight;
    in.hasCaption = !s.Props.Caption.empty();
    in.captionAlign = s.Props.CaptionAlign;
    in.hasPicture = HasPicture(s);
    in.pictureAlign = s.Props.PictureAlign;
    in.pictureSize = s.Props.PictureSize;
    in.dpi = gdi::GetDeviceCaps(buffer.Dc(), gdi::LOGPIXELSX);
    if (in.hasCaption) {
        const PictureReserve reserve = CalcPictureReserve(in.hasPicture, s.Props.PictureAlign, s.Props.PictureSize, in.dpi);
        const gdi::SIZE size = MeasureCaption(buffer.Dc(), CaptionText(s), CaptionMeasuringRect(span, faceHeight, reserve));
        in.textWidth = size.cx;
        in.textHeight = size.cy;
        if (s.Props.CaptionStyle != ToInt(CaptionEffect::EffectFlat)) {
            // Room for the effect's shifted copies.
            in.textWidth += 2;
            in.textHeight += 2;
        }
    }
    const CaptionPlacement placed = PlaceCaptionAndPicture(in);
    s.Geometry.CaptionRect = placed.caption;
    s.Geometry.PictureRect = placed.picture;
}

void DrawCaption(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, gdi::COLORREF& faceColour,
                 gdi::COLORREF& disabledTextColour,
                 bool pressed, bool& singlePass) {
    std::int32_t left = 0;
    const UsableSpan span = CalcUsableSpan(s.Props.ButtonShape, Nearest(host.ScaleWidth()), s.Geometry.SlantLeftX,
                                           s.Geometry.SlantRightX, left);

    gdi::RECT c = s.Geometry.CaptionRect;
    gdi::RECT p = s.Geometry.PictureRect;
    const bool pressedLook = PressedLook(s);
    if (pressed || pressedLook) {
        // The oval shapes only sink; the others also move right.
        const std::int32_t dx = s.Props.ButtonShape > ToInt(ButtonShapeKind::ShapeSlantBoth) ? 0 : 1;
        Offset(c, dx, 1);
        Offset(p, dx, 1);
    }
    DrawPicture(s, buffer, host, p, span.width, span.left);

    if (s.Props.Caption.empty()) return;
    const std::string text = CaptionText(s);
    const gdi::UINT format = AlignmentFormat(s.Props.CaptionAlign) | gdi::DT_WORDBREAK;
    auto pass = [&](OleColor colour) {
        SetDrawColor(buffer, true, buffer.Dc(), ToInt(DrawColorMode::Text), colour);
        gdi::RECT box = c;
        gdi::DrawTextA(buffer.Dc(), text.data(), static_cast<int>(text.size()), &box, format);
    };

    if (host.Enabled()) {
        const OleColor textColour = s.Input.HoverLit && !pressedLook ? s.Props.HoverForeColor : host.ForeColor();
        if (s.Props.CaptionStyle != ToInt(CaptionEffect::EffectFlat)) {
            std::int16_t shift = s.Props.CaptionStyle == ToInt(CaptionEffect::EffectEngraved) ? EffectShift : -EffectShift;
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
    OleColor colour = disabledTextColour;
    if ((disabledTextColour & 0x80000000u) != 0 || s.Props.GradientMode != ToInt(GradientDirection::GradientNone)) {
        colour = DisabledHighlight;
        Offset(c, 1, 1);
        singlePass = false;
    }
    pass(colour);
    if (singlePass) return;
    Offset(c, -1, -1);
    pass(DisabledGrey);
}

}  // namespace buttons
