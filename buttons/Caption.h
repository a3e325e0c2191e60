// Caption layout and drawing (with its effects, press offset and disabled look) and the caption font.
// Owns the caption font selected in MemDC (the first one displaced is kept as SavedFont).
#pragma once

#include <cstdint>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "gdi/Objects.h"

namespace buttons {

// Always returns the usable span in width and left; with doLayout also sets CaptionRect and PictureRect.
void CalcCaptionLayout(ButtonState& s, ButtonHost& host, std::int32_t& width, bool doLayout, std::int32_t& left);
void DrawCaption(ButtonState& s, ButtonHost& host, gdi::COLORREF& faceColour, gdi::COLORREF& disabledTextColour,
                 bool pressed, bool& singlePass);
// The LOGFONT of the caption font for the host's font (the FontStyle setter writes its bits into that font).
// twipsPerPixelY is the screen's: 15 at 96 dots per inch.
gdi::LOGFONTA CaptionLogFont(const FontDesc& font, int twipsPerPixelY = 15);
// RefreshCache "Font": builds the caption font and selects it into MemDC (nothing while MemDC is null).
void RefreshCaptionFont(ButtonState& s, ButtonHost& host);

}  // namespace buttons
