// Replays every drawing script on our layer and compares it with Wine's result, pixel for pixel
// and record for record. Wine's results come from the difftest.wine_replay CTest fixture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "difftest/Replay.h"
#include "gdi/Gdi.h"

namespace fs = std::filesystem;
using namespace difftest;

namespace {

std::string Env(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

fs::path ScriptDir() { return fs::path(Env("DIZO_SOURCE_DIR", DIZO_SOURCE_DIR)) / "difftest" / "scripts"; }

std::vector<std::string> ScriptNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(ScriptDir(), ec))
        if (e.path().extension() == ".dgs") names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class WineDiff : public ::testing::TestWithParam<std::string> {};

TEST_P(WineDiff, MatchesWine) {
    const std::string name = GetParam();
    const Script script = LoadScript((ScriptDir() / (name + ".dgs")).string());

    const gdi::ObjectCounts before = gdi::LiveObjects();
    const Result ours = ReplayOurs(script);
    EXPECT_EQ(gdi::LiveObjects(), before) << "the replay leaked objects";
    ASSERT_EQ(ours.error, "") << "our replay stopped";

    const fs::path winePath = fs::path(Env("DIZO_WINE_RESULTS", DIZO_WINE_RESULTS)) / (name + ".wine.txt");
    std::ifstream in(winePath);
    ASSERT_TRUE(in) << "no Wine result at " << winePath << " (the difftest.wine_replay fixture makes it)";
    Result wine;
    std::string why;
    ASSERT_TRUE(ReadResult(in, wine, why)) << winePath << ": " << why;
    ASSERT_EQ(wine.error, "") << "Wine's replay stopped";

    const Comparison cmp = Compare(ours, wine);
    const fs::path diffDir = Env("DIZO_DIFF_DIR", DIZO_DIFF_DIR);
    fs::create_directories(diffDir);
    std::ofstream((diffDir / (name + ".ours.txt")).string()) << [&] {
        std::ostringstream text;
        WriteResult(text, ours);
        return text.str();
    }();
    WritePpm((diffDir / (name + ".ours.ppm")).string(), ours, 4);
    WritePpm((diffDir / (name + ".wine.ppm")).string(), wine, 4);
    const std::string diffImage = (diffDir / (name + ".diff.ppm")).string();
    if (!cmp.Equal()) WriteDiffImage(diffImage, ours, wine, 6);

    switch (script.expectation) {
        case Expectation::Match:
            EXPECT_TRUE(cmp.Equal()) << Describe(cmp) << "diff image (ours | wine | difference): " << diffImage;
            break;
        case Expectation::Deliberate:
        case Expectation::KnownBug: {
            const char* kind = script.expectation == Expectation::Deliberate ? "deliberate" : "known bug";
            const std::string counts = std::to_string(cmp.differing) + " pixels and " +
                                       std::to_string(cmp.recordDiffs.size()) + " records differ, the mark records " +
                                       std::to_string(script.allowedPixels) + " and " +
                                       std::to_string(script.allowedRecords);
            switch (DriftFrom(cmp, script.allowedPixels, script.allowedRecords)) {
                case Drift::Worse:
                    ADD_FAILURE() << name << " (" << kind << ") got worse: " << counts << "\n"
                                  << Describe(cmp) << "diff image: " << diffImage;
                    break;
                case Drift::Better:
                    std::cout << "[ NOTE     ] " << name << " (" << kind << ") got better: " << counts
                              << (cmp.Equal() ? "; it matches Wine now: remove the mark\n" : "; lower the counts\n");
                    break;
                case Drift::Same:
                    std::cout << "[ EXPECTED ] " << name << " differs (" << kind << "): " << script.reason << '\n'
                              << Describe(cmp) << "diff image: " << diffImage << '\n';
                    break;
            }
            break;
        }
    }
}

// GoogleTest takes only letters, digits and '_' in test names; a script called "mono-target" still runs.
std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, WineDiff, ::testing::ValuesIn(ScriptNames()), TestName);

}  // namespace
