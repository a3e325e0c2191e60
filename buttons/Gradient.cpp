// Gradient fill: strips across the blend direction, one colour per strip.
#include "buttons/Gradient.h"

#include <algorithm>
#include <cstdint>

#include "buttons/Colors.h"
#include "buttons/FaceSize.h"
#include "gdi/Dc.h"

namespace buttons {
namespace {

// Channels run in units of 1 / (255 * U) of a colour step, so every running value, step and clamp
// is exact: the green and blue channels start at 256/255 of the stored byte, which no binary
// fraction holds exactly.
struct Channel {
    std::int64_t run;   // running value times 255 * U
    std::int64_t step;  // step times 255 * U
};

// nearest(byte * 256 / 255): byte / 255 is never exactly one half, so no tie arises.
std::int64_t ScaledTarget(std::int64_t byte) { return byte + (byte >= 128 ? 1 : 0); }

Channel MakeChannel(std::int64_t startByte, std::int64_t endByte, bool scaled, std::int64_t upper) {
    if (!scaled) return {startByte * 255 * upper, (endByte - startByte) * 255};
    return {startByte * 256 * upper, ScaledTarget(endByte) * 255 - startByte * 256};
}

int Advance(Channel& c, std::int64_t upper) {
    const std::int64_t denominator = 255 * upper;
    c.run = std::clamp<std::int64_t>(c.run + c.step, 0, 255 * denominator);
    return static_cast<int>(c.run / denominator);  // non-negative, so this rounds down
}

}  // namespace

void CalcGradientColors(std::vector<gdi::COLORREF>& colours, gdi::COLORREF startColour, gdi::COLORREF endColour) {
    if (colours.empty()) return;
    colours[0] = startColour;
    // A single strip has no step to take; it shows the start colour rather than dividing by zero.
    const std::int64_t upper = static_cast<std::int64_t>(colours.size()) - 1;
    if (upper == 0) return;

    Channel red = MakeChannel(gdi::GetRValue(startColour), gdi::GetRValue(endColour), false, upper);
    Channel green = MakeChannel(gdi::GetGValue(startColour), gdi::GetGValue(endColour), true, upper);
    Channel blue = MakeChannel(gdi::GetBValue(startColour), gdi::GetBValue(endColour), true, upper);
    for (std::int64_t k = 1; k <= upper; ++k) {
        const int r = Advance(red, upper);
        const int g = Advance(green, upper);
        const int b = Advance(blue, upper);
        colours[static_cast<std::size_t>(k)] = gdi::RGB(r, g, b);
    }
}

GradientStrips PlanGradientStrips(std::int32_t mode, int faceWidth, int faceHeight, int screenWidth,
                                  int screenHeight) {
    GradientStrips plan;
    plan.horizontal = mode == ToInt(GradientDirection::GradientLeftToRight) ||
                      mode == ToInt(GradientDirection::GradientRightToLeft);
    plan.startFirst = (mode & 1) != 0;
    const int span = plan.horizontal ? faceWidth : faceHeight;
    const int screen = plan.horizontal ? screenWidth : screenHeight;
    if (span <= 0) return plan;  // an empty face paints nothing
    // A face spanning more than about a quarter of the screen takes 2-pixel strips, half as many.
    if (screen / span < 4) {
        plan.stripWidth = 2;
        plan.count = span / 2;
    } else {
        plan.count = span;
    }
    return plan;
}

void FillGradient(RenderBuffer& buffer, const ButtonHost& host, std::int32_t mode, gdi::COLORREF startColour,
                  gdi::COLORREF endColour) {
    const int faceWidth = ClientWidth(host);
    const int faceHeight = ClientHeight(host);
    const gdi::HDC screen = gdi::GetDC();
    const int screenWidth = gdi::GetDeviceCaps(screen, gdi::HORZRES);
    const int screenHeight = gdi::GetDeviceCaps(screen, gdi::VERTRES);
    gdi::ReleaseDC(screen);

    const GradientStrips plan = PlanGradientStrips(mode, faceWidth, faceHeight, screenWidth, screenHeight);
    if (plan.count <= 0) return;
    std::vector<gdi::COLORREF> table(static_cast<std::size_t>(plan.count));
    CalcGradientColors(table, startColour, endColour);

    gdi::RECT strip{0, 0, plan.horizontal ? plan.stripWidth : faceWidth,
                    plan.horizontal ? faceHeight : plan.stripWidth};
    for (int i = 0; i < plan.count; ++i) {
        const int index = plan.startFirst ? i : plan.count - 1 - i;
        DrawBox(buffer, buffer.Dc(), strip.left, strip.top, strip.right, strip.bottom, table[static_cast<std::size_t>(index)]);
        if (plan.horizontal) {
            strip.left += plan.stripWidth;
            strip.right += plan.stripWidth;
        } else {
            strip.top += plan.stripWidth;
            strip.bottom += plan.stripWidth;
        }
    }
}

}  // namespace buttons
