// The standard face: shading, bevel outlines, corner pixels, and the rim and ring of the oval shapes.
// Reads one frame and paints into the render buffer only.
#pragma once

#include <cstdint>

#include "buttons/Frame.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

// The whole face, caption and picture last.
void PaintStandardFace(const Frame& f, RenderBuffer& buffer);

// Rim of the oval shapes and the face fill; grad and hover with the top bit set stand for face.
void DrawFaceBackground(const Frame& f, RenderBuffer& buffer, gdi::COLORREF face, gdi::COLORREF grad,
                        gdi::COLORREF hover);

// The elliptic default ring of the oval shapes; nothing unless DefaultLook is set.
void DrawFocusRing(const Frame& f, RenderBuffer& buffer, gdi::COLORREF colour);

// The colours PaintStandardFace derives before it paints.
struct FaceColours {
    gdi::COLORREF base = 0;          // the edge columns shift from it
    gdi::COLORREF face = 0;          // fill colour of this state
    gdi::COLORREF disabledText = 0;  // 0 while enabled
    gdi::COLORREF gradient = 0;      // blend end colour, or face without a gradient
};
FaceColours SelectFaceColours(const Frame& f);

// The face's draw state: 0 normal, 1 default, 2 pressed or set, 3 hover. The background's (0..2)
// stays for the oval shapes and a disabled face; the outlines of an enabled one take EdgeDrawState's.
std::int16_t FaceDrawState(const Frame& f);
// DrawState of the outlines for an enabled control, from the background's.
std::int16_t EdgeDrawState(const Frame& f, std::int16_t fromBackground);

// Darkening of shading row `row` (1..height-1) of a face `height` rows tall: nearest(-25 * row / height),
// halves to even; 0 for an empty face.
std::int16_t ShadingAmount(int row, int height);

}  // namespace buttons
