// Which espeak-ng voice speaks for the user's locale: "pt_BR.UTF-8" asks for "pt-br", then "pt",
// then the engine's default. Pure functions over the locale string.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hosts::speech {

// Voice names to try in order; empty for "C", "POSIX" or an unreadable locale (default voice).
std::vector<std::string> VoiceCandidates(std::string_view locale);

// The messages locale as POSIX ranks it: LC_ALL, then LC_MESSAGES, then LANG.
std::string LocaleFromEnvironment();

}  // namespace hosts::speech
