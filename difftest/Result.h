// What one replay of a drawing script yields: the target's pixels and the values the calls returned.
// Owns the text form both replayers write and the runner reads, and the comparison of two results.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace difftest {

struct Result {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top-down rows
    std::vector<std::string> records;   // "line N op: values", one per measuring call
    std::string error;                  // set when the replay could not finish

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// "size W H", H lines of W six-digit hex pixels, "record ..." lines, "error ..." when set.
void WriteResult(std::ostream& out, const Result& r);
// Returns false (with why) when the text is not a whole result.
bool ReadResult(std::istream& in, Result& r, std::string& why);

struct PixelDiff {
    int x = 0;
    int y = 0;
    std::uint32_t ours = 0;
    std::uint32_t theirs = 0;
};

struct Comparison {
    bool sameSize = true;
    int differing = 0;                    // pixels that differ
    std::vector<PixelDiff> first;         // the first few, row by row
    std::vector<std::string> recordDiffs; // "ours: ... | wine: ..." per differing record
    bool Equal() const { return sameSize && differing == 0 && recordDiffs.empty(); }
};

Comparison Compare(const Result& ours, const Result& theirs, std::size_t keepFirst = 8);

// How a marked script's comparison stands against the differences it records: Worse when either
// count grew (or the sizes differ), Better when one shrank and none grew.
enum class Drift { Same, Better, Worse };
Drift DriftFrom(const Comparison& c, int recordedPixels, int recordedRecords);
std::string Describe(const Comparison& c);

// A PPM of ours | theirs | difference (differing pixels red on a dimmed copy of ours), each
// scaled up by zoom so single pixels can be seen. Returns false when the file cannot be written.
bool WriteDiffImage(const std::string& path, const Result& ours, const Result& theirs, int zoom);
bool WritePpm(const std::string& path, const Result& r, int zoom);

}  // namespace difftest
