#include "forms/Syntax.h"

#include <cstdio>

namespace forms::syntax {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

bool IsIdentifier(std::string_view s) {
    if (s.empty() || !IsIdentStart(s.front())) return false;
    for (char c : s) {
        if (!IsIdentChar(c)) return false;
    }
    return true;
}

std::string QuoteString(std::string_view raw) {
    std::string out = "\"";
    for (const char ch : raw) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\x%02X", c);
                    out += buf;
                } else {
                    out += ch;  // bytes from 0x80 up are UTF-8 and kept as they are
                }
        }
    }
    out += '"';
    return out;
}

std::string FormatFontSize(std::int32_t tenThousandths) {
    std::string text = std::to_string(tenThousandths / 10000);
    std::int32_t frac = tenThousandths % 10000;
    if (frac != 0) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04d", static_cast<int>(frac));
        std::string digits = buf;
        while (!digits.empty() && digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text;
}

namespace {

std::string FormatFont(const FontValue& f) {
    std::string out = "Font(" + QuoteString(f.Name) + ", " + FormatFontSize(f.SizeTenThousandths);
    if (f.Weight == 700) {
        out += ", Bold";
    } else if (f.Weight != 400) {
        out += ", Weight=" + std::to_string(f.Weight);
    }
    if (f.Italic) out += ", Italic";
    if (f.Underline) out += ", Underline";
    if (f.Strikethrough) out += ", Strikeout";
    if (f.Charset != 0) out += ", Charset=" + std::to_string(f.Charset);
    return out + ")";
}

}  // namespace

std::string FormatValue(const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return QuoteString(*s);
    if (const auto* i = std::get_if<std::int16_t>(&v)) return std::to_string(*i) + "%";
    if (const auto* i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
    if (const auto* c = std::get_if<ColourValue>(&v)) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "&H%08X&", static_cast<unsigned>(c->Value));
        return buf;
    }
    if (const auto* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
    if (const auto* f = std::get_if<FontValue>(&v)) return FormatFont(*f);
    const auto& p = std::get<PictureValue>(v);
    return "Picture(" + QuoteString(p.File) + ")";
}

}  // namespace forms::syntax
