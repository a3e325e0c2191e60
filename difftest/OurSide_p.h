// Our drawing layer seen through the few adaptor calls the shared replay and benchmark code use
// where our API and gdi32's differ. Include inside namespace difftest::side only.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/Gdi.h"

namespace difftest::side {

using namespace gdi;

inline HBITMAP NewColourBitmap(int width, int height) { return CreateDIBSection32(width, height); }

inline HFONT NewFont(const LOGFONTA& lf) { return CreateFontIndirectA(lf); }

inline HICON NewIcon(HBITMAP mask, HBITMAP colour) {
    ICONINFO info;
    info.fIcon = TRUE;
    info.hbmMask = mask;
    info.hbmColor = colour;
    return CreateIconIndirect(info);
}

inline HICON ScaledIconCopy(HICON icon, int cx, int cy) {
    return HandleCast<HICON>(CopyImage(HGDIOBJ(icon), IMAGE_ICON, cx, cy, 0));
}

inline HBITMAP ScaledBitmapCopy(HBITMAP bitmap, int cx, int cy) {
    return HandleCast<HBITMAP>(CopyImage(HGDIOBJ(bitmap), IMAGE_BITMAP, cx, cy, 0));
}

// 0x00RRGGBB, top-down; a monochrome bitmap reads as black and white.
inline std::vector<std::uint32_t> ReadPixels(HDC, HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    const BitmapView v = GetBitmapView(bitmap);
    if (v.width != width || v.height != height) return out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * v.stride + x;
            out[static_cast<std::size_t>(y) * width + x] =
                v.bitsPerPixel == 1 ? (v.pixels1[at] ? 0xFFFFFFu : 0u) : v.pixels32[at] & 0xFFFFFFu;
        }
    return out;
}

}  // namespace difftest::side
