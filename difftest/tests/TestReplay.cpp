#include <gtest/gtest.h>

#include <string>

#include "difftest/Replay.h"
#include "gdi/Gdi.h"

using namespace difftest;

namespace {

// A script that stops half-way must say where and why, and must still delete everything it made.
TEST(ReplayOurs, StopsAtTheFaultyLineAndLeaksNothing) {
    struct Case {
        const char* body;
        const char* error;
    } cases[] = {
        {"select nope\n", "line 2: no surface named 'nope'"},
        {"bitblt 0 0 1 1 nope 0 0 SRCCOPY\n", "line 2: no surface named 'nope'"},
        {"createrectrgn r 0 0 2 2\nfillrgn r\n", "line 3: fillrgn needs a brush made first"},
        {"createrectrgn r 0 0 2 2\ncreateellipticrgn r 0 0 2 2\n", "line 3: a region of that name exists already"},
        {"bitmap t 2 2\n", "line 2: a surface of that name exists already"},
        {"pen PS_SOLID 1 0\nbrush 0xFF\ncombinergn a b c RGN_OR\n", "line 4: no region named 'a'"},
        {"monobitmap m 4 4\ncreateicon i m t\ncopyimage j i 4 4\ndrawiconex 0 0 k 0 0 DI_NORMAL\n",
         "line 5: no icon named 'k'"},
        {"font \"Liberation Sans\" -11 400\ncopyimage j nope 4 4\n", "line 3: no icon named 'nope'"},
    };
    for (const Case& c : cases) {
        const gdi::ObjectCounts before = gdi::LiveObjects();
        const Result r = ReplayOurs(ParseScript(std::string("bitmap t 4 4\n") + c.body, "t"));
        EXPECT_EQ(r.error, c.error) << c.body;
        EXPECT_EQ(gdi::LiveObjects(), before) << c.body;
    }
}

TEST(ReplayOurs, ReadsTheFirstSurfaceAndRecordsMeasuringCalls) {
    const Result r = ReplayOurs(ParseScript("monobitmap t 3 2\n"
                                            "patblt 0 0 3 2 WHITENESS\n"
                                            "bitmap other 3 2\n"
                                            "patblt 0 0 3 2 BLACKNESS\n"
                                            "select t\n"
                                            "setpixel 1 1 0x000000\n"
                                            "createrectrgn a 0 0 4 4\n"
                                            "createrectrgn b 2 2 6 6\n"
                                            "combinergn a a b RGN_DIFF\n"
                                            "getrgnbox a\n"
                                            "ptinregion a 3 3\n",
                                            "t"));
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.width, 3);
    ASSERT_EQ(r.height, 2);
    const std::vector<std::uint32_t> expected = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF};
    EXPECT_EQ(r.pixels, expected);
    const std::vector<std::string> records = {"line 9 combinergn: type 3", "line 10 getrgnbox: type 3 box 0 0 4 4",
                                              "line 11 ptinregion: outside"};
    EXPECT_EQ(r.records, records);
}

}  // namespace
