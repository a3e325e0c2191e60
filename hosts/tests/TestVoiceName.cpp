// The locale-to-voice rule of the espeak-ng voice.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace hosts::speech
