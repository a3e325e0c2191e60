#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "buttons/Bevel.h"
#include "buttons/Colors.h"
#include "buttons/Face.h"
#include "buttons/testing/PainterBuffer.h"
#include "gdi/Gdi.h"

namespace {

using namespace buttons;
using gdi::RGB;

// BackColor RGB(212,208,200), lightened and pressed as the rendering pipeline derives them.
ButtonState GreyFace() {
    ButtonState s;
    s.Props.BackColor = RGB(212, 208, 200);
    s.Colours.Face = RGB(255, 255, 251);
    s.Colours.Pressed = RGB(223, 224, 210);
    s.Colours.HoverFace = RGB(255, 255, 251);
    s.Colours.ValueTrue = RGB(223, 224, 214);
    return s;
}

// The frame of s alone, as the painters see it, on an enabled or disabled host.
Frame FrameOf(const ButtonState& s, bool enabled = true) {
    Frame f;
    f.Props = s.Props;
    f.Colours = s.Colours;
    f.Shape = s.Shape;
    f.Look = FaceLook{s.Input.StateFlags, s.Input.HoverLit, s.Input.ButtonDown};
    f.Enabled = enabled;
    return f;
}

TEST(SelectFaceColours, GreyFaceEnabledAndDisabled) {
    ButtonState s = GreyFace();
    const FaceColours enabled = SelectFaceColours(FrameOf(s, true));
    EXPECT_EQ(enabled.face, RGB(255, 255, 251));
    EXPECT_EQ(enabled.gradient, RGB(255, 255, 251));

    const FaceColours disabled = SelectFaceColours(FrameOf(s, false));
    EXPECT_EQ(disabled.base, RGB(255, 255, 251));
    EXPECT_EQ(disabled.face, RGB(231, 232, 221));
    EXPECT_EQ(disabled.disabledText, RGB(127, 129, 102));
    EXPECT_EQ(ShiftColor(disabled.base, -84), RGB(171, 172, 142));  // outer outline and corners
}

struct StateCase {
    const char* name;
    std::int32_t mode;
    bool value;
    std::uint8_t flags;
    std::int32_t gradientMode;
    gdi::COLORREF base;
    gdi::COLORREF face;
};

TEST(SelectFaceColours, BaseAndFacePerState) {
    const gdi::COLORREF normal = RGB(255, 255, 251);
    const gdi::COLORREF pressed = RGB(223, 224, 210);
    const gdi::COLORREF set = RGB(223, 224, 214);
    const std::uint8_t held = HeldDown | MouseOver;
    const StateCase cases[] = {
        {"command idle", 0, false, 0, 0, normal, normal},
        {"command pressed", 0, false, held, 0, normal, pressed},
        {"command held, pointer away", 0, false, HeldDown, 0, normal, normal},
        {"command pressed with a gradient", 0, false, held, 3, normal, normal},
        {"check box set", 1, true, 0, 0, set, set},
        {"check box set with a gradient", 1, true, 0, 1, set, set},
        {"option clear, pressed", 2, false, held, 0, normal, normal},
        {"stored mode 9 set", 9, true, 0, 0, set, set},
        {"stored mode -3 acts as command", -3, true, held, 0, normal, pressed},
    };
    for (const auto& c : cases) {
        ButtonState s = GreyFace();
        s.Props.Mode = c.mode;
        s.Props.Value = c.value;
        s.Input.StateFlags = c.flags;
        s.Props.GradientMode = c.gradientMode;
        const FaceColours colours = SelectFaceColours(FrameOf(s, true));
        EXPECT_EQ(colours.base, c.base) << c.name;
        EXPECT_EQ(colours.face, c.face) << c.name;
    }
}

TEST(SelectFaceColours, GradientEndIsTheLightenedGradientColour) {
    ButtonState s = GreyFace();
    s.Props.GradientMode = 1;
    s.Props.GradientColor = RGB(192, 192, 192);
    EXPECT_EQ(SelectFaceColours(FrameOf(s, true)).gradient, ShiftColor(RGB(192, 192, 192), 48));
    s.Props.GradientColor = SysButtonFace;  // system colours are resolved first
    EXPECT_EQ(SelectFaceColours(FrameOf(s, true)).gradient, RGB(255, 255, 251));
}

TEST(FillEdgeColumn, EveryColumnOfTheGreyFace) {
    const gdi::COLORREF base = RGB(255, 255, 251);
    const gdi::COLORREF white = RGB(255, 255, 255);
    const std::array<std::array<gdi::COLORREF, 8>, 4> expected{{
        {RGB(245, 246, 239), white, RGB(231, 232, 221), RGB(223, 224, 210), RGB(250, 251, 246), white,
         RGB(219, 220, 205), RGB(207, 208, 189)},
        {RGB(181, 209, 240), RGB(189, 215, 247), RGB(181, 209, 240), RGB(140, 174, 231), RGB(140, 174, 231),
         RGB(191, 223, 255), RGB(140, 174, 231), RGB(107, 130, 239)},
        // base -22, base -24, base itself (not shifted by 0), then lighter edges clamp to white.
        {RGB(233, 234, 224), RGB(231, 232, 221), base, white, RGB(223, 224, 210), RGB(223, 224, 210), white, white},
        {RGB(255, 203, 107), RGB(255, 219, 140), RGB(255, 203, 107), RGB(255, 178, 49), RGB(255, 178, 49),
         RGB(255, 233, 166), RGB(255, 178, 49), RGB(231, 150, 0)},
    }};
    for (std::int16_t state = 0; state < 4; ++state) {
        EdgeColorArray colours{};
        colours.fill(-7);
        FillEdgeColumn(colours, state, base);
        for (int slot = 1; slot <= 8; ++slot) {
            EXPECT_EQ(colours[static_cast<std::size_t>(slot)], expected[static_cast<std::size_t>(state)][slot - 1])
                << "state " << state << " slot " << slot;
        }
        EXPECT_EQ(colours[0], -7) << "slot 0 is not used";
        EXPECT_EQ(colours[9], -7) << "the outer slots are the caller's";
    }
}

TEST(FillEdgeColumn, OutOfRangeStateTakesTheNormalColumn) {
    EdgeColorArray normal{};
    FillEdgeColumn(normal, 0, RGB(100, 120, 140));
    for (std::int16_t state : {std::int16_t{-1}, std::int16_t{4}, std::int16_t{32767}}) {
        EdgeColorArray colours{};
        FillEdgeColumn(colours, state, RGB(100, 120, 140));
        EXPECT_EQ(colours, normal) << state;
    }
}

struct EdgeStateCase {
    const char* name;
    std::int32_t mode;
    bool value;
    bool buttonDown;
    bool showFocusRect;
    std::uint8_t flags;
    std::int16_t fromBackground;
    std::int16_t expected;
};

TEST(EdgeDrawState, Columns) {
    const EdgeStateCase cases[] = {
        {"idle", 0, false, false, true, 0, 0, 0},
        {"default look", 0, false, false, true, DefaultLook, 1, 1},
        {"default look without focus rect", 0, false, false, false, DefaultLook, 1, 0},
        {"pressed", 0, false, true, true, HeldDown | MouseOver, 2, 2},
        {"hover", 0, false, false, true, MouseOver, 0, 3},
        {"hover over a default button", 0, false, false, true, MouseOver | DefaultLook, 1, 3},
        {"held and hovered stays pressed", 0, false, true, true, HeldDown | MouseOver | DefaultLook, 2, 2},
        {"check box set", 1, true, false, true, 0, 0, 2},
        {"check box set, default look", 1, true, false, true, DefaultLook, 1, 1},
        {"check box set, default look, no focus rect", 1, true, false, false, DefaultLook, 1, 0},
        {"check box down", 1, false, true, true, HeldDown, 0, 2},
        {"command down but not over", 0, false, true, true, HeldDown, 0, 0},
        {"set and hovered", 2, true, false, true, MouseOver, 0, 3},
    };
    for (const auto& c : cases) {
        ButtonState s;
        s.Props.Mode = c.mode;
        s.Props.Value = c.value;
        s.Input.ButtonDown = c.buttonDown;
        s.Props.ShowFocusRect = c.showFocusRect;
        s.Input.StateFlags = c.flags;
        EXPECT_EQ(EdgeDrawState(FrameOf(s), c.fromBackground), c.expected) << c.name;
    }
}

TEST(ShadingAmount, Height23AndTies) {
    const std::array<std::int16_t, 22> h23{-1,  -2,  -3,  -4,  -5,  -7,  -8,  -9,  -10, -11, -12,
                                           -13, -14, -15, -16, -17, -18, -20, -21, -22, -23, -24};
    for (int row = 1; row <= 22; ++row) EXPECT_EQ(ShadingAmount(row, 23), h23[static_cast<std::size_t>(row - 1)]) << row;
    EXPECT_EQ(ShadingAmount(1, 2), -12);   // -12.5, halves to even
    EXPECT_EQ(ShadingAmount(1, 10), -2);   // -2.5
    EXPECT_EQ(ShadingAmount(3, 10), -8);   // -7.5
    EXPECT_EQ(ShadingAmount(1, 1), -25);
    EXPECT_EQ(ShadingAmount(1, 0), 0);
    EXPECT_EQ(ShadingAmount(1, -4), 0);
}

TEST(BevelVertices, RectangleOutlines) {
    const EdgePointArray v = BevelVertices(0, 75, 23, 0, 75);
    // Inner, middle and outer outline, each walked left, top, right, bottom.
    const EdgePointArray expected{{{2, 20}, {2, 2}, {72, 2}, {72, 20}, {1, 20},
                                   {1, 21}, {1, 1}, {73, 1}, {73, 21}, {0, 21},
                                   {0, 22}, {0, 0}, {74, 0}, {74, 22}, {-1, 22}, {0, 0}}};
    EXPECT_EQ(v, expected);
}

TEST(BevelVertices, SlantBothFollowsTheSlantedSides) {
    const EdgePointArray v = BevelVertices(3, 30, 23, 24, 6);
    const EdgePointArray expected{{{22, 20}, {4, 2}, {6, 2}, {24, 20}, {21, 20},
                                   {22, 21}, {2, 1}, {6, 1}, {26, 21}, {20, 21},
                                   {23, 23}, {0, 0}, {6, 0}, {29, 23}, {21, 22}, {0, 0}}};
    EXPECT_EQ(v, expected);
}

TEST(BevelVertices, MiddleOutlineIsTheInnerOneMovedOut) {
    // Vertices 5..9 are 0..4 moved by the offsets the shape's slants call for.
    for (std::int32_t shape = 0; shape <= 3; ++shape) {
        const int d1 = (shape == 1 || shape == 3) ? 1 : 0;
        const int d2 = (shape == 2 || shape == 3) ? 1 : 0;
        const std::array<gdi::POINT, 5> offsets{{{d1 - 1, 1}, {-1 - d1, -1}, {1 - d2, -1}, {d2 + 1, 1}, {-1, 1}}};
        for (const auto& [w, h, l, r] : {std::array{96, 32, d1 ? 33 : 0, d2 ? 63 : 96}, std::array{1, 1, 0, 1},
                                         std::array{0, 0, 0, 0}}) {
            const EdgePointArray v = BevelVertices(shape, w, h, l, r);
            for (std::size_t i = 0; i < 5; ++i) {
                EXPECT_EQ(v[i + 5].x, v[i].x + offsets[i].x) << "shape " << shape << " vertex " << i + 5;
                EXPECT_EQ(v[i + 5].y, v[i].y + offsets[i].y) << "shape " << shape << " vertex " << i + 5;
            }
        }
    }
}

// The bevel draws the edges before its last pen without pens of their own: the same pixels, the
// same pen left selected and the same objects alive as with a new pen at every change of colour.
TEST(DrawBevelLines, MatchesANewPenAtEveryColourChange) {
    constexpr int W = 60, H = 20;
    // The loop the bevel stands for.
    auto penPerColour = [](RenderBuffer& buffer, const EdgePointArray& points, const EdgeColorArray& colours,
                           int outerStyle) {
        bool any = false;
        std::int64_t last = 0;
        for (const BevelSegment& seg : BevelSegments) {
            const std::int64_t colour = colours[static_cast<std::size_t>(seg.slot)];
            if (colour < 0) continue;
            if (!any || colour != last) {
                const int style = (seg.from >= 9 && outerStyle >= 0) ? outerStyle : gdi::PS_SOLID;
                SetDrawColor(buffer, true, buffer.Dc(), ToInt(DrawColorMode::Pen), static_cast<OleColor>(colour), false,
                             1, style);
                last = colour;
                any = true;
            }
            gdi::Polyline(buffer.Dc(), &points[static_cast<std::size_t>(seg.from)], 2);
        }
    };
    struct Case {
        const char* name;
        std::int16_t drawState;
        int outerStyle;
        std::vector<std::pair<int, std::int64_t>> slots;  // changed from the state's column
    } cases[] = {
        {"normal", 0, -1, {}},
        {"pressed, some edges left out", 2, -1, {{2, -1}, {7, -1}, {12, -1}}},
        {"hover, dotted outline", 3, gdi::PS_DOT, {}},
        // the outer outline keeps the inner pen when its colour does not change
        {"default look, dotted outline of the inner colour", 1, gdi::PS_DOT, {{8, gdi::RGB(1, 2, 3)}, {9, gdi::RGB(1, 2, 3)}}},
        {"one colour, null outline", 0, gdi::PS_NULL, {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}}},
        {"a dashed colour before the last pen", 0, gdi::PS_DASH, {{12, gdi::RGB(7, 7, 7)}}},
        {"nothing drawn", 0, -1, {{1, -1}, {2, -1}, {3, -1}, {4, -1}, {5, -1}, {6, -1}, {7, -1}, {8, -1}, {9, -1},
                                  {10, -1}, {11, -1}, {12, -1}}},
    };
    for (std::int32_t shape = 0; shape <= 3; ++shape)
        for (const Case& c : cases) {
            ButtonState s;
            s.Props.ButtonShape = shape;
            s.Shape.SlantLeftX = shape == 1 || shape == 3 ? H + 1 : 0;
            s.Shape.SlantRightX = shape == 2 || shape == 3 ? W - H - 1 : W;
            EdgeColorArray colours{};
            FillEdgeColumn(colours, c.drawState, gdi::RGB(212, 208, 200));
            for (std::size_t slot = 9; slot <= 12; ++slot) colours[slot] = OutlineColour;
            for (const auto& [slot, colour] : c.slots) colours[static_cast<std::size_t>(slot)] = colour;
            buttons::testing::PainterHost host(W, H);
            buttons::testing::Buffer loop(host, W, H), bevel(host, W, H);
            std::vector<gdi::COLORREF> pixels[2];
            gdi::ObjectCounts alive[2];
            for (buttons::testing::Buffer* b : {&loop, &bevel}) {
                b->Fill(gdi::RGB(90, 0, 90));
                const EdgePointArray points = BevelVertices(shape, W, H, s.Shape.SlantLeftX, s.Shape.SlantRightX);
                if (b == &loop)
                    penPerColour(b->Render(), points, colours, c.outerStyle);
                else
                    DrawBevelLines(MakeFrame(s, host, b->Render()), b->Render(), colours, c.outerStyle);
                alive[b == &bevel] = gdi::LiveObjects();
                // The pen left selected shows in one more line drawn with it.
                const gdi::POINT across[] = {{0, H / 2}, {W, H / 2}};
                gdi::Polyline(b->Dc(), across, 2);
                pixels[b == &bevel] = b->Pixels();
            }
            const std::string where = std::string(c.name) + ", shape " + std::to_string(shape);
            EXPECT_EQ(pixels[0], pixels[1]) << where;
            EXPECT_EQ(gdi::ToString(alive[0]), gdi::ToString(alive[1])) << where;
        }
}

}  // namespace
