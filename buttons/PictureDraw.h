// Picture size and kind, and drawing bitmaps, icons and cursors on the face (transparent, or
// embossed grey when disabled). Owns only the temporary copies and contexts of one call.
#pragma once

#include <cstdint>

#include "buttons/ButtonState.h"
#include "buttons/Frame.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

// RefreshCache "Picture": the picture's size and kind. A kind no query answers stays previous's.
PictureMeasure MeasurePicture(const PictureRef& picture, const PictureMeasure& previous);
// A picture of no size is not drawn, and takes no room.
bool HasPicture(const PictureMeasure& m);

// Draws the frame's picture into the buffer at rect (the laid-out PictureRect after the press
// offset). width and left are the usable span of the face. Returns the rectangle used: rect, or
// for the automatic sizes the one they took.
gdi::RECT DrawPicture(const Frame& f, RenderBuffer& buffer, gdi::RECT rect, std::int32_t width, std::int32_t left);

// Where and how large DrawPicture draws; width or height 0 means nothing is drawn.
struct PictureTarget {
    gdi::RECT rect;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct PictureTargetInput {
    std::int16_t pictureSize = 16;
    gdi::RECT rect;              // the rectangle DrawPicture was given
    bool movedSideways = false;  // the press offset moved it right of PictureRect
    std::int32_t faceWidth = 0;
    std::int32_t faceHeight = 0;
    std::int32_t usableWidth = 0;
    std::int32_t usableLeft = 0;
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
    std::int32_t dpi = 96;  // the screen's, for the fixed sizes
};

// 16, 24, 32 keep rect (grown with the screen's dpi); 40 stretches over the face; 48 (and any other size above 32) fits the face.
PictureTarget CalcPictureTarget(const PictureTargetInput& in);

// Colour-keyed copy of a bitmap (key: its top-left pixel), shrunk to fit when larger than the target;
// the shrunk size is written back to width and height. A zero right or bottom edge of destRect or
// sourceRect stands for the bitmap's own size.
void DrawTransparentBitmap(gdi::HDC dest, const gdi::RECT& destRect, gdi::HBITMAP bitmap, gdi::RECT sourceRect,
                           int& width, int& height);

}  // namespace buttons
