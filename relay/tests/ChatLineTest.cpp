#include <gtest/gtest.h>

#include <string>

#include "relay/ChatLine.h"

namespace relay {
namespace {

TEST(SplitChatLine, FindsTheSeparatorWithinTheFirstTenCharacters) {
    struct Row {
        std::string line;
        std::size_t separator;
        std::string sender;
        std::string message;
    };
    const Row rows[] = {
        {"QD4RV>bom dia=", 6, "QD4RV", "bom dia="},
        {">hello=", 1, "", "hello="},
        {"QD4RV>", 6, "QD4RV", ""},
        {"ABCDEFGHI>oi=", 10, "ABCDEFGHI", "oi="},      // tenth character
        {"ABCDEFGHIJ>oi=", 0, "", "ABCDEFGHIJ>oi="},    // eleventh: not a separator
        {"A>B>c>", 2, "A", "B>c>"},                     // the first one wins
        {"", 0, "", ""},
        {"no separator at all", 0, "", "no separator at all"},
        // Accented and wide characters count once each, however many bytes they take.
        {"Jo\xC3\xA3o Ant\xC3\xB4>ol\xC3\xA1=", 10, "Jo\xC3\xA3o Ant\xC3\xB4", "ol\xC3\xA1="},
        {"\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7>x=", 0, "",
         "\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7\xC3\xA7>x="},
        {"\xF0\x9F\x93\xBB\xF0\x9F\x93\xBB>73=", 3, "\xF0\x9F\x93\xBB\xF0\x9F\x93\xBB", "73="},
        // Control characters and NUL are characters like any other.
        {std::string("A\0B\tC\x1b>x>", 9), 7, std::string("A\0B\tC\x1b", 6), "x>"},
        // Malformed bytes: stray continuation bytes join the character before them.
        {"\x80\x80\x80>x=", 1, "\x80\x80\x80", "x="},
        {"\xC3>x=", 2, "\xC3", "x="},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const ChatLineParts parts = SplitChatLine(row.line);
        EXPECT_EQ(parts.separator, row.separator);
        EXPECT_EQ(parts.sender, row.sender);
        EXPECT_EQ(parts.message, row.message);
    }
}

TEST(SplitChatLine, AcceptsAMegabyteLine) {
    std::string line(1 << 20, 'x');
    line[20] = '>';
    EXPECT_EQ(SplitChatLine(line).separator, 0u);
    EXPECT_EQ(SplitChatLine(line).message.size(), line.size());
    line[3] = '>';
    EXPECT_EQ(SplitChatLine(line).message.size(), line.size() - 4);
}

TEST(CommandOf, ReadsTheEndingExactlyAndCaseSensitively) {
    struct Row {
        std::string message;
        Command command;
    };
    const Row rows[] = {
        {"bom dia=", Command::Speak}, {"=", Command::Speak},       {"cq test>", Command::Morse},
        {">", Command::Morse},        {"tchau fdp", Command::Quit}, {"fdp", Command::Quit},
        {"FDP", Command::None},       {"fd", Command::None},        {"", Command::None},
        {"= ", Command::None},        {"fdp=", Command::Speak},     {"a=>", Command::Morse},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CommandOf(row.message), row.command) << row.message;
    }
}

}  // namespace
}  // namespace relay
