// Text handed to the speech engine: made safe for its C string interface, never reinterpreted.
// Pure function; the engine itself is told to read the text literally.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hosts::speech {

// NUL bytes (which would cut the text short) and bytes that are not valid UTF-8 become blanks;
// everything else, markup-looking text included, is kept exactly.
std::string SpeakableText(std::string_view utf8);

}  // namespace hosts::speech
