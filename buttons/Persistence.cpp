// InitProperties, ReadProperties and WriteProperties of qkButtons_H.
#include "buttons/Persistence.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "buttons/Colors.h"
#include "buttons/HostProperties.h"
#include "buttons/OptionGroup.h"
#include "buttons/qkButtons_H.h"
#include "forms/FormatError.h"
#include "gdi/Image.h"

namespace buttons {
namespace {

constexpr std::int32_t StandardStyle = ToInt(ButtonStyleKind::StyleStandard);

bool IsRetiredStyle(std::int32_t style) { return style >= 0 && style <= 7 && style != StandardStyle; }

// Every stored value of one button, read (and its pictures loaded) before any of it is applied,
// so that a bad value leaves the button as it was.
struct StoredButton {
    std::string caption;
    std::int32_t capAlign = 2;
    std::int32_t backStyle = 2;
    std::int32_t shape = 0;
    std::int32_t gradient = 0;
    OleColor cGradient = SysButtonFace;
    OleColor cFore = SysButtonText;
    std::optional<forms::FontValue> font;
    bool focus = true;
    std::int32_t mode = 0;
    bool value = false;
    PictureRef image;
    std::int16_t imgSize = 16;
    std::int32_t imgAlign = 0;
    OleColor cFHover = SysButtonText;
    bool enabled = true;
    OleColor cBack = 0;
    OleColor cBHover = 0;
    std::int32_t lockHover = 0;
    std::int32_t capStyle = 0;
    PictureRef mIcon;
    std::int16_t mPointer = 0;
};

PictureRef ReadPictureKey(const forms::PropertyBag& bag, std::string_view key) {
    const auto path = bag.ReadPicture(key);
    if (!path) return nullptr;
    try {
        return LoadPicture(*path);
    } catch (const gdi::ImageError& e) {
        const forms::Entry* entry = bag.Find(key);
        throw forms::FormatError(bag.Source(), entry ? entry->Line : 0, entry ? entry->Key : std::string(key),
                                 e.what());
    }
}

StoredButton ReadStored(const forms::PropertyBag& bag, OleColor containerBack) {
    StoredButton b;
    b.caption = bag.ReadString("Caption", "");
    b.capAlign = bag.ReadInt32("CapAlign", 2);
    b.backStyle = bag.ReadInt32("BackStyle", StandardStyle);
    b.shape = bag.ReadInt32("Shape", 0);
    b.gradient = bag.ReadInt32("Gradient", 0);
    b.cGradient = bag.ReadColour("cGradient", SysButtonFace);
    b.cFore = bag.ReadColour("cFore", SysButtonText);
    b.font = bag.ReadFont("Font");
    b.focus = bag.ReadBool("Focus", true);
    b.mode = bag.ReadInt32("Mode", 0);
    b.value = bag.ReadBool("Value", false);
    b.image = ReadPictureKey(bag, "Image");
    b.imgSize = bag.ReadInt16("ImgSize", 16);
    b.imgAlign = bag.ReadInt32("ImgAlign", 0);
    b.cFHover = bag.ReadColour("cFHover", SysButtonText);
    b.enabled = bag.ReadBool("Enabled", true);
    b.cBack = bag.ReadColour("cBack", containerBack);
    b.cBHover = bag.ReadColour("cBHover", b.cBack);
    b.lockHover = bag.ReadInt32("LockHover", 0);
    b.capStyle = bag.ReadInt32("CapStyle", 0);
    b.mIcon = ReadPictureKey(bag, "mIcon");
    b.mPointer = bag.ReadInt16("mPointer", 0);
    return b;
}

void WritePictureKey(forms::PropertyBag& bag, std::string_view key, const PictureRef& picture) {
    // A picture made in memory has no file to refer to and cannot be stored.
    if (picture && !picture->source.empty()) {
        bag.WritePicture(key, picture->source);
    } else {
        bag.Remove(key);
    }
}

}  // namespace

forms::FontValue ToFontValue(const FontDesc& f) {
    forms::FontValue v;
    v.Name = f.Name;
    v.SizeTenThousandths = std::clamp(Nearest(f.Size * 10000.0), 1, 1000 * 10000);
    v.Weight = f.Weight;
    v.Italic = f.Italic;
    v.Underline = f.Underline;
    v.Strikethrough = f.Strikethrough;
    v.Charset = f.Charset;
    return v;
}

FontDesc ToFontDesc(const forms::FontValue& v) {
    FontDesc f;
    f.Name = v.Name;
    f.Size = v.SizeTenThousandths / 10000.0;
    f.Weight = v.Weight;
    f.Italic = v.Italic;
    f.Underline = v.Underline;
    f.Strikethrough = v.Strikethrough;
    f.Charset = v.Charset;
    return f;
}

void qkButtons_H::InitProperties() {
    RecordContainer();
    s_.Props.Caption = host_.DisplayName();
    s_.Props.ShowFocusRect = true;
    s_.Props.CaptionAlign = ToInt(CaptionAlignment::AlignCenter);
    s_.Props.HoverForeColor = SysButtonText;
    s_.Props.HoverBackColor = SysButtonFace;
    s_.Props.ButtonStyle = StandardStyle;
    // The remaining items start from zero; the pixel size stays 0 until a picture or the getter sets it.
    s_.Props.CaptionStyle = 0;
    s_.Props.ButtonShape = 0;
    s_.Props.Mode = 0;
    s_.Props.Value = false;
    s_.Props.PictureAlign = 0;
    s_.Props.PictureSize = 0;
    s_.Props.GradientColor = 0;
    s_.Props.GradientMode = 0;
    s_.Props.HoverColorLocks = 0;
    if (!Notify("BackStyle")) return;
    s_.Container.BackColor = ConvertSysColor(host_.AmbientBackColor());
    s_.Props.BackColor = SysButtonFace;
    RefreshCache("Font");
    RefreshCache("BackColor");
    for (const char* key : {"Caption", "CapAlign", "Focus", "cFHover", "cBHover"}) {
        if (!Notify(key)) return;
    }
}

void qkButtons_H::WriteProperties(forms::PropertyBag& bag) const {
    bag.WriteString("Caption", s_.Props.Caption, std::string());
    bag.WriteInt32("CapAlign", s_.Props.CaptionAlign, 2);
    bag.WriteInt32("BackStyle", s_.Props.ButtonStyle, StandardStyle);
    bag.WriteInt32("Shape", s_.Props.ButtonShape, 0);
    bag.WriteFont("Font", ToFontValue(host_.Font()));
    bag.WriteColour("cFore", host_.ForeColor(), SysButtonText);
    bag.WriteColour("cFHover", s_.Props.HoverForeColor, SysButtonText);
    bag.WriteColour("cBHover", s_.Props.HoverBackColor, s_.Props.BackColor);
    bag.WriteBool("Focus", s_.Props.ShowFocusRect, true);
    bag.WriteInt32("LockHover", s_.Props.HoverColorLocks, 0);
    bag.WriteColour("cGradient", s_.Props.GradientColor, SysButtonFace);
    bag.WriteInt32("Gradient", s_.Props.GradientMode, 0);
    bag.WriteInt32("CapStyle", s_.Props.CaptionStyle, 0);
    bag.WriteInt32("Mode", s_.Props.Mode);
    bag.WriteBool("Value", s_.Props.Value);
    bag.WriteInt32("ImgAlign", s_.Props.PictureAlign, 0);
    WritePictureKey(bag, "Image", s_.Props.Picture);
    bag.WriteInt16("ImgSize", s_.Props.PictureSize, 16);
    bag.WriteBool("Enabled", host_.Enabled(), true);
    bag.WriteColour("cBack", s_.Props.BackColor);
    const std::int32_t pointer = host_.MousePointer();
    bag.WriteInt16("mPointer", static_cast<std::int16_t>(std::clamp<std::int32_t>(pointer, INT16_MIN, INT16_MAX)),
                   std::int16_t{0});
    WritePictureKey(bag, "mIcon", host_.MouseIcon());
}

void qkButtons_H::ReadProperties(const forms::PropertyBag& bag) {
    const OleColor containerBack = host_.AmbientBackColor();
    const StoredButton b = ReadStored(bag, containerBack);
    // What every host refuses is refused before anything is applied, so the button stays as it was.
    const auto refuse = [&bag](const char* key, const std::exception& e) {
        const forms::Entry* entry = bag.Find(key);
        throw forms::FormatError(bag.Source(), entry ? entry->Line : 0, entry ? entry->Key : key, e.what());
    };
    try {
        CheckMouseIcon(b.mIcon);
    } catch (const std::invalid_argument& e) {
        refuse("mIcon", e);
    }
    try {
        CheckMousePointer(b.mPointer);
    } catch (const std::invalid_argument& e) {
        refuse("mPointer", e);
    }

    RecordContainer();
    s_.Container.BackColor = ConvertSysColor(containerBack);
    DelayDrawing(true);

    s_.Props.Caption = b.caption;
    s_.Props.CaptionAlign = b.capAlign;
    s_.Props.ButtonStyle = b.backStyle;
    s_.Props.ButtonShape = b.shape;
    s_.Props.GradientMode = b.gradient;
    s_.Props.GradientColor = b.cGradient;
    host_.SetForeColor(b.cFore);
    if (b.font) host_.SetFont(ToFontDesc(*b.font));
    s_.Props.ShowFocusRect = b.focus;
    s_.Props.Mode = b.mode;
    s_.Props.Value = b.value;
    s_.Props.Picture = b.image;
    s_.Props.PictureSize = b.imgSize;
    s_.Props.PictureAlign = b.imgAlign;
    s_.Props.HoverForeColor = b.cFHover;
    host_.SetEnabled(b.enabled);
    s_.Props.BackColor = b.cBack;
    s_.Props.HoverBackColor = b.cBHover;
    s_.Props.HoverColorLocks = b.lockHover;
    s_.Props.CaptionStyle = b.capStyle;
    const std::weak_ptr<const bool> alive = alive_;
    SetMouseIcon(b.mIcon);
    if (alive.expired()) return;
    try {
        SetMousePointer(b.mPointer);
    } catch (const std::exception& e) {
        // The host's refusal ends the load like any other bad stored value, naming where it came from.
        const forms::Entry* entry = bag.Find("mPointer");
        throw forms::FormatError(bag.Source(), entry ? entry->Line : 0, entry ? entry->Key : "mPointer", e.what());
    }
    if (alive.expired()) return;

    RefreshCache("Picture");
    RefreshCache("Font");
    RefreshCache("BackColor");
    SetCaption(b.caption);
    if (alive.expired()) return;

    if (IsRetiredStyle(s_.Props.ButtonStyle)) {
        s_.Props.ButtonStyle = StandardStyle;
        if (!Notify("BackStyle")) return;
        SetResetDefaultColors(true);
        if (alive.expired()) return;
    }
    if (s_.Props.Mode == ToInt(ButtonMode::ModeOption)) OptionToggle(*this, OptionAction::Join);
    SetDrawingDelayed(false);
    Resize();
}

}  // namespace buttons
