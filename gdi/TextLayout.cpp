#include "gdi/TextLayout.h"

namespace gdi::text {
namespace {

int WidthOf(std::string_view s, const std::array<int, 256>& advances) {
    int w = 0;
    for (char c : s) w += advances[static_cast<unsigned char>(c)];
    return w;
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

// Word wrapping of one paragraph (a run of text without line breaks).
void Wrap(std::vector<LaidLine>& out, const PrefixResult& para, int maxWidth, const std::array<int, 256>& advances) {
    const std::string& s = para.text;
    const std::size_t n = s.size();
    std::size_t pos = 0;
    do {
        // k: how many characters from pos fit the width.
        std::size_t k = pos;
        int w = 0;
        while (k < n && w + advances[static_cast<unsigned char>(s[k])] <= maxWidth) {
            w += advances[static_cast<unsigned char>(s[k])];
            ++k;
        }
        if (k == n) {
            AddLine(out, para, pos, n, advances);
            return;
        }
        std::size_t breakAt = k;
        if (s[k] != ' ' || k == pos) {
            std::size_t space = k;
            while (space > pos && s[space - 1] != ' ') --space;
            if (space > pos) {
                breakAt = space - 1;
            } else {
                // A word wider than the rectangle stays whole (with any spaces before it) on a
                // line of its own; the caller widens the rectangle.
                const std::size_t word = s.find_first_not_of(' ', k);
                breakAt = word == std::string::npos ? n : s.find(' ', word);
                if (breakAt == std::string::npos) breakAt = n;
            }
        }
        std::size_t end = breakAt;
        while (end > pos && s[end - 1] == ' ') --end;
        AddLine(out, para, pos, end, advances);
        pos = breakAt;
        while (pos < n && s[pos] == ' ') ++pos;
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
            Wrap(out, para, maxWidth, advances);
        } else {
            AddLine(out, para, 0, para.text.size(), advances);
        }
        if (end == text.size()) break;
        // CR LF is one break; a lone CR or LF is one break each.
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        if (pos == text.size()) break;
    }
    return out;
}

}  // namespace gdi::text
