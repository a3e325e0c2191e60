// Reading and writing the pixels of 32 bpp bitmaps in tests: the one conversion between a COLORREF
// (0x00BBGGRR) and a stored pixel (0x00RRGGBB), and whole-bitmap reads. Owns nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/Gdi.h"

namespace gdi::test {

constexpr std::uint32_t PixelOf(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
constexpr COLORREF ColourOf(std::uint32_t pixel) { return PixelOf(pixel & 0xFFFFFF); }

// Every pixel of a 32 bpp bitmap, row by row, as stored (0xXXRRGGBB); keep = kRgb clears the top byte.
constexpr std::uint32_t kRgb = 0xFFFFFF;
inline std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, std::uint32_t keep = 0xFFFFFFFF) {
    const BitmapView v = GetBitmapView(bitmap);
    std::vector<std::uint32_t> out;
    if (!v.pixels32) return out;
    out.reserve(static_cast<std::size_t>(v.width) * static_cast<std::size_t>(v.height));
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) out.push_back(v.pixels32[y * v.stride + x] & keep);
    return out;
}

// Straight from the bitmap (so pixels outside a clip region can be read too); CLR_INVALID outside it.
inline COLORREF PixelAt(HBITMAP bitmap, int x, int y) {
    const BitmapView v = GetBitmapView(bitmap);
    if (!v.pixels32 || x < 0 || y < 0 || x >= v.width || y >= v.height) return CLR_INVALID;
    return ColourOf(v.pixels32[y * v.stride + x]);
}

inline void FillPixels(HBITMAP bitmap, COLORREF c) {
    const BitmapView v = GetBitmapView(bitmap);
    for (int y = 0; v.pixels32 && y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) v.pixels32[y * v.stride + x] = PixelOf(c);
}

}  // namespace gdi::test
