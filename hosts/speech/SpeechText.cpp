#include "hosts/speech/SpeechText.h"

namespace hosts::speech {

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not one.
std::size_t ValidSequenceLength(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return 1;
    std::size_t len;
    std::uint32_t min;
    std::uint32_t cp;
    if ((b0 & 0xE0) == 0xC0) { len = 2; min = 0x80; cp = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; min = 0x800; cp = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; min = 0x10000; cp = b0 & 0x07; }
    else return 0;
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string SpeakableText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t len = ValidSequenceLength(utf8, i);
        if (len == 0 || utf8[i] == '\0') {
            out += ' ';
            ++i;
        } else {
            out.append(utf8.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace hosts::speech
