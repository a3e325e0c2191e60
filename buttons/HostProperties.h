// The properties a button's host holds for it (ForeColor, Font, Enabled, MousePointer, MouseIcon,
// AccessKeys, Tag), with the checks every host applies before storing one, and the custom
// pointer's picture as plain pixels. Plain values; the hosts forward ButtonHost's accessors here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "buttons/ButtonTypes.h"

namespace buttons {

// Throw std::invalid_argument for what no host accepts: a MousePointer other than 0 to 15 and 99
// (custom), a MouseIcon that is a bitmap rather than an icon or cursor.
void CheckMousePointer(std::int32_t pointer);
void CheckMouseIcon(const PictureRef& icon);

struct HostProperties {
    OleColor ForeColor = SysButtonText;
    FontDesc Font;
    bool Enabled = true;
    std::int32_t MousePointer = 0;
    PictureRef MouseIcon;
    std::string AccessKeys;
    std::string Tag;

    void SetMousePointer(std::int32_t pointer) {
        CheckMousePointer(pointer);
        MousePointer = pointer;
    }
    void SetMouseIcon(PictureRef icon) {
        CheckMouseIcon(icon);
        MouseIcon = std::move(icon);
    }
};

// The custom pointer (MousePointer 99) as 0xAARRGGBB pixels, transparent where the icon's AND mask
// is set; empty for any other pointer or a picture without a 32 bpp colour image and its mask.
struct CursorImage {
    int Width = 0;
    int Height = 0;
    int HotX = 0;
    int HotY = 0;
    std::vector<std::uint32_t> Pixels;  // row by row, top first
};
std::optional<CursorImage> CustomCursorImage(std::int32_t pointer, const PictureRef& icon);

}  // namespace buttons
