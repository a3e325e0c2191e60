#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "buttons/testing/TracedButton.h"

namespace {

using buttons::ButtonMode;
using buttons::ToInt;
using buttons::testing::TracedButton;
using buttons::testing::Trace;
using win::FakeWindowServices;

constexpr std::int16_t Left = 1;
constexpr std::int16_t Right = 2;

// One form with one 100x40 button at screen (10, 10); the cursor starts away from it.
class InputTest : public ::testing::Test {
protected:
    InputTest() : form(ws.CreateWindow({0, 0, 400, 300})) {
        button = std::make_unique<TracedButton>(ws, form, gdi::RECT{10, 10, 110, 50}, trace);
        ws.SetCursor({300, 200});
    }
    buttons::ButtonState& S() { return (*button)->State(); }
    buttons::ButtonInput& In() { return button->Input(); }
    // The Mode setter's own redraw and notification are not part of what a test looks at.
    void SetMode(ButtonMode m) {
        (*button)->SetMode(ToInt(m));
        Take();
    }

    // Host notifications with by-value arguments for brevity.
    void Move(std::int16_t b, float x, float y) {
        if (x >= 0 && y >= 0) ws.SetCursor({10 + static_cast<int>(x), 10 + static_cast<int>(y)});
        std::int16_t shift = 0;
        In().MouseMove(b, shift, x, y);
    }
    void Down(std::int16_t b, float x = 5, float y = 6) {
        std::int16_t shift = 0;
        In().MouseDown(b, shift, x, y);
    }
    void Up(std::int16_t b, float x = 5, float y = 6) {
        std::int16_t shift = 0;
        In().MouseUp(b, shift, x, y, buttons::ReleasePlace::OverButton);
    }
    void KeyDown(std::int16_t key, std::int16_t shift = 0) { In().KeyDown(key, shift); }
    void KeyUp(std::int16_t key, std::int16_t shift = 0) { In().KeyUp(key, shift); }
    Trace Take() { return std::exchange(trace, {}); }

    FakeWindowServices ws;
    win::HWND form;
    Trace trace;
    std::unique_ptr<TracedButton> button;
};

TEST_F(InputTest, LeftClickOnACommandButton) {
    Move(0, 5, 6);
    EXPECT_EQ(Take(), (Trace{"MouseOnButton(True)", "redraw", "MouseMove(0,0,5,6)"}));
    EXPECT_TRUE(S().Input.HoverLit);
    EXPECT_EQ(S().Input.StateFlags, buttons::MouseOver);

    Down(Left);
    EXPECT_EQ(Take(), (Trace{"redraw", "MouseDown(1,0,5,6)"}));
    EXPECT_EQ(S().Input.StateFlags, buttons::MouseOver | buttons::HeldDown);
    EXPECT_TRUE(S().Input.ButtonDown);
    EXPECT_EQ(ws.Capture(), button->hwnd);

    Up(Left);
    EXPECT_EQ(Take(), (Trace{"redraw", "MouseUp(1,0,5,6)", "Click"}));
    EXPECT_EQ(S().Input.StateFlags, buttons::MouseOver);
    EXPECT_FALSE(S().Input.ButtonDown);
    EXPECT_EQ(ws.Capture(), win::HWND{});
}

TEST_F(InputTest, RightClickHasNoPressedLookAndNoClick) {
    Down(Right);
    Up(Right);
    EXPECT_EQ(Take(), (Trace{"MouseDown(2,0,5,6)", "MouseUp(2,0,5,6)"}));
    EXPECT_EQ(S().Input.StateFlags, 0);
    EXPECT_EQ(S().Input.LastButton, Right);
}

// What a host delivers for a double click: press and release, the double click in place of the
// second press, then its release.
TEST_F(InputTest, LeftDoubleClickGivesOneClickAndThePressedLookOnTheSecondPress) {
    ws.SetCursor({17, 19});
    Down(Left);
    Up(Left);
    In().DblClick();
    EXPECT_EQ(S().Input.LastButton, -1);
    EXPECT_TRUE(S().Input.ButtonDown);
    Up(Left);
    EXPECT_EQ(Take(), (Trace{"redraw", "MouseDown(1,0,5,6)", "redraw", "MouseUp(1,0,5,6)", "Click", "DoubleClick(1)",
                             "redraw", "MouseDown(1,0,7,9)", "redraw", "MouseUp(1,0,5,6)"}));
    // The next press starts over: its click counts.
    Down(Left);
    Up(Left);
    EXPECT_EQ(Take(), (Trace{"redraw", "MouseDown(1,0,5,6)", "redraw", "MouseUp(1,0,5,6)", "Click"}));
}

TEST_F(InputTest, RightDoubleClickReportsButtonTwoWithoutThePressedLook) {
    ws.SetCursor({12, 13});
    Down(Right);
    Up(Right);
    In().DblClick();
    EXPECT_EQ(Take(), (Trace{"MouseDown(2,0,5,6)", "MouseUp(2,0,5,6)", "DoubleClick(2)", "MouseDown(2,0,2,3)"}));
    EXPECT_EQ(S().Input.StateFlags, 0);
    EXPECT_FALSE(S().Input.ButtonDown);
}

TEST_F(InputTest, CheckButtonClickedTwiceTogglesValueAndClicksTwice) {
    SetMode(ButtonMode::ModeCheckBox);
    for (int i = 0; i < 2; ++i) {
        Down(Left);
        Up(Left);
    }
    // A check button is not redrawn on release: the Value change redraws it.
    EXPECT_EQ(Take(), (Trace{"redraw", "MouseDown(1,0,5,6)", "MouseUp(1,0,5,6)", "redraw", "Value=True", "Click",
                             "redraw", "MouseDown(1,0,5,6)", "MouseUp(1,0,5,6)", "redraw", "Value=False", "Click"}));
}

TEST_F(InputTest, ClickingAnOptionButtonThatIsOnDoesNothing) {
    SetMode(ButtonMode::ModeOption);
    (*button)->SetValue(true);
    Take();
    Down(Left);
    Up(Left);
    EXPECT_EQ(Take(), (Trace{"redraw", "MouseDown(1,0,5,6)", "MouseUp(1,0,5,6)"}));
    EXPECT_TRUE(S().Props.Value);
}

struct KeyCase {
    const char* name;
    ButtonMode mode;
    std::vector<std::int16_t> downs;
    std::vector<std::int16_t> ups;
    Trace expected;
};

class KeySequences : public InputTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeySequences, EventsAndRedrawsInOrder) {
    const KeyCase& c = GetParam();
    SetMode(c.mode);
    Take();
    for (auto k : c.downs) KeyDown(k);
    for (auto k : c.ups) KeyUp(k);
    EXPECT_EQ(Take(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeySequences,
    ::testing::Values(
        KeyCase{"SpaceOnCommand", ButtonMode::ModeCommand, {32}, {32}, {"redraw", "KeyDown(32,0)", "redraw", "Click", "KeyUp(32,0)"}},
        KeyCase{"SpaceOnCheck", ButtonMode::ModeCheckBox, {32}, {32},
                {"redraw", "KeyDown(32,0)", "KeyUp(32,0)", "redraw", "Value=True", "Click"}},
        KeyCase{"SpaceHeldRepeatsKeyDownOnly", ButtonMode::ModeCommand, {32, 32, 32}, {32},
                {"redraw", "KeyDown(32,0)", "KeyDown(32,0)", "KeyDown(32,0)", "redraw", "Click", "KeyUp(32,0)"}},
        KeyCase{"ShiftIsReportedDownButNotUp", ButtonMode::ModeCommand, {16}, {16}, {"KeyDown(16,0)"}},
        KeyCase{"ArrowsAreNeverReported", ButtonMode::ModeCommand, {37, 38, 39, 40}, {37, 38, 39, 40}, {}},
        KeyCase{"ArrowUpSelectsAnOptionButtonThatIsOff", ButtonMode::ModeOption, {39}, {39},
                {"redraw", "Value=True", "Click"}},
        KeyCase{"OtherKeyUpWhileSpaceHeldOnlyLiftsTheLook", ButtonMode::ModeCommand, {32, 65}, {65},
                {"redraw", "KeyDown(32,0)", "KeyDown(65,0)", "KeyUp(65,0)"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputTest, ArrowKeysArePostedToTheContainerWithTheirScanCodes) {
    for (std::int16_t k : {37, 38, 39, 40}) KeyDown(k);
    using P = FakeWindowServices::PostedMessage;
    EXPECT_EQ(ws.Posted(), (std::vector<P>{{form, win::WM_KEYDOWN, 37, 0x004B0001},
                                           {form, win::WM_KEYDOWN, 38, 0x00480001},
                                           {form, win::WM_KEYDOWN, 39, 0x004D0001},
                                           {form, win::WM_KEYDOWN, 40, 0x00500001}}));
}

TEST_F(InputTest, KeyCodesChangedByTheContainerReachTheHost) {
    struct Swallow : buttons::ButtonEvents {
        void KeyDown(std::int16_t& k, std::int16_t&) override { k = 0; }
    } swallow;
    (*button)->SetEventListener(&swallow);
    std::int16_t key = 65, shift = 1;
    In().KeyDown(key, shift);
    EXPECT_EQ(key, 0);
}

struct AccessCase {
    const char* name;
    ButtonMode mode;
    bool defaultLook;
    std::int16_t key;
    Trace expected;
};

class AccessKeys : public InputTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(AccessKeys, Sequence) {
    const AccessCase& c = GetParam();
    SetMode(c.mode);
    if (c.defaultLook) S().Input.StateFlags |= buttons::DefaultLook;
    Take();
    In().AccessKeyPress(c.key);
    EXPECT_EQ(Take(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AccessKeys,
    ::testing::Values(AccessCase{"LetterOnCommand", ButtonMode::ModeCommand, false, 'L', {"redraw", "Click"}},
                      AccessCase{"LetterOnDefaultCommand", ButtonMode::ModeCommand, true, 'L', {"Click"}},
                      AccessCase{"EnterOnDefaultCommand", ButtonMode::ModeCommand, true, 13, {"Click"}},
                      AccessCase{"EscOnCancelCommand", ButtonMode::ModeCommand, false, 27, {"Click"}},
                      AccessCase{"EnterOnCheck", ButtonMode::ModeCheckBox, true, 13, {}},
                      AccessCase{"EscOnOption", ButtonMode::ModeOption, false, 27, {}},
                      AccessCase{"LetterOnCheck", ButtonMode::ModeCheckBox, false, 'C',
                                 {"redraw", "redraw", "Value=True", "Click"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputTest, MouseMoveOnTheRightAndBottomEdgesCountsAsInside) {
    Move(0, 100, 40);
    EXPECT_TRUE(S().Input.HoverLit);
    Take();
    TracedButton other(ws, form, {200, 200, 300, 240}, trace, "B:");
    float x = 100.5f, y = 0, nx = -0.5f;
    std::int16_t b = 0, s = 0;
    other.Input().MouseMove(b, s, x, y);
    other.Input().MouseMove(b, s, nx, y);
    EXPECT_EQ(Take(), (Trace{"B:MouseMove(0,0,100.5,0)", "B:MouseMove(0,0,-0.5,0)"}));
    EXPECT_FALSE(other.Fields().HoverLit);
}

TEST_F(InputTest, AmbientChanges) {
    button->host.SetDisplayAsDefault(true);
    In().AmbientChanged("displayasdefault");
    EXPECT_EQ(S().Input.StateFlags, buttons::DefaultLook);
    S().Props.ShowFocusRect = false;
    In().AmbientChanged("DisplayAsDefault");
    EXPECT_EQ(S().Input.StateFlags, 0);

    button->host.SetAmbientBackColor(0x00123456);
    In().AmbientChanged("BackColor");
    EXPECT_EQ(S().Container.BackColor, 0x00123456u);
    S().Props.ButtonShape = ToInt(buttons::ButtonShapeKind::ShapeOvalOutline);
    In().AmbientChanged("BACKCOLOR");
    In().AmbientChanged("ForeColor");
    EXPECT_EQ(Take(), (Trace{"redraw", "redraw", "redraw"})) << "BackColor redraws only the oval shapes";
}

// Nothing is raised after the handler destroyed the button: a command button would still have
// its KeyUp to raise after the click.
TEST_F(InputTest, AClickHandlerMayDestroyTheButton) {
    const std::pair<ButtonMode, Trace> rows[] = {
        {ButtonMode::ModeCheckBox, {"redraw", "KeyDown(32,0)", "KeyUp(32,0)", "redraw", "Value=True", "Click"}},
        {ButtonMode::ModeCommand, {"redraw", "KeyDown(32,0)", "redraw", "Click"}},
    };
    for (const auto& [mode, expected] : rows) {
        button = std::make_unique<TracedButton>(ws, form, gdi::RECT{10, 10, 110, 50}, trace);
        SetMode(mode);
        button->listener.onClick = [this] { button.reset(); };
        KeyDown(32);
        KeyUp(32);
        EXPECT_EQ(button, nullptr);
        EXPECT_EQ(Take(), expected);
        EXPECT_EQ(ws.TimerCount(), 0u);
    }
}

TEST_F(InputTest, DestroyingAHoveredButtonStopsItsTimer) {
    Move(0, 5, 5);
    const win::HWND hwnd = button->hwnd;
    ASSERT_TRUE(ws.HasTimer(hwnd, buttons::HoverTimerId));
    button->button.reset();
    EXPECT_FALSE(ws.HasTimer(hwnd, buttons::HoverTimerId));
}

}  // namespace
