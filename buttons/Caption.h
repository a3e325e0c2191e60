// Caption layout and drawing (with its effects, press offset and disabled look) and the caption font.
// Owns nothing: the caption font lives in the render buffer.
#pragma once

#include <cstdint>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "buttons/RenderBuffer.h"
#include "gdi/Objects.h"

namespace buttons {

// Always returns the usable span in width and left; with doLayout also sets CaptionRect and PictureRect.
void CalcCaptionLayout(ButtonState& s, const RenderBuffer& buffer, const ButtonHost& host, std::int32_t& width,
                       bool doLayout, std::int32_t& left);
void DrawCaption(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, gdi::COLORREF& faceColour, gdi::COLORREF& disabledTextColour,
                 bool pressed, bool& singlePass);
// The LOGFONT of the caption font for the host's font (the FontStyle setter writes its bits into that font).
// twipsPerPixelY is the screen's: 15 at 96 dots per inch.
gdi::LOGFONTA CaptionLogFont(const FontDesc& font, int twipsPerPixelY = 15);
// RefreshCache "Font": builds the caption font and selects it into the buffer (nothing before
// the buffer's context exists).
void RefreshCaptionFont(RenderBuffer& buffer, const ButtonHost& host);

}  // namespace buttons
