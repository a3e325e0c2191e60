// Linear gradient fill of the face in strips of one or two pixels.
// Paints into the render buffer as DrawBox calls would, through a BoxRun; owns nothing (the buffer keeps the tables).
#pragma once

#include <cstdint>
#include <vector>

#include "buttons/Frame.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

// Blends over the whole face of the frame in the direction of mode (a GradientDirection value).
void FillGradient(const Frame& f, RenderBuffer& buffer, std::int32_t mode, gdi::COLORREF startColour,
                  gdi::COLORREF endColour);
// Fills every entry of colours (already sized) from start to end. A single entry gets the start colour.
void CalcGradientColors(std::vector<gdi::COLORREF>& colours, gdi::COLORREF startColour, gdi::COLORREF endColour);

// How a face is cut into strips.
struct GradientStrips {
    bool horizontal = false;  // strips are columns moving right
    int stripWidth = 1;       // 1, or 2 when the face spans more than about a quarter of the screen
    int count = 0;            // 0 for an empty face
    bool startFirst = true;   // the start colour at the left or top (odd modes)
};
// Modes 1 and 2 blend horizontally, every other value vertically; odd values start at the origin.
// The screen's size is in pixels.
GradientStrips PlanGradientStrips(std::int32_t mode, int faceWidth, int faceHeight, int screenWidth,
                                  int screenHeight);

}  // namespace buttons
