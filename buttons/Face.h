// The standard face: shading, bevel outlines, corner pixels, and the rim and ring of the oval shapes.
// Reads the state as const and paints into the render buffer only.
#pragma once

#include <array>
#include <cstdint>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

using EdgePointArray = std::array<gdi::POINT, 16>;   // index 0..15
using EdgeColorArray = std::array<std::int64_t, 13>;  // index 1..12 used; negative: segment not drawn

// The whole face, caption and picture last. drawState: 0 normal, 1 default, 2 pressed or set, 3 hover.
void PaintStandardFace(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, EdgePointArray& edgePoints,
                       EdgeColorArray& edgeColors, std::int16_t& drawState);

// Rim of the oval shapes and the face fill. Sets drawState (0, 1 or 2); a negative grad becomes face,
// a negative hover becomes face.
void DrawFaceBackground(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, gdi::COLORREF face,
                        std::int16_t& drawState, gdi::COLORREF& grad, gdi::COLORREF& hover);

// The elliptic default ring of the oval shapes; nothing unless DefaultLook is set.
void DrawFocusRing(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, gdi::COLORREF colour);

// The colours PaintStandardFace derives before it paints.
struct FaceColours {
    gdi::COLORREF base = 0;          // the edge columns shift from it
    gdi::COLORREF face = 0;          // fill colour of this state
    gdi::COLORREF disabledText = 0;  // 0 while enabled
    gdi::COLORREF gradient = 0;      // blend end colour, or face without a gradient
};
FaceColours SelectFaceColours(const ButtonState& s, bool enabled);

// "pressed": HeldDown and MouseOver both set.
bool IsPressed(const ButtonState& s);
// DrawState of the outlines for an enabled control, from the one DrawFaceBackground left.
std::int16_t EdgeDrawState(const ButtonState& s, std::int16_t fromBackground);

// Darkening of shading row `row` (1..height-1) of a face `height` rows tall: nearest(-25 * row / height),
// halves to even; 0 for an empty face.
std::int16_t ShadingAmount(int row, int height);

}  // namespace buttons
