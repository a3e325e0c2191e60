// The bevel outlines: where their corners lie for each shape and which colours they take.
#include "buttons/Bevel.h"

#include <algorithm>

#include "buttons/Colors.h"
#include "gdi/Draw.h"

namespace buttons {
namespace {

// One column of the edge colour table: an unshifted base amount or a fixed colour per slot.
struct EdgeEntry {
    bool fixed;
    std::int16_t amount;  // ShiftColor amount when not fixed
    gdi::COLORREF colour;
};
constexpr EdgeEntry Shift(std::int16_t amount) { return {false, amount, 0}; }
constexpr EdgeEntry Fixed(int r, int g, int b) { return {true, 0, gdi::RGB(r, g, b)}; }

// Rows: slots 1..8 (inner left, top, right, bottom; middle left, top, right, bottom).
// Columns: normal, default look, pressed or set, hover. A shift of 0 is the base unshifted.
constexpr EdgeEntry EdgeTable[8][4] = {
    {Shift(-10), Fixed(181, 209, 240), Shift(-22), Fixed(255, 203, 107)},
    {Shift(10), Fixed(189, 215, 247), Shift(-24), Fixed(255, 219, 140)},
    {Shift(-24), Fixed(181, 209, 240), Shift(0), Fixed(255, 203, 107)},
    {Shift(-32), Fixed(140, 174, 231), Shift(10), Fixed(255, 178, 49)},
    {Shift(-5), Fixed(140, 174, 231), Shift(-32), Fixed(255, 178, 49)},
    {Shift(16), Fixed(191, 223, 255), Shift(-32), Fixed(255, 233, 166)},
    {Shift(-36), Fixed(140, 174, 231), Shift(5), Fixed(255, 178, 49)},
    {Shift(-48), Fixed(107, 130, 239), Shift(16), Fixed(231, 150, 0)},
};

}  // namespace

EdgePointArray BevelVertices(std::int32_t shape, int width, int height, int left, int right) {
    const int d1 = (shape == 1 || shape == 3) ? 1 : 0;
    const int d2 = (shape == 2 || shape == 3) ? 1 : 0;
    const int w = width;
    const int h = height;
    const int l = left;
    const int r = right;
    return EdgePointArray{{
        {l + 2 - 4 * d1, h - 3},
        {2 + 2 * d1, 2},
        {r - 3 + 3 * d2, 2},
        {w - 3 - 3 * d2, h - 3},
        {l + 1 - 4 * d1, h - 3},
        {l + 1 - 3 * d1, h - 2},
        {1 + d1, 1},
        {r - 2 + 2 * d2, 1},
        {w - 2 - 2 * d2, h - 2},
        {l - 4 * d1, h - 2},
        {l - d1, h - 1 + d1},
        {0, 0},
        {r - 1 + d2, 0},
        {w - 1, h - 1 + d2},
        {l - 1 - 2 * d1, h - 1},
        {0, 0},
    }};
}

void FillEdgeColumn(EdgeColorArray& colours, std::int16_t drawState, gdi::COLORREF base) {
    const int column = (drawState >= 0 && drawState <= 3) ? drawState : 0;
    for (int slot = 1; slot <= 8; ++slot) {
        const EdgeEntry& e = EdgeTable[slot - 1][column];
        colours[static_cast<std::size_t>(slot)] = e.fixed ? e.colour : (e.amount == 0 ? base : ShiftColor(base, e.amount));
    }
}

void DrawBevelLines(const Frame& f, RenderBuffer& buffer, const EdgeColorArray& edgeColors, int outerStyle) {
    const EdgePointArray edgePoints =
        BevelVertices(f.Props.ButtonShape, f.Width, f.Height, f.Shape.SlantLeftX, f.Shape.SlantRightX);
    // Each segment drawn with the pen it would take: a new pen only when the colour changes.
    struct Drawn {
        const BevelSegment* seg;
        std::int64_t colour;
        int style;  // of the pen it is drawn with
        bool newPen;
    };
    std::array<Drawn, BevelSegments.size()> drawn{};
    std::size_t count = 0;
    for (const BevelSegment& seg : BevelSegments) {
        const std::int64_t colour = edgeColors[static_cast<std::size_t>(seg.slot)];
        if (colour < 0) continue;
        const bool newPen = count == 0 || colour != drawn[count - 1].colour;
        const int style = !newPen ? drawn[count - 1].style
                                  : (seg.from >= 9 && outerStyle >= 0) ? outerStyle : gdi::PS_SOLID;
        drawn[count++] = Drawn{&seg, colour, style, newPen};
    }
    if (count == 0) return;
    // Only the last pen stays selected, so the segments before it need no pen of their own when
    // theirs are solid: they are drawn in their colours in one call.
    std::size_t lastPen = count - 1;
    while (!drawn[lastPen].newPen) --lastPen;
    std::size_t first = 0;
    if (std::all_of(drawn.begin(), drawn.begin() + static_cast<std::ptrdiff_t>(lastPen),
                    [](const Drawn& d) { return d.style == gdi::PS_SOLID; })) {
        std::array<gdi::ColouredLine, BevelSegments.size()> lines{};
        for (std::size_t i = 0; i < lastPen; ++i) {
            const auto from = static_cast<std::size_t>(drawn[i].seg->from);
            lines[i] = {edgePoints[from], edgePoints[from + 1], static_cast<gdi::COLORREF>(drawn[i].colour)};
        }
        gdi::SolidLines(buffer.Dc(), lines.data(), static_cast<int>(lastPen));
        first = lastPen;
    }
    for (std::size_t i = first; i < count; ++i) {
        if (drawn[i].newPen)
            SetDrawColor(buffer, true, buffer.Dc(), ToInt(DrawColorMode::Pen), static_cast<OleColor>(drawn[i].colour),
                         false, 1, drawn[i].style);
        gdi::Polyline(buffer.Dc(), &edgePoints[static_cast<std::size_t>(drawn[i].seg->from)], 2);
    }
}

}  // namespace buttons
