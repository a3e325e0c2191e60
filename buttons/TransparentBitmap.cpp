#include <algorithm>

#include "buttons/Colors.h"
#include "buttons/PictureDraw.h"
#include "gdi/MemoryDC.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"

namespace buttons {

namespace {

constexpr gdi::DWORD DestAndNotSource = 0x00220326;
constexpr gdi::COLORREF White = 0xFFFFFF;
constexpr gdi::COLORREF Black = 0x000000;

}  // namespace

void DrawTransparentBitmap(gdi::HDC dest, const gdi::RECT& destRect, gdi::HBITMAP bitmap, gdi::RECT sourceRect,
                           int& width, int& height) {
    const int destWidth = destRect.right == 0 ? width : destRect.right - destRect.left;
    const int destHeight = destRect.bottom == 0 ? height : destRect.bottom - destRect.top;
    int sourceWidth = sourceRect.right - sourceRect.left;
    if (sourceRect.right == 0) {
        sourceWidth = width;
        sourceRect.right = width;
    }
    int sourceHeight = sourceRect.bottom - sourceRect.top;
    if (sourceRect.bottom == 0) {
        sourceHeight = height;
        sourceRect.bottom = height;
    }
    // An empty or inverted area has nothing to draw; negative sizes would mirror the blits instead.
    if (destWidth <= 0 || destHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return;

    const gdi::HDC screen = gdi::GetDC();
    const gdi::MemoryDC source(screen, bitmap, gdi::MemoryDC::Ownership::Borrows);

    if (width > destWidth || height > destHeight) {
        // Single precision, as the picture sizes of the control have always been scaled.
        const float g = std::min(static_cast<float>(destWidth) / static_cast<float>(width),
                                 static_cast<float>(destHeight) / static_cast<float>(height));
        width = Nearest(static_cast<double>(g * static_cast<float>(width)));
        height = Nearest(static_cast<double>(g * static_cast<float>(height)));
    }

    const gdi::COLORREF transparent = ConvertSysColor(gdi::GetPixel(source.get(), 0, 0));

    const gdi::MemoryDC mask(screen, gdi::CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr),
                            gdi::MemoryDC::Ownership::Owns);
    const gdi::MemoryDC work(screen, gdi::CreateCompatibleBitmap(screen, destWidth, destHeight),
                            gdi::MemoryDC::Ownership::Owns);
    const gdi::MemoryDC image(screen, gdi::CreateCompatibleBitmap(screen, sourceWidth, sourceHeight),
                             gdi::MemoryDC::Ownership::Owns);
    gdi::ReleaseDC(screen);

    // The background the picture lands on.
    gdi::SetMapMode(work.get(), gdi::GetMapMode(dest));
    gdi::BitBlt(work.get(), 0, 0, destWidth, destHeight, dest, destRect.left, destRect.top, gdi::SRCCOPY);

    gdi::SetBkColor(image.get(), gdi::GetBkColor(source.get()));
    gdi::SetTextColor(image.get(), gdi::GetTextColor(source.get()));
    gdi::BitBlt(image.get(), 0, 0, sourceWidth, sourceHeight, source.get(), sourceRect.left, sourceRect.top,
                gdi::SRCCOPY);

    // Mask bits are 1 exactly where the image has the transparent colour.
    gdi::SetBkColor(image.get(), transparent);
    gdi::SetTextColor(image.get(), White);
    gdi::BitBlt(mask.get(), 0, 0, sourceWidth, sourceHeight, image.get(), 0, 0, gdi::SRCCOPY);

    // Transparent pixels of the image turn black, so that SRCPAINT leaves the background there.
    gdi::SetTextColor(image.get(), Black);
    gdi::SetBkColor(image.get(), White);
    gdi::BitBlt(image.get(), 0, 0, sourceWidth, sourceHeight, mask.get(), 0, 0, DestAndNotSource);

    gdi::StretchBlt(work.get(), 0, 0, width, height, mask.get(), 0, 0, sourceWidth, sourceHeight, gdi::SRCAND);
    gdi::StretchBlt(work.get(), 0, 0, width, height, image.get(), 0, 0, sourceWidth, sourceHeight, gdi::SRCPAINT);

    gdi::BitBlt(dest, destRect.left, destRect.top, destWidth, destHeight, work.get(), 0, 0, gdi::SRCCOPY);
}

}  // namespace buttons
