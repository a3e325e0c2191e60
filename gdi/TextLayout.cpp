#include "gdi/TextLayout.h"

#include <algorithm>

#include "gdi/Font.h"

namespace gdi::text {
namespace {

int WidthOf(std::string_view s, const std::array<int, 256>& advances) {
    long long w = 0;
    for (char c : s) w += advances[static_cast<unsigned char>(c)];
    return static_cast<int>(std::min<long long>(w, kMaxExtent));
}

void AddLine(std::vector<LaidLine>& out, const PrefixResult& para, std::size_t begin, std::size_t end,
             const std::array<int, 256>& advances) {
    LaidLine line;
    line.text.assign(para.text, begin, end - begin);
    line.width = WidthOf(line.text, advances);
    for (int p : para.prefixed) {
        if (p >= static_cast<int>(begin) && p < static_cast<int>(end)) line.underlined = p - static_cast<int>(begin);
    }
    out.push_back(std::move(line));
}

// Word wrapping of one paragraph (a run of text without line breaks), by GDI's rule: from the
// first character that does not fit, step back to the space before its word and break after
// that space (before it when centred or right-aligned); the one space after the break is
// dropped and any further spaces begin the next line. A word wider than the rectangle stays
// whole; when not even one character fits, the line takes one character.
void Wrap(std::vector<LaidLine>& out, const PrefixResult& para, int maxWidth, bool keepSpaceAtBreak,
          const std::array<int, 256>& advances) {
    const std::string& s = para.text;
    const std::size_t n = s.size();
    std::size_t pos = 0;
    do {
        std::size_t k = pos;  // the first character that does not fit
        int w = 0;
        while (k < n && w + advances[static_cast<unsigned char>(s[k])] <= maxWidth) {
            w += advances[static_cast<unsigned char>(s[k])];
            ++k;
        }
        if (k == n) {
            AddLine(out, para, pos, n, advances);
            return;
        }
        std::size_t p = k;
        bool wordFits = true;
        if (k == pos) {
            // Nothing fits: treat the first character as if it did.
        } else if (s[p] == ' ') {
            --p;  // the word before it just fitted
        } else {
            while (p > pos && s[--p] != ' ') {
            }
            wordFits = p != pos || s[p] == ' ';
        }
        std::size_t end = 0;
        std::size_t next = 0;
        if (wordFits) {
            if (keepSpaceAtBreak || s[p] != ' ') ++p;
            end = p;
            next = (p < n && s[p] == ' ') ? p + 1 : p;
        } else {
            end = s.find(' ', k);
            if (end == std::string::npos) end = n;
            next = end < n ? end + 1 : end;
        }
        AddLine(out, para, pos, end, advances);
        pos = next;
    } while (pos < n);
}

}  // namespace

PrefixResult StripPrefixes(std::string_view line) {
    PrefixResult r;
    r.text.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '&' && i + 1 < line.size()) {
            ++i;
            if (line[i] != '&') r.prefixed.push_back(static_cast<int>(r.text.size()));
        }
        r.text += line[i];
    }
    return r;
}

std::vector<LaidLine> LayOutText(std::string_view text, UINT format, int maxWidth,
                                 const std::array<int, 256>& advances) {
    std::vector<LaidLine> out;
    const bool single = (format & DT_SINGLELINE) != 0;
    const bool wrap = (format & DT_WORDBREAK) != 0 && !single;
    std::size_t pos = 0;
    while (true) {
        std::size_t end = single ? text.size() : text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view raw = text.substr(pos, end - pos);
        PrefixResult para;
        if (format & DT_NOPREFIX) {
            para.text.assign(raw);
        } else {
            para = StripPrefixes(raw);
        }
        if (wrap && !para.text.empty()) {
            Wrap(out, para, maxWidth, (format & (DT_CENTER | DT_RIGHT)) == 0, advances);
        } else {
            AddLine(out, para, 0, para.text.size(), advances);
        }
        if (end == text.size()) break;
        // CR LF and LF CR are one break each; CR CR and LF LF are two.
        const bool pair = end + 1 < text.size() && (text[end + 1] == '\r' || text[end + 1] == '\n') &&
                          text[end + 1] != text[end];
        pos = end + (pair ? 2 : 1);
        if (pos == text.size()) break;
    }
    return out;
}

}  // namespace gdi::text
