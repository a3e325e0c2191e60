#include <gtest/gtest.h>

#include <string>

#include "gdi/Text.h"

namespace {

struct CodepageCase {
    const char* utf8;
    const char* ansi;
};

class CodepageRoundTrip : public testing::TestWithParam<CodepageCase> {};

TEST_P(CodepageRoundTrip, ConvertsBothWays) {
    const CodepageCase& c = GetParam();
    EXPECT_EQ(gdi::Utf8ToAnsi(c.utf8), std::string(c.ansi));
    EXPECT_EQ(gdi::AnsiToUtf8(c.ansi), std::string(c.utf8));
}

INSTANTIATE_TEST_SUITE_P(Words, CodepageRoundTrip,
                         testing::Values(CodepageCase{"Sobre", "Sobre"},
                                         CodepageCase{"Vers\u00e3o", "Vers\xe3o"},
                                         CodepageCase{"est\u00e1", "est\xe1"},
                                         CodepageCase{" Dizo chat est\u00e1 ligado...", " Dizo chat est\xe1 ligado..."},
                                         CodepageCase{"\u20ac 5", "\x80 5"},
                                         CodepageCase{"\u00c7\u00fc\u00ff", "\xc7\xfc\xff"},
                                         CodepageCase{"\u201cq\u201d \u2014 \u2026", "\x93q\x94 \x97 \x85"},
                                         CodepageCase{"\u0160\u017d\u0178", "\x8a\x8e\x9f"},
                                         CodepageCase{"", ""}));

TEST(Codepage, EveryByteSurvivesARoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(gdi::Utf8ToAnsi(gdi::AnsiToUtf8(one)), one) << "byte " << b;
    }
}

struct BadCase {
    const char* name;
    std::string utf8;
    std::string ansi;
};

TEST(Codepage, UnmappableAndMalformedInputBecomesQuestionMarks) {
    const BadCase cases[] = {
        {"no Windows-1252 form", "\u65e5\u672c", "??"},
        {"four-byte character", "a\U0001F600b", "a?b"},
        {"stray continuation byte", "a\x80" "b", "a?b"},
        {"truncated at the end", "ab\xc3", "ab?"},
        {"truncated before ASCII", "\xe2\x82" "A", "?A"},
        {"overlong slash", "\xc0\xaf", "?"},
        {"surrogate half", "\xed\xa0\x80", "?"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", "?"},
        {"impossible lead byte", "\xff", "?"},
    };
    for (const BadCase& c : cases) EXPECT_EQ(gdi::Utf8ToAnsi(c.utf8), c.ansi) << c.name;
}

}  // namespace
