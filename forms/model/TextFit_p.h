// How wide a label's caption needs its box, measured by the drawing layer's text engine (the
// platform's own on Windows, the FreeType one elsewhere). Owns nothing past a call.
#pragma once

#include <string_view>

#include "forms/model/WindowModel.h"

namespace forms::detail {

// The width DrawTextA's word-wrapping rule asks for when `utf8` is laid out `width` pixels wide
// in `font`: `width` itself, or more when a word alone is wider (DT_CALCRECT widens the box to it).
int WrappedTextWidth(std::string_view utf8, const FontModel& font, int width);

}  // namespace forms::detail
