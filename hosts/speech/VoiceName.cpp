#include "hosts/speech/VoiceName.h"

#include <cstdlib>

namespace hosts::speech {

namespace {

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Letters only, lower-cased; empty when anything else appears, so odd input never names a voice file.
std::string LowerAlpha(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (!IsAsciiAlpha(c)) return {};
        out += Lower(c);
    }
    return out;
}

}  // namespace

std::vector<std::string> VoiceCandidates(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    const std::size_t cut = locale.find_first_of(".@");
    if (cut != std::string_view::npos) locale = locale.substr(0, cut);
    const std::size_t sep = locale.find_first_of("_-");
    const std::string language = LowerAlpha(locale.substr(0, sep));
    if (language.size() < 2 || language.size() > 3) return {};
    std::vector<std::string> voices;
    if (sep != std::string_view::npos) {
        const std::string territory = LowerAlpha(locale.substr(sep + 1));
        if (!territory.empty()) voices.push_back(language + "-" + territory);
    }
    voices.push_back(language);
    return voices;
}

std::string LocaleFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

}  // namespace hosts::speech
