#include "relay/SpeechText.h"

#include <cstdint>

namespace relay {

namespace {

struct Decoded {
    std::size_t length = 0;  // 0 when the bytes at the position are not valid UTF-8
    std::uint32_t codePoint = 0;
};

Decoded DecodeAt(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return {1, b0};
    std::size_t len;
    std::uint32_t min;
    std::uint32_t cp;
    if ((b0 & 0xE0) == 0xC0) { len = 2; min = 0x80; cp = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; min = 0x800; cp = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; min = 0x10000; cp = b0 & 0x07; }
    else return {};
    if (i + len > s.size()) return {};
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return {};
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
    return {len, cp};
}

constexpr bool IsControl(std::uint32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029;
}

}  // namespace

std::string SpeakableText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const Decoded d = DecodeAt(utf8, i);
        if (d.length == 0 || IsControl(d.codePoint)) {
            out += ' ';
            i += d.length == 0 ? 1 : d.length;
        } else {
            out.append(utf8.substr(i, d.length));
            i += d.length;
        }
    }
    return out;
}

}  // namespace relay
