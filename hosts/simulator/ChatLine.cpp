#include "hosts/simulator/ChatLine.h"

#include <charconv>
#include <cstdio>

namespace hosts::sim {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A sender is present when the first '>' lies within the window and is not the line's last
// character: "cq test>" is a short Morse command that still needs a sender in front.
bool HasSenderInWindow(std::string_view line) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (IsContinuationByte(line[i])) continue;
        if (++chars > SenderWindowChars) return false;
        if (line[i] == '>') return i + 1 < line.size();
    }
    return false;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool ParseInt(std::string_view s, std::int64_t& out) {
    s = Trim(s);
    if (s.empty()) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

std::string ChatLineFromTyped(std::string_view typed, std::string_view sender) {
    if (HasSenderInWindow(typed)) return std::string(typed);
    std::string line;
    line.reserve(sender.size() + 1 + typed.size());
    line.append(sender).append(">").append(typed);
    return line;
}

Command ParseCommand(std::string_view line, std::string_view sender) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return {CommandKind::Ignore, {}, 0};
    if (line.front() != '/') return {CommandKind::ChatLine, ChatLineFromTyped(line, sender), 0};
    if (line.size() > 1 && line[1] == '/') {
        return {CommandKind::ChatLine, ChatLineFromTyped(line.substr(1), sender), 0};
    }
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    if (word == "/quit") return {CommandKind::Quit, {}, 0};
    if (word == "/closing") return {CommandKind::Closing, {}, 0};
    if (word == "/help") return {CommandKind::Help, {}, 0};
    if (word == "/raw") return {CommandKind::Raw, std::string(rest), 0};
    std::int64_t n = 0;
    if (word == "/hang" && ParseInt(rest, n) && n >= 0) return {CommandKind::Hang, {}, n};
    if (word == "/fail" && Trim(rest) == "on") return {CommandKind::Fail, {}, 1};
    if (word == "/fail" && Trim(rest) == "off") return {CommandKind::Fail, {}, 0};
    if (word == "/fail" && ParseInt(rest, n) && n >= 1) return {CommandKind::FailCall, {}, n};
    if (word == "/flood") {
        // /flood COUNT RATE PATTERN
        const std::size_t a = rest.find(' ');
        const std::size_t b = a == std::string_view::npos ? a : rest.find(' ', a + 1);
        std::int64_t rate = 0;
        if (b != std::string_view::npos && ParseInt(rest.substr(0, a), n) && n >= 1 &&
            ParseInt(rest.substr(a + 1, b - a - 1), rate) && rate >= 1) {
            return {CommandKind::Flood, std::string(rest.substr(b + 1)), n, rate};
        }
    }
    return {CommandKind::Unknown, std::string(line), 0};
}

std::string FloodLine(std::string_view pattern, std::int64_t index, std::string_view sender) {
    std::string typed;
    for (const char c : pattern) {
        if (c == '#') typed += std::to_string(index);
        else typed += c;
    }
    return ChatLineFromTyped(typed, sender);
}

std::string Quoted(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20 || u == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", u);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

}  // namespace hosts::sim
