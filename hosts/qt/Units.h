// Units and colours of the stored window descriptions as the Qt host applies them: twips at 15 a
// pixel, point sizes at 96 dots an inch, OLE colours with system colours resolved. Pure functions.
#pragma once

#include <QColor>

#include <cstdint>

namespace hosts::qt {

inline constexpr int TwipsPerPixel = 15;

// Rounded to the nearest pixel (a twip count is never exactly half-way, 15 being odd).
constexpr int TwipsToPixels(std::int32_t twips) {
    const std::int64_t t = twips;
    return static_cast<int>(t >= 0 ? (2 * t + TwipsPerPixel) / (2 * TwipsPerPixel)
                                   : -((-2 * t + TwipsPerPixel) / (2 * TwipsPerPixel)));
}

// Point sizes kept in ten-thousandths of a point, as descriptions store them, to whole pixels at
// 96 dpi, rounded to nearest with ties to even (8.25 pt is 11 px, 15.75 pt is 21 px).
constexpr int PointsToPixels(std::int32_t tenThousandths) {
    // pixels = pt * 96 / 72 = tenThousandths * 4 / 30000
    const std::int64_t num = static_cast<std::int64_t>(tenThousandths) * 4;
    constexpr std::int64_t den = 30000;
    std::int64_t q = num / den;
    const std::int64_t r = num % den;
    if (2 * r > den || (2 * r == den && (q % 2) != 0)) ++q;
    return static_cast<int>(q);
}

// An OLE colour (top bit set: system colour index in the low byte) as a Qt colour.
QColor ColourFromOle(std::uint32_t ole);

// The window decorations the stored outer sizes assume (a sizable window of the classic desktop:
// 5-pixel borders and a caption bar), so an outer size gives the same client area everywhere.
inline constexpr int FrameWidthTwips = 150;
inline constexpr int FrameHeightTwips = 510;

}  // namespace hosts::qt
