// Pure arithmetic of the caption and picture placement: usable span, picture reserves, measuring box
// and the final rectangles from a measured text size. Owns nothing and draws nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gdi/Types.h"

namespace buttons {

// The part of the face that caption and picture may use: the outer two thirds of a diagonal edge stay free.
struct UsableSpan {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t width = 0;
};

// passedLeft is the caller's left, kept by the shapes without a diagonal left edge.
UsableSpan CalcUsableSpan(std::int32_t shape, std::int32_t faceWidth, std::int32_t slantLeftX, std::int32_t slantRightX,
                          std::int32_t passedLeft);

// Room a fixed-size picture takes beside (left/right) or above/below (top/bottom) the caption.
struct PictureReserve {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    bool beside = false;
    bool stacked = false;
};

// A fixed picture size (16, 24, 32) counts pixels of a 96-dpi screen, as the caption's points do
// through its font, so on a denser screen it grows by the same factor. Other sizes are returned as stored.
std::int32_t FixedPictureSide(std::int16_t pictureSize, std::int32_t dpi);

PictureReserve CalcPictureReserve(bool hasPicture, std::int32_t pictureAlign, std::int16_t pictureSize,
                                  std::int32_t dpi);

// The rectangle the caption is measured in (word wrapping happens at its width).
gdi::RECT CaptionMeasuringRect(const UsableSpan& span, std::int32_t faceHeight, const PictureReserve& reserve);

struct CaptionPlacementInput {
    UsableSpan span;
    std::int32_t faceHeight = 0;
    bool hasCaption = false;
    std::int32_t textWidth = 0;   // measured, already grown by 2 for an effect
    std::int32_t textHeight = 0;
    std::int32_t captionAlign = 0;
    bool hasPicture = false;
    std::int32_t pictureAlign = 0;
    std::int16_t pictureSize = 16;
    std::int32_t dpi = 96;  // the screen's, for the fixed picture sizes
};

struct CaptionPlacement {
    gdi::RECT caption;
    gdi::RECT picture;
};

// Places caption and picture, then clamps both to the 6-pixel margins (right edge to the span's right).
CaptionPlacement PlaceCaptionAndPicture(const CaptionPlacementInput& in);

// Moves r by dx, dy.
void Offset(gdi::RECT& r, std::int32_t dx, std::int32_t dy);

// The caption as handed to the text calls: every "||" becomes CR LF, left to right, without overlap.
std::string CaptionWithLineBreaks(std::string_view caption);

}  // namespace buttons
