// Caption layout and drawing (with its effects, press offset and disabled look) and the caption font.
// Owns nothing: the caption font and the caption's converted text live in the render buffer.
#pragma once

#include <cstdint>

#include "buttons/ButtonHost.h"
#include "buttons/Frame.h"
#include "buttons/RenderBuffer.h"
#include "gdi/Objects.h"

namespace buttons {

// Where caption and picture go on the frame's face, the caption measured with the buffer's font.
// The frame's own Layout is not read.
CaptionGeometry LayOutCaption(const Frame& f, RenderBuffer& buffer);
// The picture, then the caption's passes. pressed moves both as the press offset does.
void DrawCaption(const Frame& f, RenderBuffer& buffer, gdi::COLORREF faceColour, gdi::COLORREF disabledTextColour,
                 bool pressed);
// The LOGFONT of the caption font for the host's font (the FontStyle setter writes its bits into that font).
// twipsPerPixelY is the screen's: 15 at 96 dots per inch.
gdi::LOGFONTA CaptionLogFont(const FontDesc& font, int twipsPerPixelY = 15);
// RefreshCache "Font": builds the caption font and selects it into the buffer (nothing before
// the buffer's context exists).
void RefreshCaptionFont(RenderBuffer& buffer, const ButtonHost& host);

}  // namespace buttons
