// Linear gradient fill of the face in strips of one or two pixels.
// Paints into MemDC through DrawBox; owns only the temporary colour table.
#pragma once

#include <vector>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"

namespace buttons {

void FillGradient(ButtonState& s, ButtonHost& host, gdi::COLORREF startColour, gdi::COLORREF endColour);
// Fills every entry of colours (already sized) from start to end.
void CalcGradientColors(std::vector<gdi::COLORREF>& colours, gdi::COLORREF startColour, gdi::COLORREF endColour);

}  // namespace buttons
