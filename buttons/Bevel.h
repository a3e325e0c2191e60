// The three nested one-pixel outlines of the rectangle and slant shapes: vertex table, colour
// columns per interaction state, and the drawing of the twelve segments. Owns no GDI object.
#pragma once

#include <array>
#include <cstdint>

#include "buttons/Frame.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

using EdgePointArray = std::array<gdi::POINT, 16>;   // index 0..15
using EdgeColorArray = std::array<std::int64_t, 13>;  // index 1..12 used; negative: segment not drawn

// Outline colour of every enabled state (outer outline and corner pixels).
constexpr gdi::COLORREF OutlineColour = gdi::RGB(0, 60, 115);

// Vertices 0..14 of the outlines (15 stays 0). left and right are SlantLeftX and SlantRightX.
EdgePointArray BevelVertices(std::int32_t shape, int width, int height, int left, int right);

// One drawn segment: from vertex `from` to vertex from + 1, in colour slot `slot`.
struct BevelSegment {
    int from;
    int slot;
};
// Segments 4 -> 5 and 9 -> 10 would join the outlines, so they are absent.
constexpr std::array<BevelSegment, 12> BevelSegments{{
    {0, 1}, {1, 2}, {2, 3}, {3, 4},     // inner: left, top, right, bottom
    {5, 5}, {6, 6}, {7, 7}, {8, 8},     // middle
    {10, 9}, {11, 10}, {12, 11}, {13, 12}  // outer
}};

// Fills slots 1..8 with the column of drawState (0 normal, 1 default look, 2 pressed or set, 3 hover).
// A drawState outside 0..3 is painted as normal.
void FillEdgeColumn(EdgeColorArray& colours, std::int16_t drawState, gdi::COLORREF base);

// Draws the segments whose slot colour is not negative; a new pen only when the colour changes.
// outerStyle is the pen style of the outer outline, -1 for solid.
void DrawBevelLines(const Frame& f, RenderBuffer& buffer, const EdgeColorArray& edgeColors, int outerStyle);

}  // namespace buttons
