// Enumerations and value types of the button control qkButtons_H, with their stored numeric values.
// Owns the picture and font values that properties hold; nothing else.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "gdi/Handles.h"
#include "gdi/Types.h"

namespace buttons {

// 32-bit OLE colour: top bit set names a system colour (index in the low byte), else 0x00BBGGRR.
using OleColor = std::uint32_t;
constexpr OleColor SysButtonFace = 0x8000000F;
constexpr OleColor SysButtonText = 0x80000012;

// 16-bit booleans as stored and passed by the control's container: True = -1, False = 0.
using VbBool = std::int16_t;
constexpr VbBool VbTrue = -1;
constexpr VbBool VbFalse = 0;

// Stored values outside the named ones survive loading (see persistence); every reader must cope.
enum class ButtonStyleKind : std::int32_t { StyleStandard = 2 };
enum class ButtonMode : std::int32_t { ModeCommand = 0, ModeCheckBox = 1, ModeOption = 2 };
enum class CaptionAlignment : std::int32_t { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
enum class CaptionEffect : std::int32_t { EffectFlat = 0, EffectEmbossed = 1, EffectEngraved = 2 };
enum class ButtonShapeKind : std::int32_t {
    ShapeRectangle = 0,
    ShapeSlantLeft = 1,
    ShapeSlantRight = 2,
    ShapeSlantBoth = 3,
    ShapeOvalRim = 4,
    ShapeOvalRimRaised = 5,
    ShapeOvalOutline = 6,
};
enum class PictureAlignment : std::int32_t {
    PicLeftEdge = 0,
    PicLeftOfCaption = 1,
    PicRightEdge = 2,
    PicRightOfCaption = 3,
    PicTopCenter = 4,
    PicBottomCenter = 5,
};
enum class PictureSizeStep : std::int32_t { Size16 = 0, Size24 = 1, Size32 = 2, Size40 = 3, Size48 = 4 };
enum class GradientDirection : std::int32_t {
    GradientNone = 0,
    GradientLeftToRight = 1,
    GradientRightToLeft = 2,
    GradientTopToBottom = 3,
    GradientBottomToTop = 4,
};
enum class HoverColorLock : std::int32_t { LockBoth = 0, LockForeOnly = 1, LockBackOnly = 2, LockNone = 3 };
enum FontStyleFlags : std::int32_t { FontRegular = 0, FontBold = 2, FontItalic = 4, FontUnderline = 8 };

// StateFlags bits (interaction state).
constexpr std::uint8_t DefaultLook = 1;
constexpr std::uint8_t HeldDown = 2;
constexpr std::uint8_t MouseOver = 4;

template <class E>
constexpr std::int32_t ToInt(E e) {
    return static_cast<std::int32_t>(e);
}

// A picture object: a bitmap, or an icon or cursor, owned here and shared by reference.
struct Picture {
    enum class Type { Bitmap, Icon, Cursor };
    Type type = Type::Bitmap;
    gdi::HGDIOBJ handle;              // HBITMAP or HICON, owned by this object
    std::filesystem::path source;     // the image file it was loaded from, for saving
    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture();
};
using PictureRef = std::shared_ptr<const Picture>;

// Loads a .bmp, .png, .ico or .cur file into a picture; throws gdi::ImageError on a bad file.
PictureRef LoadPicture(const std::filesystem::path& path);

// A font object as the host holds it (the container's Font property).
struct FontDesc {
    std::string Name = "MS Sans Serif";
    double Size = 8.25;  // points, as the host stores it (4 decimal places)
    std::int32_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    std::int16_t Charset = 0;
    bool Bold() const { return Weight >= 700; }
    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

}  // namespace buttons
