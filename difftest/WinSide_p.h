// Wine's gdi32 and user32 seen through the adaptor calls the shared replay and benchmark code use.
// For the MinGW-w64 programs only: it includes <windows.h>.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX  // keep std::min and std::max usable
#endif
#include <windows.h>

#include <cstdint>
#include <vector>

namespace difftest::side {

inline HBITMAP NewColourBitmap(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down, as ours
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
}

inline HFONT NewFont(const LOGFONTA& lf) { return CreateFontIndirectA(&lf); }

inline HICON NewIcon(HBITMAP mask, HBITMAP colour) {
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask;
    info.hbmColor = colour;
    return CreateIconIndirect(&info);
}

inline HICON ScaledIconCopy(HICON icon, int cx, int cy) {
    return static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
}

inline HBITMAP ScaledBitmapCopy(HBITMAP bitmap, int cx, int cy) {
    return static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, cx, cy, 0));
}

// 0x00RRGGBB, top-down, through GetDIBits so that monochrome bitmaps read the same way.
inline std::vector<std::uint32_t> ReadPixels(HDC dc, HBITMAP bitmap, int width, int height) {
    GdiFlush();
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), out.data(), &bi, DIB_RGB_COLORS);
    for (std::uint32_t& p : out) p &= 0xFFFFFFu;
    return out;
}

}  // namespace difftest::side
