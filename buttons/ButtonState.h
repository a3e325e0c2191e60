// Every stored field of one qkButtons_H, grouped by the module that writes it.
// Plain data: the control class owns one; painters, layout and input read and write it.
#pragma once

#include <cstdint>
#include <string>

#include "buttons/ButtonTypes.h"
#include "gdi/Handles.h"
#include "gdi/Types.h"
#include "win/Hwnd.h"

namespace buttons {

struct ButtonState {
    // Properties (the enumerated ones are kept as stored 32-bit values: a loaded description may
    // hold values outside the setters' ranges, and every reader must stay safe with them).
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

    // Container link.
    win::HWND ContainerWnd;                                   // also kept as decimal text in the host's tag
    gdi::COLORREF ContainerBackColor = 0;

    // Rendering pipeline: the offscreen buffer and the objects it started with.
    gdi::HDC MemDC;
    gdi::HBITMAP SavedBitmap;                                 // null: no buffer bitmap exists
    gdi::HPEN SavedPen;
    gdi::HBRUSH SavedBrush;
    gdi::HFONT SavedFont;
    gdi::HRGN FaceClipRgn;
    bool DelayFlag = false;

    // Derived face colours (plain RGB).
    gdi::COLORREF FaceColor = 0;
    gdi::COLORREF PressedColor = 0;
    gdi::COLORREF HoverFaceColor = 0;
    gdi::COLORREF ValueTrueColor = 0;

    // Shapes: where the slanted sides meet the bottom and top edges.
    std::int32_t SlantLeftX = 0;
    std::int32_t SlantRightX = 0;

    // Caption and picture layout (face pixels, right and bottom exclusive).
    gdi::RECT CaptionRect;
    gdi::RECT PictureRect;
    std::int32_t PictureWidth = 0;
    std::int32_t PictureHeight = 0;
    std::int32_t PictureKind = 0;                             // 0 bitmap, 1 icon or cursor

    // Interaction state, written by input and hover tracking, read by the painters.
    std::uint8_t StateFlags = 0;                              // DefaultLook | HeldDown | MouseOver
    bool HoverLit = false;
    bool ButtonDown = false;
    std::int16_t LastButton = 0;
};

}  // namespace buttons
