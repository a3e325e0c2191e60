// Private to the text engine: the realised font of a DC and the painting of one line of glyphs.
// Owns nothing; it draws into the DC's selected bitmap through its clip region.
#pragma once

#include <string_view>

#include "Font.h"
#include "ObjectTable_p.h"

namespace gdi::text {

// The realised font of the DC's selected font object, realised on first use and kept with the
// object; null when no font file can be opened for it.
FontInstance* FontOfDc(const detail::Dc& dc);

// Fills area with colour on the DC's surface, within clip (when given) and the clip region.
void FillArea(const detail::Dc& dc, const RECT& area, const RECT* clip, COLORREF colour);

// One line of text with its top-left at (x, y): the background cell in OPAQUE mode, the glyphs
// in the text colour, and the font's underline and strikeout. width is the line's TextWidth.
void DrawLine(const detail::Dc& dc, FontInstance& font, std::string_view text, int width, int x, int y,
              const RECT* clip);

}  // namespace gdi::text
