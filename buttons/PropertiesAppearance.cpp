// Setters of the caption, shape, picture and font.
#include <algorithm>

#include "buttons/Render.h"
#include "buttons/Shapes.h"
#include "buttons/qkButtons_H.h"

namespace buttons {
namespace {

constexpr std::int32_t AlignCenter = ToInt(CaptionAlignment::AlignCenter);

bool IsTopOrBottomCenter(std::int32_t align) {
    return align == ToInt(PictureAlignment::PicTopCenter) || align == ToInt(PictureAlignment::PicBottomCenter);
}

// The access key is the character after the last '&'; a multi-byte UTF-8 character is kept whole.
std::string AccessKeyOf(const std::string& caption) {
    const std::size_t amp = caption.rfind('&');
    std::string key;
    std::size_t i = amp + 1;
    if (i >= caption.size()) return key;
    key += caption[i++];
    while (i < caption.size() && (static_cast<unsigned char>(caption[i]) & 0xC0) == 0x80) key += caption[i++];
    return key;
}

}  // namespace

void qkButtons_H::SetCaption(const std::string& caption) {
    if (caption.find('&') != std::string::npos) host_.SetAccessKeys(AccessKeyOf(caption));
    s_.Props.Caption = caption;
    Relayout(s_, buffer_, host_);
    if (!Redraw()) return;
    (void)Notify("Caption");
}

void qkButtons_H::SetCaptionAlign(std::int32_t align) {
    if (align < 0 || align > 2) return;
    const bool hasPicture = s_.Measured.Width + s_.Measured.Height > 0;
    if (align != AlignCenter && hasPicture && IsTopOrBottomCenter(s_.Props.PictureAlign)) {
        (void)DesignTimeMessage(MsgCaptionAlignWithPicture);
        return;
    }
    s_.Props.CaptionAlign = align;
    Relayout(s_, buffer_, host_);
    if (!Redraw()) return;
    (void)Notify("CapAlign");
}

void qkButtons_H::SetCaptionStyle(std::int32_t style) {
    if (style < 0 || style > 2) return;
    s_.Props.CaptionStyle = style;
    if (!Notify("CapStyle")) return;
    if (!s_.Props.Caption.empty()) {
        Relayout(s_, buffer_, host_);
        (void)Redraw();
    }
}

void qkButtons_H::SetButtonShape(std::int32_t shape) {
    if (shape < 0 || shape > 6) return;
    s_.Props.ButtonShape = shape;
    Reshape(s_, buffer_, host_);
    const std::weak_ptr<const bool> alive = alive_;
    DelayDrawing(true);
    if (shape == ToInt(ButtonShapeKind::ShapeSlantBoth) && s_.Props.CaptionAlign != AlignCenter) {
        SetCaptionAlign(AlignCenter);
        if (alive.expired()) return;
    } else {
        Relayout(s_, buffer_, host_);
    }
    DelayDrawing(false);
    if (alive.expired()) return;
    (void)Notify("Shape");
}

void qkButtons_H::SetPicture(PictureRef picture) {
    s_.Props.Picture = std::move(picture);
    if (s_.Props.PictureSize == 0) s_.Props.PictureSize = 16;
    RefreshCache("Picture");
    Relayout(s_, buffer_, host_);
    if (!Redraw()) return;
    (void)Notify("Image");
}

void qkButtons_H::SetPictureAlign(std::int32_t align) {
    if (align < 0 || align > 5) return;
    s_.Props.PictureAlign = align;
    if (IsTopOrBottomCenter(align)) {
        const std::weak_ptr<const bool> alive = alive_;
        SetCaptionAlign(AlignCenter);
        if (alive.expired()) return;
    }
    Relayout(s_, buffer_, host_);
    if (!Redraw()) return;
    (void)Notify("ImgAlign");
}

std::int32_t qkButtons_H::PictureSize() {
    if (s_.Props.PictureSize == 0) s_.Props.PictureSize = 16;
    // Only saved data can hold a pixel size off the 8-pixel steps; it reads as the nearest step below,
    // kept within the enumeration.
    return std::clamp(s_.Props.PictureSize / 8 - 2, 0, 4);
}

void qkButtons_H::SetPictureSize(std::int32_t size) {
    if (size < 0 || size > 4) return;
    s_.Props.PictureSize = static_cast<std::int16_t>((size + 2) * 8);
    Relayout(s_, buffer_, host_);
    if (!Redraw()) return;
    (void)Notify("ImgSize");
}

void qkButtons_H::SetFont(const FontDesc& font) {
    host_.SetFont(font);
    RefreshCache("Font");
    Relayout(s_, buffer_, host_);
    if (!Redraw()) return;
    (void)Notify("Font");
}

std::int32_t qkButtons_H::FontStyle() const {
    const FontDesc f = host_.Font();
    return (f.Bold() ? FontBold : 0) | (f.Italic ? FontItalic : 0) | (f.Underline ? FontUnderline : 0);
}

void qkButtons_H::SetFontStyle(std::int32_t style) {
    FontDesc f = host_.Font();
    f.Weight = (style & FontBold) != 0 ? 700 : 400;
    f.Italic = (style & FontItalic) != 0;
    f.Underline = (style & FontUnderline) != 0;
    host_.SetFont(f);
    RefreshCache("Font");
    Relayout(s_, buffer_, host_);
    if (!Notify("Font")) return;
    (void)Redraw();
}

}  // namespace buttons
