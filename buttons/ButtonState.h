// The control's state in parts, each with its one writer: the stored properties (setters and
// persistence), the container link, the derived face colours, the three layout results, the
// interaction and the drawing switch. TestStateWriters keeps the writers to those named here.
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
    friend bool operator==(const ButtonProperties&, const ButtonProperties&) = default;
};

// The container the button sits in: recorded at load and by RecordContainer, and its colour again
// when the input engine hears of an ambient BackColor change.
struct ContainerLink {
    win::HWND Window;                                         // also kept as decimal text in the host's tag
    gdi::COLORREF BackColor = 0;
};

// Face colours derived from the properties (plain RGB); written by RefreshCache("BackColor") only,
// from DeriveFaceColours.
struct DerivedColours {
    gdi::COLORREF Face = 0;
    gdi::COLORREF Pressed = 0;
    gdi::COLORREF HoverFace = 0;
    gdi::COLORREF ValueTrue = 0;
    friend bool operator==(const DerivedColours&, const DerivedColours&) = default;
};

// Where the slanted sides meet the bottom and top edges; what BuildRegions returns. Face pixels.
struct ShapeGeometry {
    std::int32_t SlantLeftX = 0;
    std::int32_t SlantRightX = 0;
    friend bool operator==(const ShapeGeometry&, const ShapeGeometry&) = default;
};

// Where caption and picture go; what LayOutCaption returns. Right and bottom exclusive.
struct CaptionGeometry {
    gdi::RECT CaptionRect;
    gdi::RECT PictureRect;
    friend bool operator==(const CaptionGeometry&, const CaptionGeometry&) = default;
};

// The picture's own size and kind; what MeasurePicture returns.
struct PictureMeasure {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t Kind = 0;                                    // 0 bitmap, 1 icon or cursor
    friend bool operator==(const PictureMeasure&, const PictureMeasure&) = default;
};

// What input and hover tracking change; written by the input engine only (and by ApplyFaceState,
// with which the tests and the render tool put a face into a look).
struct Interaction {
    std::uint8_t StateFlags = 0;                              // DefaultLook | HeldDown | MouseOver
    bool HoverLit = false;
    bool ButtonDown = false;
    std::int16_t LastButton = 0;
    bool DoubleClickPress = false;                            // held by a double click: its release clicks not
};

// DelayDrawing's switch: while on, nothing is painted. Written through the control's
// SetDrawingDelayed alone (DelayDrawing, Paint, loading, colour resets, the steps input asks
// for), and held on by RebuildShape while a slant shape widens the control.
struct DrawingSwitch {
    bool Delayed = false;
};

// The control's whole state. The drawing buffer is apart (RenderBuffer): the painters write only it.
struct ButtonState {
    ButtonProperties Props;
    ContainerLink Container;
    DerivedColours Colours;
    ShapeGeometry Shape;
    CaptionGeometry Layout;
    PictureMeasure Measured;
    Interaction Input;
    DrawingSwitch Drawing;
};

}  // namespace buttons
