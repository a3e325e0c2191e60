// The secret both ends of the channel read from one file only the user can read: its text form
// and a comparison whose time does not tell how much of a guess was right. Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hosts::bridge {

// The raw secret from the file's text: exactly 64 hexadecimal digits, one line end allowed after.
std::optional<std::string> ParseSecret(std::string_view fileText);

// True when both are the same; the time taken depends on the length alone.
bool SameSecret(std::string_view a, std::string_view b);

}  // namespace hosts::bridge
