// The units of the stored descriptions and the one scale from them to a screen's pixels: twips
// (1440 an inch, 15 a pixel at 96 dpi) and point sizes in ten-thousandths. Pure constexpr values.
#pragma once

#include <cstdint>

namespace forms {

inline constexpr int TwipsPerInch = 1440;
inline constexpr int StandardDpi = 96;
inline constexpr int TwipsPerPixel = TwipsPerInch / StandardDpi;  // 15

// The window decorations the stored outer sizes assume (a sizable window of the classic desktop:
// 5-pixel borders and a caption bar), so an outer size gives the same client area everywhere.
inline constexpr int FrameWidthTwips = 150;
inline constexpr int FrameHeightTwips = 510;

// Rounds numerator / denominator (denominator > 0) to the nearest integer, halves to even.
constexpr std::int64_t DivideNearestEven(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t q = numerator / denominator;
    std::int64_t r = numerator % denominator;
    if (r < 0) {
        r += denominator;
        --q;
    }
    if (2 * r > denominator || (2 * r == denominator && (q & 1) != 0)) ++q;
    return q;
}

// One scale for geometry and fonts alike, so a window on a high-DPI screen grows as a whole.
// Hosts that scale by a device pixel ratio instead keep the standard 96.
struct Scale {
    int Dpi = StandardDpi;

    // Twips to the nearest pixel (at 96 dpi never exactly half-way, 15 being odd).
    constexpr int Pixels(std::int32_t twips) const {
        return static_cast<int>(DivideNearestEven(static_cast<std::int64_t>(twips) * Dpi, TwipsPerInch));
    }
    constexpr std::int32_t Twips(int pixels) const {
        return static_cast<std::int32_t>(DivideNearestEven(static_cast<std::int64_t>(pixels) * TwipsPerInch, Dpi));
    }
    // A point size kept in ten-thousandths to whole pixels, ties to even (8.25 pt is 11 px at 96 dpi).
    constexpr int FontPixels(std::int32_t tenThousandths) const {
        return static_cast<int>(DivideNearestEven(static_cast<std::int64_t>(tenThousandths) * Dpi, 720000));
    }
};

inline constexpr Scale StandardScale{};

// The client size, at least 1 pixel, for an outer size the window logic sets in twips.
constexpr int ClientWidthForOuter(const Scale& scale, std::int32_t twips) {
    const int px = scale.Pixels(twips - FrameWidthTwips);
    return px > 1 ? px : 1;
}
constexpr int ClientHeightForOuter(const Scale& scale, std::int32_t twips) {
    const int px = scale.Pixels(twips - FrameHeightTwips);
    return px > 1 ? px : 1;
}

}  // namespace forms
