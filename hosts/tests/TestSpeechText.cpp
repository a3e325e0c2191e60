// The locale-to-voice rule and the text handed to espeak-ng.
#include <gtest/gtest.h>

#include "hosts/speech/SpeechText.h"
#include "hosts/speech/VoiceName.h"

namespace hosts::speech {
namespace {

TEST(VoiceCandidates, MapsLocalesToEspeakVoiceNames) {
    struct Case {
        const char* locale;
        std::vector<std::string> voices;
    };
    const Case cases[] = {
        {"pt_BR.UTF-8", {"pt-br", "pt"}},
        {"pt_BR", {"pt-br", "pt"}},
        {"pt-BR", {"pt-br", "pt"}},
        {"pt_PT.UTF-8@euro", {"pt-pt", "pt"}},
        {"pt", {"pt"}},
        {"en_US.UTF-8", {"en-us", "en"}},
        {"C", {}},
        {"C.UTF-8", {}},
        {"POSIX", {}},
        {"", {}},
        {"../../etc", {}},
        {"pt_B/R", {"pt"}},
    };
    for (const Case& c : cases) EXPECT_EQ(VoiceCandidates(c.locale), c.voices) << c.locale;
}

TEST(SpeakableText, KeepsTextButMakesNulAndBrokenUtf8Blank) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"bom dia", "bom dia"},
        {"<silence msec=\"600000\"/>", "<silence msec=\"600000\"/>"},
        {"[[h@'loU]]", "[[h@'loU]]"},
        {"ação 😀", "ação 😀"},
        {std::string("a\0b", 3), "a b"},
        {"a\xC3", "a "},                 // truncated sequence
        {"\xC0\xAF", "  "},              // overlong encoding of '/'
        {"\xED\xA0\x80", "   "},         // UTF-16 surrogate
        {"\xF4\x90\x80\x80", "    "},    // beyond U+10FFFF
        {"\xFF", " "},
    };
    for (const Case& c : cases) EXPECT_EQ(SpeakableText(c.in), c.out);
}

}  // namespace
}  // namespace hosts::speech
