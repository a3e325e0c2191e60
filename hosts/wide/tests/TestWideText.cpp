// The conversions at the Windows edge, on the platform's own converters: round trips, what is
// not valid on either side, the ANSI code page of the stations and BSTRs with their lengths.
#include <gtest/gtest.h>

#include "hosts/wide/WideText.h"

#include <windows.h>
#include <oleauto.h>

namespace hosts::wide {
namespace {

using namespace std::string_literals;

struct Pair {
    const char* name;
    std::string utf8;
    std::wstring utf16;
};

const Pair Pairs[] = {
    {"empty", "", L""},
    {"ascii", "QD4RV>bom dia=", L"QD4RV>bom dia="},
    {"latin", "est\xC3\xA1 a\xC3\xA7\xC3\xA3o", L"est\u00E1 a\u00E7\u00E3o"},
    {"nul kept", "a\0b"s, L"a\0b"s},
    {"outside the BMP", "\xF0\x9F\x93\xBB", L"\xD83D\xDCFB"},
};

TEST(WideText, UnicodeRoundTrips) {
    for (const Pair& p : Pairs) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(Widen(p.utf8), p.utf16);
        EXPECT_EQ(Narrow(p.utf16), p.utf8);
        BSTR b = NewBstr(p.utf8);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(::SysStringLen(b), p.utf16.size());
        EXPECT_EQ(NarrowBstr(b), p.utf8);
        ::SysFreeString(b);
    }
}

TEST(WideText, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(Widen("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(Widen("\xC3"), L"\uFFFD");  // a sequence cut short
    EXPECT_EQ(Narrow(L"a\xD800" L"b"s), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(NarrowBstr(nullptr), "");
}

TEST(WideText, AnsiIsTheStationsCodePage) {
    struct Case {
        const char* utf8;
        const char* ansi;
    };
    const Case cases[] = {
        {"est\xC3\xA1", "est\xE1"},
        {"\xE2\x82\xAC 5", "\x80 5"},  // the euro sign sits at 0x80 in Windows-1252
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(ToAnsi(c.utf8, 1252), c.ansi);
        EXPECT_EQ(FromAnsi(c.ansi, 1252), c.utf8);
    }
    EXPECT_EQ(ToAnsi("\xE4\xB8\xAD", 1252), "?");  // not in the code page: its default character
    EXPECT_EQ(ToAnsi("est\xC3\xA1"), ToAnsi("est\xC3\xA1", ::GetACP()));
}

}  // namespace
}  // namespace hosts::wide
