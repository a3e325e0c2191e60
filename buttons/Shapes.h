// Window outlines of the seven shapes, the slant positions and the face clip of the oval shapes.
// The window region goes to the host (which owns it from then on); the face clip goes to the render buffer.
#pragma once

#include <array>
#include <cstdint>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

// Replaces the buffer's face clip, hands the new window region to the host and returns the slant
// positions, for the host's present size (a slant shape too narrow for its slant is widened first,
// see RequiredWidth). A stored shape outside 0..6 gets no region (the window stays rectangular) and
// no face clip.
ShapeGeometry BuildRegions(std::int32_t shape, RenderBuffer& buffer, ButtonHost& host);

// What BuildRegions builds, as data.
struct RegionPlan {
    enum class Kind { None, Rectangle, Polygon, Ellipse };
    Kind kind = Kind::None;
    gdi::RECT box;                         // rectangle or ellipse bounding box
    std::array<gdi::POINT, 4> polygon{};   // the slant shapes' quadrilateral
    bool cutLeft = false;                  // cut the two left corners
    bool cutRight = false;
    bool hasFaceClip = false;
    gdi::RECT faceClip;                    // ellipse bounding box of the face clip
    std::int32_t slantLeftX = 0;
    std::int32_t slantRightX = 0;
};

bool IsSlantShape(std::int32_t shape);
// Horizontal run of a slanted side: one pixel per pixel of height, H + 1.
int SlantRun(int height);
// Width a shape needs: the slant shapes grow in steps of 5 until the width exceeds the run by 5.
int RequiredWidth(std::int32_t shape, int width, int height);
// The plan for a control of this size (width already widened where needed).
RegionPlan PlanRegions(std::int32_t shape, int width, int height);
// The two corner triangles of one side: top (legs of 2) then bottom (legs of 3).
std::array<std::array<gdi::POINT, 3>, 2> CornerCuts(bool rightSide, int width, int height);

}  // namespace buttons
