// The control's state in parts, each with one writer: the stored properties (setters and
// persistence), the container link, the derived face colours, the face geometry and the interaction.
#pragma once

#include <cstdint>
#include <string>

#include "buttons/ButtonTypes.h"
#include "gdi/Types.h"
#include "win/Hwnd.h"

namespace buttons {

// What the button stores. Written by the property setters and persistence only. The enumerated
// ones are kept as stored 32-bit values: a loaded description may hold values outside the setters'
// ranges, and every reader must stay safe with them.
struct ButtonProperties {
    std::string Caption;                                      // UTF-8; "||" is a line break, "&" the access key
    std::int32_t CaptionAlign = ToInt(CaptionAlignment::AlignCenter);
    std::int32_t CaptionStyle = ToInt(CaptionEffect::EffectFlat);
    std::int32_t ButtonStyle = ToInt(ButtonStyleKind::StyleStandard);
    std::int32_t ButtonShape = ToInt(ButtonShapeKind::ShapeRectangle);
    std::int32_t Mode = ToInt(ButtonMode::ModeCommand);
    bool Value = false;
    bool ShowFocusRect = true;
    PictureRef Picture;
    std::int32_t PictureAlign = ToInt(PictureAlignment::PicLeftEdge);
    std::int16_t PictureSize = 16;                            // pixels: (step + 2) * 8
    OleColor BackColor = SysButtonFace;
    OleColor GradientColor = 0;
    std::int32_t GradientMode = ToInt(GradientDirection::GradientNone);
    std::int32_t HoverColorLocks = ToInt(HoverColorLock::LockBoth);
    OleColor HoverBackColor = SysButtonFace;
    OleColor HoverForeColor = SysButtonText;
    std::int32_t FontStyle = FontRegular;
};

// The container the button sits in, recorded at load and on ambient changes.
struct ContainerLink {
    win::HWND Window;                                         // also kept as decimal text in the host's tag
    gdi::COLORREF BackColor = 0;
};

// Face colours derived from the properties (plain RGB); written by RefreshFaceColours only.
struct DerivedColours {
    gdi::COLORREF Face = 0;
    gdi::COLORREF Pressed = 0;
    gdi::COLORREF HoverFace = 0;
    gdi::COLORREF ValueTrue = 0;
};

// Where things go on the face; written by the region build (slants), the caption layout (rects) and
// the picture cache (picture size and kind). Face pixels, right and bottom exclusive.
struct FaceGeometry {
    std::int32_t SlantLeftX = 0;                              // where the slanted sides meet the bottom
    std::int32_t SlantRightX = 0;                             // and top edges
    gdi::RECT CaptionRect;
    gdi::RECT PictureRect;
    std::int32_t PictureWidth = 0;
    std::int32_t PictureHeight = 0;
    std::int32_t PictureKind = 0;                             // 0 bitmap, 1 icon or cursor
};

// What input, hover tracking and DelayDrawing change; read by the painters.
struct Interaction {
    std::uint8_t StateFlags = 0;                              // DefaultLook | HeldDown | MouseOver
    bool HoverLit = false;
    bool ButtonDown = false;
    std::int16_t LastButton = 0;
    bool DelayFlag = false;                                   // drawing delayed: nothing is painted
    bool DoubleClickPress = false;                            // held by a double click: its release clicks not
};

// Everything a paint reads. The drawing buffer is apart (RenderBuffer): the painters write only it.
struct ButtonState {
    ButtonProperties Props;
    ContainerLink Container;
    DerivedColours Colours;
    FaceGeometry Geometry;
    Interaction Input;
};

}  // namespace buttons
