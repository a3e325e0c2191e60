// The caption font: its LOGFONT from the host's font, and its rebuild into the render buffer.
// Owns nothing: the font lives in the render buffer.
#pragma once

#include "buttons/ButtonHost.h"
#include "buttons/ButtonTypes.h"
#include "buttons/RenderBuffer.h"
#include "gdi/Objects.h"

namespace buttons {

// The LOGFONT of the caption font for the host's font (the FontStyle setter writes its bits into that font).
// twipsPerPixelY is the screen's: 15 at 96 dots per inch.
gdi::LOGFONTA CaptionLogFont(const FontDesc& font, int twipsPerPixelY = 15);
// RefreshCache "Font": builds the caption font and selects it into the buffer (nothing before
// the buffer's context exists).
void RefreshCaptionFont(RenderBuffer& buffer, const ButtonHost& host);

}  // namespace buttons
