#include <gtest/gtest.h>

#include <functional>

#include "buttons/testing/ControlRig.h"
#include "buttons/FaceState.h"

namespace {

using buttons::testing::ControlRig;

// Every presented pixel of two buttons, compared; the count of differing pixels.
int DifferingPixels(const buttons::testing::HeadlessHost& a, const buttons::testing::HeadlessHost& b) {
    int differ = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.PresentedPixel(x, y) != b.PresentedPixel(x, y)) ++differ;
    return differ;
}

struct StateCase {
    const char* name;
    // Drives the button with host notifications, as a user would.
    std::function<void(ControlRig&)> drive;
    // The interaction fields the face was painted with: for the named face states, the one mapping
    // the render tool and the golden faces use.
    buttons::Interaction painted;
    // The flags left afterwards (Space clears MouseOver again without a repaint).
    std::uint8_t finalFlags;
    // Pressed-away loses the pressed look: its face is the idle one.
    bool differsFromIdle;
};

class InputFaces : public ::testing::TestWithParam<StateCase> {};

// The faces that input produces are the painters' faces of the same state: driving a button into a
// state and setting the state's fields directly present the same picture, unlike the idle face.
TEST_P(InputFaces, DrivenStateShowsThePaintersFace) {
    const StateCase& c = GetParam();
    ControlRig driven(97, 41), direct(97, 41), idle(97, 41);
    for (ControlRig* rig : {&driven, &direct, &idle}) {
        rig->button->SetCaption("&Ligar");
        rig->button->Refresh();
    }
    c.drive(driven);
    auto& s = direct.button->State();
    s.Input.StateFlags = c.painted.StateFlags;
    s.Input.HoverLit = c.painted.HoverLit;
    s.Input.ButtonDown = c.painted.ButtonDown;
    direct.button->Refresh();

    EXPECT_EQ(driven.button->State().Input.StateFlags, c.finalFlags);
    EXPECT_EQ(driven.button->State().Input.HoverLit, c.painted.HoverLit);
    EXPECT_EQ(driven.button->State().Input.ButtonDown, c.painted.ButtonDown);
    EXPECT_EQ(DifferingPixels(driven.host, direct.host), 0);
    EXPECT_EQ(DifferingPixels(driven.host, idle.host) > 0, c.differsFromIdle);
}

void MoveOnto(ControlRig& rig, std::int16_t button = 0) {
    rig.windows.SetCursor({20, 20});  // the rig's button window starts at (10, 10)
    std::int16_t shift = 0;
    float x = 10, y = 10;
    rig.button->Input().MouseMove(button, shift, x, y);
}

void PressLeft(ControlRig& rig) {
    std::int16_t left = 1, shift = 0;
    float x = 10, y = 10;
    rig.button->Input().MouseDown(left, shift, x, y);
}

INSTANTIATE_TEST_SUITE_P(
    States, InputFaces,
    ::testing::Values(
        StateCase{"Hover", [](ControlRig& r) { MoveOnto(r); }, buttons::InteractionFor(buttons::FaceState::Hover),
                  buttons::MouseOver, true},
        StateCase{"Pressed",
                  [](ControlRig& r) {
                      MoveOnto(r);
                      PressLeft(r);
                  },
                  buttons::InteractionFor(buttons::FaceState::Pressed), buttons::MouseOver | buttons::HeldDown, true},
        StateCase{"PressedAway",
                  [](ControlRig& r) {
                      MoveOnto(r);
                      PressLeft(r);
                      r.windows.SetCursor({390, 290});
                      r.windows.AdvanceTime(50);
                  },
                  buttons::Interaction{buttons::HeldDown, false, false}, buttons::HeldDown, false},
        StateCase{"KeyHeld",
                  [](ControlRig& r) {
                      std::int16_t space = 32, shift = 0;
                      r.button->Input().KeyDown(space, shift);
                  },
                  buttons::Interaction{buttons::MouseOver | buttons::HeldDown, false, true}, buttons::HeldDown, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
