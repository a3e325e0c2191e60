// The one scale between the stored descriptions' twips and this screen's pixels, for geometry and
// fonts alike: 15 twips a pixel at 96 dots an inch, so on a high-DPI screen the whole window grows.
// A plain value.
#pragma once

#include <cstdint>

namespace hosts::win32 {

struct DisplayScale {
    int dpi = 96;

    // Rounded to the nearest pixel, halves away from zero.
    constexpr int Pixels(std::int32_t twips) const {
        const std::int64_t num = static_cast<std::int64_t>(twips) * dpi;
        return static_cast<int>(num >= 0 ? (2 * num + 1440) / 2880 : -((-2 * num + 1440) / 2880));
    }
    constexpr std::int32_t Twips(int pixels) const {
        const std::int64_t num = static_cast<std::int64_t>(pixels) * 1440;
        return static_cast<std::int32_t>((2 * num + dpi) / (2 * dpi));
    }
    // A point size kept in ten-thousandths of a point, as a font height in pixels (ties to even).
    constexpr int FontPixels(std::int32_t tenThousandths) const {
        const std::int64_t num = static_cast<std::int64_t>(tenThousandths) * dpi;
        constexpr std::int64_t den = 720000;
        std::int64_t q = num / den;
        const std::int64_t r = num % den;
        if (2 * r > den || (2 * r == den && (q % 2) != 0)) ++q;
        return static_cast<int>(q);
    }
};

}  // namespace hosts::win32
