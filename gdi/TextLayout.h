// DrawTextA's line layout: line breaks, "&" prefixes and word wrapping, independent of fonts.
// Owns nothing; widths come from a table of per-byte advances.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "Types.h"

namespace gdi::text {

struct LaidLine {
    std::string text;       // what is drawn: prefixes removed, "&&" folded to "&"
    int width = 0;          // sum of the advances of text
    int underlined = -1;    // index in text of the prefixed character, -1 for none
};

// Breaks text into lines as DrawTextA does for the DT_WORDBREAK, DT_SINGLELINE, DT_NOPREFIX,
// DT_CENTER and DT_RIGHT bits of format: CR LF, LF CR, a lone CR and a lone LF end a line (unless
// DT_SINGLELINE); with DT_WORDBREAK a line breaks at the last space that lets it fit maxWidth,
// keeping that space when left-aligned and dropping one space after it, and a word wider than
// maxWidth stays whole on a line of its own.
std::vector<LaidLine> LayOutText(std::string_view text, UINT format, int maxWidth,
                                 const std::array<int, 256>& advances);

// The text with prefixes processed and the index of the character to underline (-1 for none):
// "&x" underlines x, "&&" is one "&", and a lone "&" at the very end stays as it is.
// Only the last prefix of a line is underlined.
struct PrefixResult {
    std::string text;
    std::vector<int> prefixed;  // indexes in text of every prefixed character
};
PrefixResult StripPrefixes(std::string_view line);

}  // namespace gdi::text
