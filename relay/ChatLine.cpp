#include "relay/ChatLine.h"

namespace relay {

namespace {

constexpr bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}

}  // namespace

ChatLineParts SplitChatLine(std::string_view line) {
    ChatLineParts parts;
    parts.message = line;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (IsContinuationByte(byte)) {
            continue;
        }
        if (++characters > kSeparatorWindow) {
            break;
        }
        // ">" is ASCII, so it is never part of a multi-byte character.
        if (byte == '>') {
            parts.separator = characters;
            parts.sender = line.substr(0, i);
            parts.message = line.substr(i + 1);
            break;
        }
    }
    return parts;
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t characters = 0;
    for (const char c : text) {
        characters += IsContinuationByte(static_cast<unsigned char>(c)) ? 0 : 1;
    }
    return characters;
}

Command CommandOf(std::string_view message) {
    // The endings are ASCII, so a byte comparison at the end is a character comparison.
    if (message.ends_with('=')) {
        return Command::Speak;
    }
    if (message.ends_with('>')) {
        return Command::Morse;
    }
    if (message.ends_with("fdp")) {
        return Command::Quit;
    }
    return Command::None;
}

}  // namespace relay
