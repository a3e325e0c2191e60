// Lexical pieces shared by the description parser and writer: string escapes, numbers, fonts.
// Private to forms/; owns nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/PropertyBag.h"

namespace forms::syntax {

constexpr std::string_view HeaderWord = "DizoForm";
constexpr int FormatVersion = 1;

bool IsIdentStart(char c);
bool IsIdentChar(char c);
bool IsIdentifier(std::string_view s);

// A quoted string with every byte that could be lost (control characters, quotes, backslashes)
// escaped, so that CR LF and trailing blanks survive a save and load.
std::string QuoteString(std::string_view raw);
std::string FormatValue(const Value& v);
// Ten-thousandths of a point as the shortest decimal ("8.25", "12").
std::string FormatFontSize(std::int32_t tenThousandths);

}  // namespace forms::syntax
