// The standard face: shading, bevel outlines, corner pixels, and the rim and ring of the oval shapes.
// Paints into MemDC only; reads the state, never changes a property.
#pragma once

#include <array>
#include <cstdint>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"

namespace buttons {

using EdgePointArray = std::array<gdi::POINT, 16>;   // index 0..15
using EdgeColorArray = std::array<std::int64_t, 13>;  // index 1..12 used; negative: segment not drawn

// The whole face, caption and picture last. drawState: 0 normal, 1 default, 2 pressed or set, 3 hover.
void PaintStandardFace(ButtonState& s, ButtonHost& host, EdgePointArray& edgePoints, EdgeColorArray& edgeColors,
                       std::int16_t& drawState);

}  // namespace buttons
