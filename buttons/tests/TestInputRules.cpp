// The input rules alone: sequences of notifications fed to React with a tiny applier in place of
// the control, judged by the calls out they ask for and the fields they leave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buttons/InputMachine.h"

namespace {

using buttons::ButtonMode;
using buttons::Interaction;
using namespace buttons::input;

constexpr std::int16_t L = 1;
constexpr std::int16_t R = 2;

Notification N(Kind kind, std::int16_t button = 0, float x = 5, float y = 5) {
    Notification n;
    n.kind = kind;
    n.button = button;
    n.x = x;
    n.y = y;
    return n;
}
Notification Down(std::int16_t b) { return N(Kind::MouseDown, b); }
// A release over the button's shape; one elsewhere is Away.
Notification Up(std::int16_t b) {
    Notification n = N(Kind::MouseUp, b);
    n.flag = true;
    return n;
}
Notification Away(std::int16_t b, float x, float y) { return N(Kind::MouseUp, b, x, y); }
Notification Move(std::int16_t b) { return N(Kind::MouseMove, b); }
Notification Key(Kind kind, std::int16_t key) {
    Notification n = N(kind);
    n.key = key;
    return n;
}
Notification Flagged(Kind kind, bool flag) {
    Notification n = N(kind);
    n.flag = flag;
    return n;
}
const Notification Click = N(Kind::Click);
const Notification Dbl = N(Kind::DoubleClick);
const Notification TickAway = Flagged(Kind::HoverTick, false);

const char* Name(Event e) {
    static const char* const names[] = {"MouseDown", "MouseUp", "MouseMove", "MouseOnButton", "KeyDown",
                                        "KeyPress",  "KeyUp",   "Click",     "DoubleClick"};
    return names[static_cast<int>(e)];
}

// Applies the steps as the control does, fields in place and follow-ups at once; every call out
// is written down as a word.
struct Applier {
    View view;
    bool groupHasOneOn = false;
    std::string calls;
    bool delayed = false;  // the drawing switch, which is the control's, not input's

    void Feed(const Notification& n) {
        Steps steps;
        React(view, n, steps);
        for (const Step& s : steps) Apply(s, n);
    }
    void Say(const std::string& word) { calls += (calls.empty() ? "" : " ") + word; }
    void Apply(const Step& s, const Notification& from) {
        Interaction& f = view.fields;
        switch (s.op) {
            case Op::SetFlags: f.StateFlags = static_cast<std::uint8_t>(f.StateFlags | s.arg); break;
            case Op::ClearFlags: f.StateFlags = static_cast<std::uint8_t>(f.StateFlags & ~s.arg); break;
            case Op::SetHoverLit: f.HoverLit = s.arg != 0; break;
            case Op::SetButtonDown: f.ButtonDown = s.arg != 0; break;
            case Op::SetLastButton: f.LastButton = static_cast<std::int16_t>(s.arg); break;
            case Op::SetDelayFlag: delayed = s.arg != 0; break;
            case Op::SetDoubleClickPress: f.DoubleClickPress = s.arg != 0; break;
            case Op::Redraw: Say("redraw"); break;
            case Op::Capture: Say("capture"); break;
            case Op::ReleaseCapture: Say("release"); break;
            case Op::StartHover: Say("hover+"); break;
            case Op::StopHover: Say("hover-"); break;
            case Op::PostArrowKey: Say("post:" + std::to_string(s.arg)); break;
            case Op::ZeroKeyCode: Say("zerokey"); break;
            case Op::SetContainerBackColor: Say("backcolor"); break;
            case Op::SetValue:
                view.value = s.arg != 0;
                Say(view.value ? "value=1" : "value=0");
                break;
            case Op::QueryGroup:
                Say("query");
                Feed(Flagged(Kind::GroupAnswered, groupHasOneOn));
                break;
            case Op::Raise: {
                std::string word = Name(s.event);
                if (s.event == Event::MouseOnButton) word += "(" + std::to_string(s.arg) + ")";
                else if (s.own && s.event != Event::Click) word += "(" + std::to_string(s.button) + ")";
                Say(word);
                break;
            }
            case Op::Then: {
                Notification next = N(static_cast<Kind>(s.arg), 0, s.x, s.y);
                if (next.kind == Kind::AfterMouseUp) next.button = from.button;
                Feed(next);
                break;
            }
        }
    }
};

// What a sequence leaves behind, beside the calls.
struct Fields {
    std::uint8_t flags;
    bool hoverLit;
    bool buttonDown;
    std::int16_t lastButton;
    bool doubleClickPress;
    bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Fields& f) {
    return os << "{flags " << int(f.flags) << ", lit " << f.hoverLit << ", down " << f.buttonDown << ", last "
              << f.lastButton << ", dblpress " << f.doubleClickPress << "}";
}

struct RuleCase {
    const char* name;
    ButtonMode mode;
    bool value;
    bool lit;  // the pointer is over the button and the hover has begun
    std::vector<Notification> feed;
    const char* calls;
    Fields after;
    bool valueAfter;
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class InputRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(InputRules, CallsOutAndFieldsLeft) {
    const RuleCase& c = GetParam();
    Applier a;
    a.view.mode = buttons::ToInt(c.mode);
    a.view.value = c.value;
    a.view.scaleWidth = 100;
    a.view.scaleHeight = 40;
    if (c.lit) {
        a.view.fields.StateFlags = buttons::MouseOver;
        a.view.fields.HoverLit = true;
    }
    for (const Notification& n : c.feed) a.Feed(n);
    const Interaction& f = a.view.fields;
    EXPECT_EQ(a.calls, c.calls);
    EXPECT_EQ((Fields{f.StateFlags, f.HoverLit, f.ButtonDown, f.LastButton, f.DoubleClickPress}), c.after);
    EXPECT_EQ(a.view.value, c.valueAfter);
}

constexpr std::uint8_t Over = buttons::MouseOver;
constexpr std::uint8_t Held = buttons::HeldDown;
constexpr auto Cmd = ButtonMode::ModeCommand;
constexpr auto Check = ButtonMode::ModeCheckBox;
constexpr auto Opt = ButtonMode::ModeOption;

// Click follows a left press and its release over the button; the host's own Click is not needed.
INSTANTIATE_TEST_SUITE_P(
    Sequences, InputRules,
    ::testing::Values(
        RuleCase{"LeftClick", Cmd, false, true, {Down(L), Up(L)},
                 "redraw capture MouseDown release redraw MouseUp Click", {Over, true, false, L, false}, false},
        RuleCase{"ReleaseOverWithoutAPressClicksNot", Cmd, false, true, {Up(L), Move(L), Up(L)},
                 "release redraw MouseUp MouseMove release redraw MouseUp", {Over, true, false, L, false}, false},
        RuleCase{"PressAndReleaseOutsideClicksNot", Cmd, false, false, {Down(L), Away(L, 150, 5)},
                 "redraw capture MouseDown release redraw MouseUp", {0, false, false, L, false}, false},
        RuleCase{"ARightPressEndedByALeftReleaseClicksNot", Cmd, false, true, {Down(R), Up(L)},
                 "MouseDown release redraw MouseUp", {Over, true, false, L, false}, false},
        RuleCase{"HoverBeginsOnTheFirstMoveOnly", Cmd, false, false, {Move(0), Move(0)},
                 "MouseOnButton(1) hover+ redraw MouseMove MouseMove", {Over, true, false, 0, false}, false},
        RuleCase{"LeftDoubleClickIsOneClickAndASecondPressedLook", Cmd, false, true,
                 {Down(L), Up(L), Dbl, Up(L)},
                 "redraw capture MouseDown release redraw MouseUp Click "
                 "DoubleClick(1) redraw capture MouseDown(1) release redraw MouseUp",
                 {Over, true, false, -1, false}, false},
        RuleCase{"RightDoubleClickHasNoPressedLook", Cmd, false, true, {Down(R), Up(R), Dbl, Up(R)},
                 "MouseDown MouseUp DoubleClick(2) MouseDown(2) MouseUp", {Over, true, false, R, false}, false},
        RuleCase{"ReleasedAfterLeavingEndsIdle", Cmd, false, true, {Down(L), TickAway, Away(L, -5, 50)},
                 "redraw capture MouseDown hover- MouseOnButton(0) redraw release redraw MouseUp",
                 {0, false, false, L, false}, false},
        RuleCase{"HeldLeavingAndComingBackIsPressedAgainThenClicks", Cmd, false, true,
                 {Down(L), TickAway, Move(L), Up(L)},
                 "redraw capture MouseDown hover- MouseOnButton(0) redraw "
                 "MouseOnButton(1) hover+ redraw MouseMove release redraw MouseUp Click",
                 {Over, true, false, L, false}, false},
        // Capture taken away mid-press: no release arrives, the press stays held until the next one.
        RuleCase{"ALostReleaseIsEndedByTheNextClick", Cmd, false, true,
                 {Down(L), TickAway, Move(0), Down(L), Up(L)},
                 "redraw capture MouseDown hover- MouseOnButton(0) redraw MouseOnButton(1) hover+ redraw "
                 "MouseMove redraw capture MouseDown release redraw MouseUp Click",
                 {Over, true, false, L, false}, false},
        RuleCase{"CheckClickedTwice", Check, false, true, {Down(L), Up(L), Down(L), Up(L)},
                 "redraw capture MouseDown release MouseUp value=1 Click "
                 "redraw capture MouseDown release MouseUp value=0 Click",
                 {Over, true, false, L, false}, false},
        RuleCase{"OptionThatIsOnTakesNoClick", Opt, true, true, {Down(L), Up(L)},
                 "redraw capture MouseDown release MouseUp", {Over, true, false, L, false}, true},
        RuleCase{"SpaceOnAnUnlitCommand", Cmd, false, false,
                 {Key(Kind::KeyDown, 32), Key(Kind::KeyDown, 32), Key(Kind::KeyUp, 32)},
                 "redraw KeyDown KeyDown redraw Click KeyUp", {0, false, false, L, false}, false},
        RuleCase{"SpaceOnALitCheckReportsTheKeyFirst", Check, false, true,
                 {Key(Kind::KeyDown, 32), Key(Kind::KeyUp, 32)}, "redraw KeyDown KeyUp zerokey value=1 Click",
                 {Over, true, false, L, false}, true},
        RuleCase{"SpaceReleasedWithoutItsPressIsOnlyAKey", Cmd, false, false, {Key(Kind::KeyUp, 32)}, "KeyUp",
                 {0, false, false, 0, false}, false},
        RuleCase{"ArrowOnAnOptionThatIsOff", Opt, false, false, {Key(Kind::KeyDown, 39), Key(Kind::KeyUp, 39)},
                 "zerokey post:39 zerokey value=1 Click", {0, false, false, L, false}, true},
        RuleCase{"ShiftIsReportedDownOnly", Cmd, false, false, {Key(Kind::KeyDown, 16), Key(Kind::KeyUp, 16)},
                 "KeyDown zerokey", {0, false, false, 0, false}, false},
        RuleCase{"EnterOnACheckDoesNothing", Check, false, false, {Key(Kind::AccessKey, 13)}, "",
                 {0, false, false, 0, false}, false},
        RuleCase{"FocusOnAnOptionOfAGroupWithNoneOn", Opt, false, false, {N(Kind::GotFocus)},
                 "query value=1 Click", {0, false, false, L, false}, true},
        RuleCase{"TickWhileStillOverDoesNothing", Cmd, false, true, {Flagged(Kind::HoverTick, true)}, "",
                 {Over, true, false, 0, false}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InputRulesGroup, FocusOnAnOptionOfAGroupWithOneOnOnlyAsks) {
    Applier a;
    a.view.mode = buttons::ToInt(Opt);
    a.groupHasOneOn = true;
    a.Feed(N(Kind::GotFocus));
    EXPECT_EQ(a.calls, "query");
    EXPECT_FALSE(a.view.value);
}

}  // namespace
