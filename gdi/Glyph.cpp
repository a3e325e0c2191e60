#include "gdi/Glyph.h"

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

}  // namespace gdi::text
