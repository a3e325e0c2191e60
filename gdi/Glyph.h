// Rasterised glyphs as runs of ink, the per-font cache of the 256 ANSI characters, and the ink
// of whole lines. Owns the glyph bitmaps; a glyph is rasterised once and read on every later draw.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace gdi::text {

// One horizontal stretch of ink, relative to the glyph origin: x from the pen position,
// y downward from the baseline (negative above it); x1 is exclusive.
struct InkRun {
    std::int16_t y = 0;
    std::int16_t x0 = 0;
    std::int16_t x1 = 0;
};

struct Glyph {
    int advance = 0;  // pixels the pen moves
    std::vector<InkRun> runs;
};

// Slots for the 256 byte values of the ANSI code page, filled on first use.
class GlyphCache {
public:
    const Glyph* Find(unsigned char c) const { return ready_[c] ? &glyphs_[c] : nullptr; }
    const Glyph& Store(unsigned char c, Glyph&& g) {
        glyphs_[c] = std::move(g);
        ready_[c] = true;
        return glyphs_[c];
    }

private:
    std::array<Glyph, 256> glyphs_{};
    std::array<bool, 256> ready_{};
};

// A line's ink from pen position 0 on its baseline: rows as in InkRun, x from the line's start.
struct LineRun {
    std::int32_t y = 0;
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
};
// Sorted by row, then x, with the touching and overlapping runs of neighbouring glyphs merged
// (ink is one colour, so the pixels are the same); the box covers every run.
// The same runs grouped by row for a line drawn with nothing cut: a row's runs of up to three
// pixels as the three pixels to store (some may be the same one), then its longer runs. Their
// x is counted from the box's left, so that a row's first pixel is a place on the surface.
struct ShortRun {
    std::int32_t first = 0;
    std::int32_t middle = 0;
    std::int32_t last = 0;
};
struct InkRow {
    std::int32_t y = 0;
    std::uint32_t shortEnd = 0;  // where the row's runs end in shortRuns
    std::uint32_t longEnd = 0;   // and in longRuns
};
struct LineInk {
    std::vector<LineRun> runs;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::vector<InkRow> rows;
    std::vector<ShortRun> shortRuns;
    std::vector<LineRun> longRuns;  // four pixels or more
};
LineInk MergeLineRuns(std::vector<LineRun> placed);

// Converts a 1-bit-a-pixel FreeType-style bitmap (rows of `pitch` bytes, most significant bit
// first) into runs, with (left, top) the bitmap's top-left relative to the origin (top upward).
std::vector<InkRun> RunsFromMonoBitmap(const std::uint8_t* rows, int width, int height, int pitch, int left,
                                       int top);

}  // namespace gdi::text
