#include "forms/model/WindowModel.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "forms/FontSubstitutes.h"
#include "forms/model/TextFit_p.h"
#include "gdi/SysColor.h"

namespace forms {

namespace {

struct KindInfo {
    ControlKind kind;
    std::string_view name;
    std::span<const std::string_view> keys;
};

// Every kind reads its box, visibility, enabled state and tab index.
constexpr std::string_view LabelKeys[] = {"Left", "Top", "Width", "Height", "Visible", "Enabled", "TabIndex",
                                          "Caption", "Alignment", "BackStyle", "BackColor", "ForeColor", "Font"};
constexpr std::string_view TextBoxKeys[] = {"Left", "Top", "Width", "Height", "Visible", "Enabled", "TabIndex",
                                            "Text", "MultiLine", "ScrollBars", "Locked", "BackColor", "ForeColor",
                                            "Font"};
constexpr std::string_view FrameKeys[] = {"Left", "Top", "Width", "Height", "Visible", "Enabled", "TabIndex",
                                          "Caption", "BackColor", "ForeColor", "Font"};
constexpr std::string_view ImageKeys[] = {"Left", "Top", "Width", "Height", "Visible", "Enabled", "TabIndex",
                                          "Picture", "Stretch"};
constexpr std::string_view AnimatedKeys[] = {"Left", "Top", "Width", "Height", "Visible", "Enabled", "TabIndex",
                                             "Picture"};
constexpr std::string_view LineKeys[] = {"Visible", "Enabled", "TabIndex", "X1", "Y1", "X2", "Y2",
                                         "BorderColor", "BorderWidth"};

const std::array<KindInfo, 8> Kinds = {{
    {ControlKind::Button, ButtonKind, {}},
    {ControlKind::Label, "Label", LabelKeys},
    {ControlKind::TextBox, "TextBox", TextBoxKeys},
    {ControlKind::Frame, "Frame", FrameKeys},
    {ControlKind::PictureBox, "PictureBox", FrameKeys},
    {ControlKind::Image, "Image", ImageKeys},
    {ControlKind::AnimatedPicture, "AnimatedPicture", AnimatedKeys},
    {ControlKind::Line, "Line", LineKeys},
}};

std::optional<FontModel> FontOf(const PropertyBag& bag, const std::optional<FontModel>& inherited, const Scale& scale) {
    const std::optional<FontValue> f = bag.ReadFont("Font");
    if (!f) return inherited;
    return FontModelOf(*f, scale);
}

// Wrapping cannot show a word wider than its label, and a label clips: such a box grows to the
// word's width, about its alignment, so the whole caption shows ("QD4RV" in bold 24 pt Times New
// Roman needs 110 pixels of its stored 97).
void FitWidestWord(ControlModel& m) {
    if (!m.Font) return;
    const int needed = detail::WrappedTextWidth(m.Caption, *m.Font, m.Box.Width);
    const int grow = needed - m.Box.Width;
    if (grow <= 0) return;
    if (m.Alignment == TextAlignment::Center) m.Box.Left -= grow / 2;
    if (m.Alignment == TextAlignment::Right) m.Box.Left -= grow;
    m.Box.Width = needed;
}

void SetColours(ControlModel& m, const PropertyBag& bag, std::uint32_t back, std::uint32_t fore, bool opaque) {
    m.Back = gdi::ColorFromOle(bag.ReadColour("BackColor", back));
    m.Fore = gdi::ColorFromOle(bag.ReadColour("ForeColor", fore));
    m.HasColours = true;
    m.Opaque = opaque;
}

struct Builder {
    const Scale& scale;
    std::vector<std::pair<std::int32_t, std::string>> tabStops;

    PixelRect Box(const Control& c) const {
        const Geometry g = c.Geom();
        return PixelRect{scale.Pixels(g.Left), scale.Pixels(g.Top), scale.Pixels(g.Width), scale.Pixels(g.Height)};
    }

    void Add(const Control& c, std::vector<ControlModel>& out, std::uint32_t ambientBack,
             const std::optional<FontModel>& containerFont) {
        const std::optional<ControlKind> kind = KindFromName(c.Kind);
        if (!kind) return;
        const PropertyBag& bag = c.Properties;
        ControlModel m;
        m.Kind = *kind;
        m.Name = c.Name;
        m.Settings = &bag;
        m.AmbientBack = ambientBack;
        m.Box = Box(c);
        m.Visible = c.Visible();
        m.Enabled = bag.ReadBool("Enabled", true);
        m.TabIndex = c.TabIndex();
        m.Font = FontOf(bag, containerFont, scale);
        switch (*kind) {
        case ControlKind::Button:
            m.Font = containerFont;  // the control draws its caption in its own font
            m.TakesFocus = true;
            break;
        case ControlKind::Label: {
            m.Caption = bag.ReadString("Caption", "");
            const std::int32_t align = bag.ReadInt32("Alignment", 0);
            m.Alignment = align == 1 ? TextAlignment::Right : align == 2 ? TextAlignment::Center : TextAlignment::Left;
            // BackStyle 0 is transparent, 1 (the default) opaque.
            SetColours(m, bag, OleButtonFace, OleWindowText, bag.ReadInt32("BackStyle", 1) != 0);
            FitWidestWord(m);
            break;
        }
        case ControlKind::TextBox: {
            m.Text = bag.ReadString("Text", "");
            m.MultiLine = bag.ReadBool("MultiLine", false);
            const std::int32_t bars = bag.ReadInt32("ScrollBars", 0);
            m.ScrollBars = bars >= 0 && bars <= 3 ? static_cast<ScrollBarSet>(bars) : ScrollBarSet::None;
            m.Locked = bag.ReadBool("Locked", false);
            SetColours(m, bag, OleWindowBackground, OleWindowText, true);
            m.TakesFocus = true;
            break;
        }
        case ControlKind::Frame:
        case ControlKind::PictureBox: {
            if (*kind == ControlKind::Frame) m.Caption = bag.ReadString("Caption", "");
            SetColours(m, bag, ambientBack, OleWindowText, true);
            const std::uint32_t inner = bag.ReadColour("BackColor", ambientBack);
            for (const Control& child : c.Children) Add(child, m.Children, inner, m.Font);
            break;
        }
        case ControlKind::Image:
            m.Picture = bag.ReadPicture("Picture");
            m.Stretch = bag.ReadBool("Stretch", false);
            break;
        case ControlKind::AnimatedPicture:
            m.Picture = bag.ReadPicture("Picture");
            m.Stretch = true;
            break;
        case ControlKind::Line: {
            const PixelPoint a{scale.Pixels(bag.ReadInt32("X1", 0)), scale.Pixels(bag.ReadInt32("Y1", 0))};
            const PixelPoint b{scale.Pixels(bag.ReadInt32("X2", 0)), scale.Pixels(bag.ReadInt32("Y2", 0))};
            m.PenWidth = std::max(1, bag.ReadInt32("BorderWidth", 1));
            m.Fore = gdi::ColorFromOle(bag.ReadColour("BorderColor", OleWindowText));
            m.HasColours = true;
            m.Box = PixelRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::abs(a.X - b.X) + 1 + m.PenWidth,
                              std::abs(a.Y - b.Y) + 1 + m.PenWidth};
            m.From = PixelPoint{a.X - m.Box.Left, a.Y - m.Box.Top};
            m.To = PixelPoint{b.X - m.Box.Left, b.Y - m.Box.Top};
            break;
        }
        }
        if (m.TakesFocus) tabStops.emplace_back(m.TabIndex, m.Name);
        out.push_back(std::move(m));
    }
};

}  // namespace

FontModel FontModelOf(const FontValue& f, const Scale& scale) {
    FontModel font;
    font.Face = f.Name;
    font.Family = std::string(SubstituteFor(f.Name));
    font.PixelHeight = std::max(1, scale.FontPixels(f.SizeTenThousandths));
    font.Weight = std::clamp(f.Weight, 1, 1000);
    font.Italic = f.Italic;
    font.Underline = f.Underline;
    font.Strikethrough = f.Strikethrough;
    font.Charset = f.Charset;
    return font;
}

std::optional<ControlKind> KindFromName(std::string_view kind) {
    for (const KindInfo& k : Kinds) {
        if (k.name == kind) return k.kind;
    }
    return std::nullopt;
}

std::span<const std::string_view> KeysRead(ControlKind kind) {
    for (const KindInfo& k : Kinds) {
        if (k.kind == kind) return k.keys;
    }
    return {};
}

WindowModel BuildWindowModel(const Document& doc, const Scale& scale) {
    const Control& root = doc.Root;
    const PropertyBag& bag = root.Properties;
    WindowModel w;
    w.Units = scale;
    w.Name = root.Name;
    w.Caption = bag.ReadString("Caption", root.Name);
    w.Icon = bag.ReadPicture("Icon");
    w.BackOle = bag.ReadColour("BackColor", OleButtonFace);
    w.Back = gdi::ColorFromOle(w.BackOle);
    w.Fore = gdi::ColorFromOle(bag.ReadColour("ForeColor", OleWindowText));
    w.Font = FontOf(bag, std::nullopt, scale);
    w.ClientWidth = scale.Pixels(bag.ReadInt32("ClientWidth", 4800));
    w.ClientHeight = scale.Pixels(bag.ReadInt32("ClientHeight", 3600));
    Builder builder{scale, {}};
    for (const Control& child : root.Children) builder.Add(child, w.Controls, w.BackOle, w.Font);
    std::stable_sort(builder.tabStops.begin(), builder.tabStops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [index, name] : builder.tabStops) w.TabOrder.push_back(std::move(name));
    return w;
}

}  // namespace forms
