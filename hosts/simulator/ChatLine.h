// What the station simulator makes of a line typed at it: a chat line as EchoLink shows it, or one
// of its own commands. Pure functions, so the rules are testable without a bus.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hosts::sim {

// The separator search of the relay looks at the first ten characters; a typed line that already
// carries a sender there ("QD4RV>bom dia=") is passed as is, any other line gets "<sender>>" in
// front. A '>' that ends the line is a Morse command's ending, not a sender's separator.
inline constexpr std::size_t SenderWindowChars = 10;

std::string ChatLineFromTyped(std::string_view typed, std::string_view sender);

enum class CommandKind { ChatLine, Raw, Quit, Closing, Hang, Fail, FailCall, Flood, Help, Ignore, Unknown };

struct Command {
    CommandKind kind = CommandKind::Ignore;
    std::string text;        // ChatLine and Raw: the chat line to emit
    std::int64_t number = 0; // Hang: ms to hold each reply; Fail: 1 on, 0 off; FailCall: which call
                             // from now fails; Flood: how many lines
    std::int64_t rate = 0;   // Flood: lines a second
};

// Flood: the text of line `index` (1-based): each '#' becomes the index, then the sender rule.
std::string FloodLine(std::string_view pattern, std::int64_t index, std::string_view sender);

// Lines starting with "/" are commands ("//" escapes a chat line that starts with "/").
Command ParseCommand(std::string_view line, std::string_view sender);

// A string as the simulator prints it: in double quotes, with control characters, quotes and
// backslashes escaped, so every byte a call carried is visible on one line.
std::string Quoted(std::string_view utf8);

}  // namespace hosts::sim
