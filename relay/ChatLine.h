// Splitting one chat line into the sender's name and the message, and the command endings.
// Pure functions over UTF-8 text; positions count characters (code points), never bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace relay {

// Only a ">" among the first ten characters separates the sender's name from the message.
inline constexpr std::size_t kSeparatorWindow = 10;

struct ChatLineParts {
    std::size_t separator = 0;  // 1-based character position of the ">", 0 when there is none
    std::string_view sender;    // empty when there is no separator
    std::string_view message;   // the whole line when there is no separator
};

// Any bytes are accepted: a stray continuation byte belongs to the character before it, so
// malformed text can shift no boundary past a ">".
ChatLineParts SplitChatLine(std::string_view line);

// The number of characters (code points) in UTF-8 text; stray continuation bytes count for nothing.
std::size_t CharacterCount(std::string_view text);

enum class Command { None, Speak, Morse, Quit };

// "=" speaks, ">" sends Morse, "fdp" ends the program; exact and case-sensitive.
Command CommandOf(std::string_view message);

}  // namespace relay
