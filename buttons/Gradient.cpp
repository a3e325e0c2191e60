// Gradient fill: strips across the blend direction, one colour per strip.
#include "buttons/Gradient.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "buttons/Colors.h"

namespace buttons {
namespace {

// One colour channel as the table walks it: the running value and the step are single precision,
// and the clamp is written back, so rounding drifts exactly as the control's tables always have.
struct Channel {
    float run;
    float step;
};

// divisor 1 for red; 255 and 65280 for green and blue, which therefore start at 256/255 of the byte.
Channel MakeChannel(gdi::COLORREF start, gdi::COLORREF end, gdi::COLORREF mask, double divisor, std::int64_t upper) {
    const auto run = static_cast<float>(static_cast<double>(start & mask) / divisor);
    const auto target = static_cast<double>(std::nearbyint(static_cast<double>(end & mask) / divisor));
    return {run, static_cast<float>((target - static_cast<double>(run)) / static_cast<double>(upper))};
}

int Advance(Channel& c) {
    c.run = std::clamp(static_cast<float>(c.run + c.step), 0.0F, 255.0F);
    return static_cast<int>(c.run);  // non-negative, so this rounds down
}

}  // namespace

void CalcGradientColors(std::vector<gdi::COLORREF>& colours, gdi::COLORREF startColour, gdi::COLORREF endColour) {
    if (colours.empty()) return;
    colours[0] = startColour;
    // A single strip has no step to take; it shows the start colour rather than dividing by zero.
    const std::int64_t upper = static_cast<std::int64_t>(colours.size()) - 1;
    if (upper == 0) return;

    Channel red = MakeChannel(startColour, endColour, 0xFF, 1.0, upper);
    Channel green = MakeChannel(startColour, endColour, 0xFF00, 255.0, upper);
    Channel blue = MakeChannel(startColour, endColour, 0xFF0000, 65280.0, upper);
    for (std::int64_t k = 1; k <= upper; ++k) {
        const int r = Advance(red);
        const int g = Advance(green);
        const int b = Advance(blue);
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

void FillGradient(const Frame& f, RenderBuffer& buffer, std::int32_t mode, gdi::COLORREF startColour,
                  gdi::COLORREF endColour) {
    const GradientStrips plan = PlanGradientStrips(mode, f.Width, f.Height, f.ScreenWidth, f.ScreenHeight);
    if (plan.count <= 0) return;
    // The strips' colours in the order they are painted, left to right or top to bottom.
    const std::vector<gdi::COLORREF>& colours = buffer.Caches().Gradient.For(
        {startColour, endColour, plan.count, plan.startFirst}, [&](std::vector<gdi::COLORREF>& out) {
            out.resize(static_cast<std::size_t>(plan.count));
            CalcGradientColors(out, startColour, endColour);
            if (!plan.startFirst) std::reverse(out.begin(), out.end());
        });
    const gdi::RECT first{0, 0, plan.horizontal ? plan.stripWidth : f.Width,
                          plan.horizontal ? f.Height : plan.stripWidth};
    BoxRun strips(buffer);
    strips.AddStrips(first, plan.horizontal, colours.data(), plan.count);
}

}  // namespace buttons
