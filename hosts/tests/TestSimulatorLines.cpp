// How the station simulator turns typed lines into chat lines and commands, and prints calls.
#include <gtest/gtest.h>

#include "hosts/simulator/ChatLine.h"

namespace hosts::sim {
namespace {

TEST(ChatLineFromTyped, AddsTheSenderUnlessASeparatorIsInTheFirstTenCharacters) {
    struct Case {
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"bom dia=", "QD4RV>bom dia="},
        {"QD4RV>bom dia=", "QD4RV>bom dia="},
        {">hello=", ">hello="},
        {"ABCDEFGHI>oi=", "ABCDEFGHI>oi="},            // '>' is the tenth character
        {"ABCDEFGHIJ>oi=", "QD4RV>ABCDEFGHIJ>oi="},     // '>' is the eleventh
        {"ÁÉÍÓÚÂÊÔÃ>oi=", "ÁÉÍÓÚÂÊÔÃ>oi="},            // characters, not bytes, are counted
        {"ÁÉÍÓÚÂÊÔÃÇ>oi=", "QD4RV>ÁÉÍÓÚÂÊÔÃÇ>oi="},
        {"cq test>", "QD4RV>cq test>"},                 // a final '>' ends a Morse command
        {"cq>", "QD4RV>cq>"},
        {"QD4RV>cq>", "QD4RV>cq>"},
        {"QD4RV>", "QD4RV>QD4RV>"},
        {"a>b>", "a>b>"},
        {"", "QD4RV>"},
    };
    for (const Case& c : cases) EXPECT_EQ(ChatLineFromTyped(c.typed, "QD4RV"), c.expected) << c.typed;
}

TEST(ParseCommand, RecognisesCommandsAndEscapes) {
    struct Case {
        const char* line;
        CommandKind kind;
        const char* text;
        std::int64_t number;
    };
    const Case cases[] = {
        {"bom dia=", CommandKind::ChatLine, "PY1AA>bom dia=", 0},
        {"bom dia=\r", CommandKind::ChatLine, "PY1AA>bom dia=", 0},
        {"", CommandKind::Ignore, "", 0},
        {"\r", CommandKind::Ignore, "", 0},
        {"//x=", CommandKind::ChatLine, "PY1AA>/x=", 0},
        {"/raw no sender", CommandKind::Raw, "no sender", 0},
        {"/raw", CommandKind::Raw, "", 0},
        {"/quit", CommandKind::Quit, "", 0},
        {"/closing", CommandKind::Closing, "", 0},
        {"/help", CommandKind::Help, "", 0},
        {"/hang 1500", CommandKind::Hang, "", 1500},
        {"/hang 0", CommandKind::Hang, "", 0},
        {"/hang -5", CommandKind::Unknown, "/hang -5", 0},
        {"/hang lots", CommandKind::Unknown, "/hang lots", 0},
        {"/fail on", CommandKind::Fail, "", 1},
        {"/fail off", CommandKind::Fail, "", 0},
        {"/fail maybe", CommandKind::Unknown, "/fail maybe", 0},
        {"/fail 3", CommandKind::FailCall, "", 3},
        {"/fail 0", CommandKind::Unknown, "/fail 0", 0},
        {"/flood 10000 10000 linha #=", CommandKind::Flood, "linha #=", 10000},
        {"/flood 5 0 x", CommandKind::Unknown, "/flood 5 0 x", 0},
        {"/flood 5 x", CommandKind::Unknown, "/flood 5 x", 0},
        {"/nonsense", CommandKind::Unknown, "/nonsense", 0},
    };
    for (const Case& c : cases) {
        const Command cmd = ParseCommand(c.line, "PY1AA");
        EXPECT_EQ(cmd.kind, c.kind) << c.line;
        EXPECT_EQ(cmd.text, c.text) << c.line;
        EXPECT_EQ(cmd.number, c.number) << c.line;
    }
}

TEST(FloodLine, NumbersEachLineAndAddsTheSender) {
    EXPECT_EQ(FloodLine("linha #=", 17, "PY1AA"), "PY1AA>linha 17=");
    EXPECT_EQ(FloodLine("QD4RV>#>", 3, "PY1AA"), "QD4RV>3>");
}

TEST(Quoted, ShowsEveryByteOnOneLine) {
    struct Case {
        std::string in;
        const char* out;
    };
    const Case cases[] = {
        {" Dizo chat está ligado...", "\" Dizo chat está ligado...\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"l1\r\nl2\t", "\"l1\\r\\nl2\\t\""},
        {std::string("a\0b", 3), "\"a\\x00b\""},
        {"\x1b[31m", "\"\\x1B[31m\""},
        {"", "\"\""},
    };
    for (const Case& c : cases) EXPECT_EQ(Quoted(c.in), c.out);
}

}  // namespace
}  // namespace hosts::sim
