#include "gdi/Glyph.h"

#include <algorithm>
#include <limits>

namespace gdi::text {

std::vector<InkRun> RunsFromMonoBitmap(const std::uint8_t* rows, int width, int height, int pitch, int left,
                                       int top) {
    std::vector<InkRun> runs;
    // Glyph offsets beyond 16 bits would need a font of absurd size; CreateFont refuses those.
    constexpr int kLimit = std::numeric_limits<std::int16_t>::max();
    if (!rows || width <= 0 || height <= 0 || left + width > kLimit || left < -kLimit || top > kLimit ||
        top - height < -kLimit) {
        return runs;
    }
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rows + static_cast<std::ptrdiff_t>(y) * pitch;
        int x = 0;
        while (x < width) {
            while (x < width && !(row[x >> 3] & (0x80 >> (x & 7)))) ++x;
            if (x == width) break;
            const int start = x;
            while (x < width && (row[x >> 3] & (0x80 >> (x & 7)))) ++x;
            runs.push_back({static_cast<std::int16_t>(y - top), static_cast<std::int16_t>(left + start),
                            static_cast<std::int16_t>(left + x)});
        }
    }
    return runs;
}

LineInk MergeLineRuns(std::vector<LineRun> placed) {
    LineInk ink;
    if (placed.empty()) return ink;
    std::sort(placed.begin(), placed.end(),
              [](const LineRun& a, const LineRun& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    ink.top = placed.front().y;
    ink.bottom = placed.back().y + 1;
    ink.left = placed.front().x0;
    ink.right = placed.front().x1;
    for (const LineRun& r : placed) {
        ink.left = std::min(ink.left, r.x0);
        ink.right = std::max(ink.right, r.x1);
        if (!ink.runs.empty() && ink.runs.back().y == r.y && r.x0 <= ink.runs.back().x1) {
            ink.runs.back().x1 = std::max(ink.runs.back().x1, r.x1);
        } else {
            ink.runs.push_back(r);
        }
    }
    return ink;
}

bool PlaceInk(LineInk& ink, int surfaceWidth) {
    PlacedInk& placed = ink.placed;
    if (placed.surfaceWidth == surfaceWidth) return true;
    placed = PlacedInk{};
    const long long span = static_cast<long long>(ink.bottom - ink.top) * surfaceWidth + (ink.right - ink.left);
    if (surfaceWidth <= 0 || span > std::numeric_limits<std::int32_t>::max()) return false;
    for (const LineRun& r : ink.runs) {
        const int length = r.x1 - r.x0;
        if (length <= 0) continue;  // no pixels
        const auto at = static_cast<std::int32_t>(static_cast<long long>(r.y - ink.top) * surfaceWidth + (r.x0 - ink.left));
        switch (length) {
            case 1:
                placed.ones.push_back(at);
                break;
            case 2:
                placed.twos.push_back(at);
                break;
            case 3:
                placed.threes.push_back(at);
                break;
            default:
                placed.longRuns.push_back({at, length});
        }
    }
    placed.surfaceWidth = surfaceWidth;
    return true;
}

}  // namespace gdi::text
