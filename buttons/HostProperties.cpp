#include "buttons/HostProperties.h"

#include <stdexcept>

#include "buttons/qkButtons_H.h"
#include "gdi/Image.h"
#include "gdi/Objects.h"

namespace buttons {

void CheckMousePointer(std::int32_t pointer) {
    if ((pointer < 0 || pointer > 15) && pointer != CustomMousePointer) {
        throw std::invalid_argument("Invalid property value");
    }
}

void CheckMouseIcon(const PictureRef& icon) {
    if (icon && icon->type == Picture::Type::Bitmap) throw std::invalid_argument("Invalid picture");
}

std::optional<CursorImage> CustomCursorImage(std::int32_t pointer, const PictureRef& icon) {
    if (pointer != CustomMousePointer || !icon || icon->type == Picture::Type::Bitmap) return std::nullopt;
    gdi::ICONINFO info;
    if (!gdi::GetIconInfo(gdi::HandleCast<gdi::HICON>(icon->handle), &info)) return std::nullopt;
    const gdi::OwnedBitmap maskOwner(info.hbmMask);
    const gdi::OwnedBitmap colourOwner(info.hbmColor);
    const gdi::BitmapView mask = gdi::GetBitmapView(info.hbmMask);
    const gdi::BitmapView colour = gdi::GetBitmapView(info.hbmColor);
    if (mask.bitsPerPixel != 1 || colour.bitsPerPixel != 32 || colour.width <= 0 || mask.width < colour.width ||
        mask.height < colour.height) {
        return std::nullopt;
    }
    CursorImage image{colour.width, colour.height, static_cast<int>(info.xHotspot), static_cast<int>(info.yHotspot), {}};
    image.Pixels.reserve(static_cast<std::size_t>(colour.width) * static_cast<std::size_t>(colour.height));
    for (int y = 0; y < colour.height; ++y) {
        for (int x = 0; x < colour.width; ++x) {
            const std::uint32_t rgb = colour.pixels32[static_cast<std::size_t>(y) * colour.stride + x];
            const bool transparent = mask.pixels1[static_cast<std::size_t>(y) * mask.stride + x] != 0;
            image.Pixels.push_back(transparent ? 0u : (0xFF000000u | rgb));
        }
    }
    return image;
}

}  // namespace buttons
