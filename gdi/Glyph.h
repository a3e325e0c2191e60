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
// A line's ink as places among the pixels of a surface of one width, counted from the pixel
// at the ink's top-left: the runs of one, two and three pixels each in a list of their own, so
// that each is one or two stores without a test, and the longer runs with their lengths.
struct PlacedRun {
    std::int32_t at = 0;
    std::int32_t length = 0;
};
struct PlacedInk {
    int surfaceWidth = 0;  // 0 until placed
    std::vector<std::int32_t> ones;
    std::vector<std::int32_t> twos;
    std::vector<std::int32_t> threes;
    std::vector<PlacedRun> longRuns;
};
// Sorted by row, then x, with the touching and overlapping runs of neighbouring glyphs merged
// (ink is one colour, so the pixels are the same); the box covers every run.
struct LineInk {
    std::vector<LineRun> runs;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::int32_t left = 0;
    std::int32_t right = 0;
    PlacedInk placed;  // for the surface width it was drawn on last
};
LineInk MergeLineRuns(std::vector<LineRun> placed);
// Places the ink for a surface surfaceWidth pixels wide, unless it already is; false when a
// place would not fit 32 bits (the ink is then drawn from its runs).
bool PlaceInk(LineInk& ink, int surfaceWidth);

// Converts a 1-bit-a-pixel FreeType-style bitmap (rows of `pitch` bytes, most significant bit
// first) into runs, with (left, top) the bitmap's top-left relative to the origin (top upward).
std::vector<InkRun> RunsFromMonoBitmap(const std::uint8_t* rows, int width, int height, int pitch, int left,
                                       int top);

}  // namespace gdi::text
