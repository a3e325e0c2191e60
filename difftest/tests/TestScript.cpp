#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "difftest/Result.h"
#include "difftest/Script.h"

using namespace difftest;

namespace {

const std::string kTarget = "bitmap t 4 3\n";

TEST(ScriptParse, ArgumentsTakeNumbersConstantsNamesAndTexts) {
    const Script s = ParseScript(kTarget +
                                     "pen PS_DOT 2 0x00FF00FF   # a comment\n"
                                     "stretchblt -1 +2 3 4 src 0 0 8 8 0xB8074A\n"
                                     "drawtext_calcrect \"a \\\"b\\\"\\r\\n#c\" 0 0 10 10 DT_WORDBREAK|DT_CENTER\n"
                                     "\n  # only a comment\n"
                                     "font \"Liberation Serif\" -21 FW_BOLD\n",
                                 "t");
    ASSERT_EQ(s.commands.size(), 5u);
    EXPECT_EQ(s.commands[1].Int(0), 2);
    EXPECT_EQ(s.commands[1].Int(2), 0x00FF00FF);
    EXPECT_EQ(s.commands[2].Int(0), -1);
    EXPECT_EQ(s.commands[2].Int(1), 2);
    EXPECT_EQ(s.commands[2].Str(4), "src");
    EXPECT_EQ(s.commands[2].Int(9), 0xB8074A);
    EXPECT_EQ(s.commands[3].Str(0), "a \"b\"\r\n#c");
    EXPECT_EQ(s.commands[3].Int(5), 0x11);
    EXPECT_EQ(s.commands[3].line, 4);
    EXPECT_EQ(s.commands[4].args.size(), 3u);  // the italic flag may be left out
    EXPECT_EQ(s.commands[4].Int(2), 700);
}

TEST(ScriptParse, ColoursUpToFullWhiteWithTopBitAreKept) {
    const Script s = ParseScript(kTarget + "setbkcolor 0xFFFFFFFF\nsetpixel 0 0 0x80000012\n", "t");
    EXPECT_EQ(static_cast<std::uint32_t>(s.commands[1].Int(0)), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<std::uint32_t>(s.commands[2].Int(2)), 0x80000012u);
}

TEST(ScriptParse, BadLinesAreRefusedWithTheirLineNumber) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"frobnicate 1", "t:2: unknown call 'frobnicate'"},
        {"rectangle 1 2 3", "t:2: rectangle has too few arguments"},
        {"rectangle 1 2 3 4 5", "t:2: rectangle has too many arguments"},
        {"rectangle 1 2 three 4", "t:2: expected an integer or a constant, got 'three'"},
        {"patblt 0 0 1 1 WHITENESS|NOPE", "t:2: expected an integer or a constant, got 'WHITENESS|NOPE'"},
        {"setpixel 0 0 0x100000000", "t:2: expected an integer or a constant, got '0x100000000'"},
        {"setpixel 0 0 -2147483649", "t:2: expected an integer or a constant, got '-2147483649'"},
        {"setpixel 0 0 0x", "t:2: expected an integer or a constant, got '0x'"},
        {"polyline 0 0 1", "t:2: polyline needs at least two x y pairs"},
        {"polyline 0 0 1 1 2", "t:2: polyline needs at least two x y pairs"},
        {"select 9lives", "t:2: expected a name, got '9lives'"},
        {"select \"t\"", "t:2: select got a text where it expects a value"},
        {"drawtext hello 0 0 1 1 0", "t:2: drawtext expects a quoted text"},
        {"drawtext \"open 0 0 1 1 0", "t:2: unterminated text"},
        {"drawtext \"\\q\" 0 0 1 1 0", "t:2: unknown escape \\q"},
        {"knownbug \"\" 0 0", "t:2: knownbug needs a reason"},
        {"knownbug \"a\"", "t:2: knownbug has too few arguments"},
        {"knownbug \"a\" -1 0", "t:2: knownbug needs counts of zero or more"},
        {"deliberate \"a\" 1 0\nknownbug \"b\" 1 0", "t:3: a script carries one expectation mark at most"},
    };
    for (const Case& c : cases) {
        try {
            ParseScript(kTarget + c.text + "\n", "t");
            ADD_FAILURE() << c.text << " was accepted";
        } catch (const ScriptError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.text;
        }
    }
}

TEST(ScriptParse, TheTargetComesFirstAndMarksAreKept) {
    EXPECT_THROW(ParseScript("rectangle 0 0 1 1\n", "t"), ScriptError);
    EXPECT_THROW(ParseScript("# nothing\n", "t"), ScriptError);
    const Script s = ParseScript("deliberate \"we round the other way\" 12 1\n" + kTarget, "t");
    EXPECT_EQ(s.expectation, Expectation::Deliberate);
    EXPECT_EQ(s.reason, "we round the other way");
    EXPECT_EQ(s.allowedPixels, 12);
    EXPECT_EQ(s.allowedRecords, 1);
    EXPECT_EQ(s.commands.size(), 1u);
}

TEST(ScriptParse, ConstantsCombineWithBars) {
    struct Case {
        const char* word;
        bool known;
        std::int64_t value;
    } cases[] = {
        {"SRCCOPY", true, 0x00CC0020},   {"DT_CALCRECT|DT_WORDBREAK", true, 0x410},
        {"RGN_DIFF", true, 4},           {"DT_LEFT|", false, 0},
        {"|DT_LEFT", false, 0},          {"srccopy", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        std::int64_t v = -1;
        EXPECT_EQ(ResolveConstant(c.word, v), c.known) << c.word;
        if (c.known) {
            EXPECT_EQ(v, c.value) << c.word;
        }
    }
}

Result Make(int w, int h, std::uint32_t fill) {
    Result r;
    r.width = w;
    r.height = h;
    r.pixels.assign(static_cast<std::size_t>(w) * h, fill);
    return r;
}

TEST(ResultFile, RoundTripsPixelsRecordsAndErrors) {
    Result r = Make(3, 2, 0x123456);
    r.pixels[4] = 0xFF00FF;
    r.records = {"line 3 combinergn: type 3", "line 9 textmetrics: height 24"};
    r.error = "line 5: no surface named 'x'";
    std::stringstream s;
    WriteResult(s, r);
    Result back;
    std::string why;
    ASSERT_TRUE(ReadResult(s, back, why)) << why;
    EXPECT_EQ(back.pixels, r.pixels);
    EXPECT_EQ(back.records, r.records);
    EXPECT_EQ(back.error, r.error);
    EXPECT_TRUE(Compare(back, r).Equal());
}

TEST(ResultFile, DamagedFilesAreRefused) {
    std::stringstream whole;
    WriteResult(whole, Make(2, 2, 0));
    const std::string text = whole.str();
    const std::string cases[] = {
        "",
        "size -1 2\nend\n",
        "size 100000 100000\n",
        "size 2 2\n000000 000000\n000000\n",
        text.substr(0, text.size() - 4),       // the writer died before "end"
        "size 1 1\n000000\nbogus\nend\n",
    };
    for (const std::string& c : cases) {
        std::stringstream in(c);
        Result r;
        std::string why;
        EXPECT_FALSE(ReadResult(in, r, why)) << c;
        EXPECT_FALSE(why.empty());
    }
}

TEST(ResultCompare, FindsPixelsRecordsAndSizes) {
    Result a = Make(4, 3, 0xFFFFFF), b = a;
    EXPECT_TRUE(Compare(a, b).Equal());
    // The unused top byte is not part of the colour.
    b.pixels[0] = 0xAAFFFFFF;
    EXPECT_TRUE(Compare(a, b).Equal());

    b.pixels[6] = 0x000000;   // (2,1)
    b.pixels[11] = 0x0000FF;  // (3,2)
    Comparison c = Compare(a, b, 1);
    EXPECT_EQ(c.differing, 2);
    ASSERT_EQ(c.first.size(), 1u);
    EXPECT_EQ(c.first[0].x, 2);
    EXPECT_EQ(c.first[0].y, 1);
    EXPECT_NE(Describe(c).find("(2,1) ffffff 000000"), std::string::npos);

    a.records = {"r1", "r2"};
    b = a;
    b.records.pop_back();
    c = Compare(a, b);
    ASSERT_EQ(c.recordDiffs.size(), 1u);
    EXPECT_EQ(c.recordDiffs[0], "ours: r2 | wine: (none)");

    c = Compare(Make(4, 3, 0), Make(3, 4, 0));
    EXPECT_FALSE(c.sameSize);
    EXPECT_FALSE(c.Equal());
}

TEST(ResultCompare, MarkedScriptsFailOnlyWhenTheyGetWorse) {
    Comparison c;
    c.differing = 5;
    c.recordDiffs = {"r"};
    const struct {
        int pixels, records;
        Drift want;
    } rows[] = {{5, 1, Drift::Same}, {6, 1, Drift::Better}, {5, 2, Drift::Better}, {4, 1, Drift::Worse},
                {5, 0, Drift::Worse}, {9, 0, Drift::Worse}};
    for (const auto& row : rows)
        EXPECT_EQ(DriftFrom(c, row.pixels, row.records), row.want) << row.pixels << " " << row.records;
    c.sameSize = false;
    EXPECT_EQ(DriftFrom(c, 100, 100), Drift::Worse);
}

}  // namespace
