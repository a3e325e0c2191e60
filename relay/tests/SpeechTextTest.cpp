#include <gtest/gtest.h>

#include "relay/SpeechText.h"

namespace relay {
namespace {

// Every byte of a chat line is hostile: nothing may reach an engine as a command or cut its text.
TEST(SpeakableText, KeepsTextButBlanksControlsNulAndBrokenUtf8) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"bom dia", "bom dia"},
        {"<silence msec=\"600000\"/>", "<silence msec=\"600000\"/>"},
        {"[[h@'loU]]", "[[h@'loU]]"},
        {"a\xC3\xA7\xC3\xA3o \xF0\x9F\x98\x80", "a\xC3\xA7\xC3\xA3o \xF0\x9F\x98\x80"},
        {std::string("a\0b", 3), "a b"},
        {"\x01" "0A bom dia", " 0A bom dia"},        // espeak-ng's embedded command: amplitude 0
        {"\x01" "50S\x01" "99P", " 50S 99P"},
        {"a\tb\r\nc\x0B\x0C\x1B[0m\x7F", "a b  c   [0m "},
        {"a\xC2\x85" "b\xC2\x9B" "c\xC2\x80", "a b c "},  // C1: NEL, CSI, PAD are one character each
        {"a\xE2\x80\xA8" "b\xE2\x80\xA9" "c", "a b c"},  // line and paragraph separators
        {"\xC2\xA0\xC2\xA9", "\xC2\xA0\xC2\xA9"},        // just past C1: kept
        {"a\xC3", "a "},                                 // truncated sequence
        {"\xC0\xAF", "  "},                              // overlong encoding of '/'
        {"\xC2\x01", "  "},                              // a lead byte before a control byte
        {"\xED\xA0\x80", "   "},                         // UTF-16 surrogate
        {"\xF4\x90\x80\x80", "    "},                    // beyond U+10FFFF
        {"\xFF", " "},
    };
    for (const Case& c : cases) EXPECT_EQ(SpeakableText(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace relay
