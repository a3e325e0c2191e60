// The one table of stand-ins for the classic Windows fonts the descriptions name: metric-compatible
// families, so text keeps its Windows size. Hosts install it; the fontconfig snippet and the Wine
// prefix carry the same pairs (a test holds them to it). Owns a constant table.
#pragma once

#include <span>
#include <string_view>

namespace forms {

struct FontSubstitute {
    std::string_view Family;      // as a description names it
    std::string_view Substitute;  // the installed family that stands in for it
};

std::span<const FontSubstitute> FontSubstitutes();
// The stand-in for family (without regard to case), or family itself when it has none.
std::string_view SubstituteFor(std::string_view family);

}  // namespace forms
