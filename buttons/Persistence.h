// The button's persistence keys (their save and load orders) and the conversion between the host's
// font and the stored font value. The handlers themselves are members of qkButtons_H.
#pragma once

#include <array>
#include <string_view>

#include "buttons/ButtonTypes.h"
#include "forms/PropertyBag.h"

namespace buttons {

inline constexpr std::array<std::string_view, 22> SaveKeyOrder = {
    "Caption", "CapAlign", "BackStyle", "Shape",    "Font",  "cFore",    "cFHover", "cBHover",
    "Focus",   "LockHover", "cGradient", "Gradient", "CapStyle", "Mode", "Value",   "ImgAlign",
    "Image",   "ImgSize",  "Enabled",   "cBack",    "mPointer", "mIcon"};

inline constexpr std::array<std::string_view, 22> LoadKeyOrder = {
    "Caption", "CapAlign", "BackStyle", "Shape",   "Gradient", "cGradient", "cFore",     "Font",
    "Focus",   "Mode",     "Value",     "Image",   "ImgSize",  "ImgAlign",  "cFHover",   "Enabled",
    "cBack",   "cBHover",  "LockHover", "CapStyle", "mIcon",   "mPointer"};

forms::FontValue ToFontValue(const FontDesc& f);
FontDesc ToFontDesc(const forms::FontValue& f);

}  // namespace buttons
