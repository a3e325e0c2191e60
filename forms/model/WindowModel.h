// What a stored window description means, as plain values a host turns into its own widgets:
// per control its kind, pixel geometry, resolved colours, font with its stand-in, texts, picture
// and tab order, with every default applied here and nowhere else. Owns plain data only.
//
// A host parses the description, calls BuildWindowModel with its scale (the standard 96 dpi, or
// the screen's dpi for a host that scales by dpi rather than by a device pixel ratio), then walks
// Controls depth-first creating one native control per ControlModel inside its container, and
// chains the focusable ones in TabOrder. Buttons read their own stored settings from Settings.
// Kinds without a picture of their own (Timer, Shape, CheckBox) are left out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/Description.h"
#include "forms/Units.h"
#include "gdi/Types.h"

namespace forms {

// The OLE colours the defaults use (system colour indices with the top bit set).
inline constexpr std::uint32_t OleWindowBackground = 0x80000005;
inline constexpr std::uint32_t OleWindowText = 0x80000008;
inline constexpr std::uint32_t OleButtonFace = 0x8000000F;

enum class ControlKind { Button, Label, TextBox, Frame, PictureBox, Image, AnimatedPicture, Line };

struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A font as a host creates it: the stored face, the installed family standing in for it, and the
// character height in pixels (at least 1).
struct FontModel {
    std::string Face;
    std::string Family;
    int PixelHeight = 1;
    int Weight = 400;  // 1 to 1000
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    std::int16_t Charset = 0;
    friend bool operator==(const FontModel&, const FontModel&) = default;
};

enum class TextAlignment { Left = 0, Right = 1, Center = 2 };
enum class ScrollBarSet { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

struct ControlModel {
    ControlKind Kind = ControlKind::Label;
    std::string Name;
    PixelRect Box;  // in the container's client area; a Line's box encloses its pen
    bool Visible = true;
    bool Enabled = true;
    std::int32_t TabIndex = -1;
    bool TakesFocus = false;  // Button and TextBox

    // Resolved through the system colour table; Opaque false lets the container show through.
    gdi::COLORREF Back = 0;
    gdi::COLORREF Fore = 0;
    bool HasColours = false;  // Image, AnimatedPicture and Button take their container's
    bool Opaque = false;
    std::uint32_t AmbientBack = OleButtonFace;  // the container's BackColor, as an OLE colour
    std::optional<FontModel> Font;              // empty: the host's default font

    std::string Caption;                         // Label, Frame
    TextAlignment Alignment = TextAlignment::Left;  // Label: word-wrapped from the top
    std::string Text;                            // TextBox; line breaks CR LF
    bool MultiLine = false;
    ScrollBarSet ScrollBars = ScrollBarSet::None;
    bool Locked = false;
    std::optional<std::filesystem::path> Picture;  // Image, AnimatedPicture
    bool Stretch = false;                          // an animated picture always fills its box
    PixelPoint From;                               // Line, relative to Box
    PixelPoint To;
    int PenWidth = 1;

    const PropertyBag* Settings = nullptr;  // the stored settings; valid while the Document lives
    std::vector<ControlModel> Children;     // Frame, PictureBox
};

struct WindowModel {
    std::string Name;
    std::string Caption;
    std::optional<std::filesystem::path> Icon;
    int ClientWidth = 0;
    int ClientHeight = 0;
    gdi::COLORREF Back = 0;
    gdi::COLORREF Fore = 0;
    std::uint32_t BackOle = OleButtonFace;
    std::optional<FontModel> Font;
    std::vector<ControlModel> Controls;
    std::vector<std::string> TabOrder;  // focusable controls by TabIndex, ties in description order
    Scale Units;
};

// A stored font as a host creates it at this scale (the stand-in family from the one table).
FontModel FontModelOf(const FontValue& font, const Scale& scale = StandardScale);

// Throws FormatError for a value of the wrong type.
WindowModel BuildWindowModel(const Document& doc, const Scale& scale = StandardScale);

// The stored keys a kind's model reads, the common geometry keys included; a key outside the list
// has no effect on that kind. Empty for Button, which reads its own settings.
std::span<const std::string_view> KeysRead(ControlKind kind);
std::optional<ControlKind> KindFromName(std::string_view kind);

}  // namespace forms
