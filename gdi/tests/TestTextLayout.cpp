#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gdi/TextLayout.h"

namespace {

using gdi::UINT;

// Every character 10 pixels wide, so the rules are visible in plain numbers.
std::array<int, 256> FixedAdvances() {
    std::array<int, 256> a{};
    a.fill(10);
    return a;
}

struct Expected {
    std::string text;
    int underlined = -1;
};

struct LayoutCase {
    const char* name;
    std::string text;
    UINT format;
    int width;
    std::vector<Expected> lines;
};

class TextLayoutTable : public testing::TestWithParam<LayoutCase> {};

TEST_P(TextLayoutTable, BreaksLinesAsDrawTextDoes) {
    const LayoutCase& c = GetParam();
    const auto lines = gdi::text::LayOutText(c.text, c.format, c.width, FixedAdvances());
    ASSERT_EQ(lines.size(), c.lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, c.lines[i].text) << "line " << i;
        EXPECT_EQ(lines[i].underlined, c.lines[i].underlined) << "line " << i;
        EXPECT_EQ(lines[i].width, 10 * static_cast<int>(c.lines[i].text.size())) << "line " << i;
    }
}

constexpr UINT kWrap = gdi::DT_WORDBREAK;

INSTANTIATE_TEST_SUITE_P(
    Cases, TextLayoutTable,
    testing::Values(
        LayoutCase{"SingleLine", "Sobre", 0, 500, {{"Sobre"}}},
        LayoutCase{"CrLf", "ab\r\ncd", 0, 500, {{"ab"}, {"cd"}}},
        LayoutCase{"LoneLf", "ab\ncd", 0, 500, {{"ab"}, {"cd"}}},
        LayoutCase{"LoneCr", "ab\rcd", 0, 500, {{"ab"}, {"cd"}}},
        LayoutCase{"LfCrIsOneBreak", "ab\n\rcd", 0, 500, {{"ab"}, {"cd"}}},
        LayoutCase{"CrCrIsTwoBreaks", "ab\r\rcd", 0, 500, {{"ab"}, {""}, {"cd"}}},
        LayoutCase{"EmptyLineBetween", "a\r\n\r\nb", 0, 500, {{"a"}, {""}, {"b"}}},
        LayoutCase{"TrailingBreakAddsNoLine", "ab\r\n", 0, 500, {{"ab"}}},
        LayoutCase{"SingleLineKeepsBreaks", "ab\r\ncd", gdi::DT_SINGLELINE, 500, {{"ab\r\ncd"}}},
        LayoutCase{"NoWrapWithoutWordBreak", "aaa bbb ccc", 0, 30, {{"aaa bbb ccc"}}},
        LayoutCase{"WrapExactFit", "aaa bbb ccc", kWrap, 70, {{"aaa bbb"}, {"ccc"}}},
        LayoutCase{"WrapKeepsTheSpaceBeforeTheBreak", "aaa bbb ccc", kWrap, 69, {{"aaa "}, {"bbb "}, {"ccc"}}},
        LayoutCase{"CentredWrapDropsIt", "aaa bbb ccc", kWrap | gdi::DT_CENTER, 69, {{"aaa"}, {"bbb"}, {"ccc"}}},
        LayoutCase{"RightWrapDropsIt", "aaa bbb ccc", kWrap | gdi::DT_RIGHT, 69, {{"aaa"}, {"bbb"}, {"ccc"}}},
        LayoutCase{"OneSpaceDroppedTheRestLead", "aa   bb", kWrap, 30, {{"aa "}, {" bb"}}},
        LayoutCase{"OverLongWordStaysWhole", "a verylongword b", kWrap, 40, {{"a "}, {"verylongword"}, {"b"}}},
        LayoutCase{"OverLongFirstWord", "Vers\xe3o ok", kWrap, 20, {{"Vers\xe3o"}, {"ok"}}},
        LayoutCase{"WrapInsideEachParagraph", "aa bb\r\ncc dd", kWrap, 30, {{"aa "}, {"bb"}, {"cc "}, {"dd"}}},
        LayoutCase{"SingleLineBeatsWordBreak", "aa bb", kWrap | gdi::DT_SINGLELINE, 30, {{"aa bb"}}},
        LayoutCase{"Prefix", "&Sobre", 0, 500, {{"Sobre", 0}}},
        LayoutCase{"PrefixInside", "Sai&r", 0, 500, {{"Sair", 3}}},
        LayoutCase{"DoubleAmpersand", "a&&b", 0, 500, {{"a&b", -1}}},
        LayoutCase{"LoneTrailingAmpersand", "ab&", 0, 500, {{"ab&", -1}}},
        LayoutCase{"LastPrefixWins", "&a&b", 0, 500, {{"ab", 1}}},
        LayoutCase{"NoPrefix", "&a&&b", gdi::DT_NOPREFIX, 500, {{"&a&&b", -1}}},
        LayoutCase{"PrefixFollowsItsWrappedLine", "aa &bb", kWrap, 20, {{"aa", -1}, {"bb", 0}}},
        LayoutCase{"PrefixedSpaceDoesNotSplit", "a&&b c", kWrap, 30, {{"a&b"}, {"c"}}},
        LayoutCase{"NothingFitsOneCharacterALine", "ab c", kWrap, 0, {{"a"}, {"b"}, {"c"}}},
        LayoutCase{"NothingFitsCentredSpace", " ab", kWrap | gdi::DT_CENTER, -5, {{""}, {"a"}, {"b"}}},
        LayoutCase{"OnlySpaces", "   ", kWrap, 10, {{" "}, {" "}}},
        LayoutCase{"EmptyText", "", kWrap, 30, {{""}}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

}  // namespace
