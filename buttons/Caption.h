// Caption layout and drawing, with its effects, press offset and disabled look. Owns nothing: the
// caption font and the caption's converted text live in the render buffer.
#pragma once

#include <cstdint>

#include "buttons/Frame.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

// Where caption and picture go on the frame's face, the caption measured with the buffer's font.
// The frame's own Layout is not read.
CaptionGeometry LayOutCaption(const Frame& f, RenderBuffer& buffer);
// The picture, then the caption's passes. pressed moves both as the press offset does.
void DrawCaption(const Frame& f, RenderBuffer& buffer, gdi::COLORREF faceColour, gdi::COLORREF disabledTextColour,
                 bool pressed);

}  // namespace buttons
