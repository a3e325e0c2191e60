// One redraw's input: everything the painters read, gathered once from the control's state, its
// host and the screen. A plain value; two equal frames paint the same pixels. Owns nothing.
#pragma once

#include <cstdint>

#include "buttons/ButtonState.h"

namespace buttons {

class ButtonHost;
class RenderBuffer;

// The part of the interaction a face shows.
struct FaceLook {
    std::uint8_t StateFlags = 0;  // DefaultLook | HeldDown | MouseOver
    bool HoverLit = false;
    bool ButtonDown = false;
    friend bool operator==(const FaceLook&, const FaceLook&) = default;
};

struct Frame {
    ButtonProperties Props;
    gdi::COLORREF ContainerBack = 0;
    DerivedColours Colours;
    ShapeGeometry Shape;
    CaptionGeometry Layout;
    PictureMeasure Measured;
    FaceLook Look;
    // Host-held.
    bool Enabled = true;
    OleColor ForeColor = SysButtonText;
    // The client size: Width and Height as the buffer bitmap has it (ClientWidth), FaceWidth and
    // FaceHeight the host's values only rounded, as the caption and picture placement take them.
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t FaceWidth = 0;
    std::int32_t FaceHeight = 0;
    // The screen's size (gradient strips) and dots per inch (fixed picture sizes).
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    std::int32_t Dpi = 96;
    friend bool operator==(const Frame&, const Frame&) = default;
};

// The frame of the control's state as its host and the screen stand now; the dpi is the one the
// buffer's context reports.
Frame MakeFrame(const ButtonState& s, const ButtonHost& host, const RenderBuffer& buffer);

// "pressed": HeldDown and MouseOver both set.
bool IsPressed(const FaceLook& look);
inline bool Has(const FaceLook& look, std::uint8_t flag) { return (look.StateFlags & flag) != 0; }

}  // namespace buttons
