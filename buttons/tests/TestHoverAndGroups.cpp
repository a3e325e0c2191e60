#include <gtest/gtest.h>

#include <memory>

#include "buttons/OptionGroup.h"
#include "buttons/testing/TracedButton.h"

namespace {

using buttons::ButtonMode;
using buttons::OptionAction;
using buttons::OptionToggle;
using buttons::ToInt;
using buttons::testing::TracedButton;
using buttons::testing::Trace;
using win::FakeWindowServices;

class HoverTest : public ::testing::Test {
protected:
    HoverTest()
        : form(ws.CreateWindow({0, 0, 400, 300})),
          a(ws, form, {10, 10, 110, 50}, trace, "A:"),
          b(ws, form, {110, 10, 210, 50}, trace, "B:") {
        ws.SetCursor({300, 200});
    }
    void MoveOver(TracedButton& c, int screenX, int screenY, std::int16_t button = 0) {
        ws.SetCursor({screenX, screenY});
        gdi::POINT p{screenX, screenY};
        ws.ScreenToClient(c.hwnd, &p);
        float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
        std::int16_t shift = 0;
        c.Input().MouseMove(button, shift, x, y);
    }
    Trace Take() { return std::exchange(trace, {}); }

    FakeWindowServices ws;
    win::HWND form;
    Trace trace;
    TracedButton a, b;
};

TEST_F(HoverTest, LeavingIsNoticedAtTheNextTickAndNoSooner) {
    MoveOver(a, 20, 20);
    EXPECT_EQ(Take(), (Trace{"A:MouseOnButton(True)", "A:redraw", "A:MouseMove(0,0,10,10)"}));
    EXPECT_EQ(ws.GetPropA(a.hwnd, "qk_TimerID"), 237u);
    EXPECT_NE(ws.GetPropA(a.hwnd, "qk_ClassID"), 0u);

    ws.AdvanceTime(50);  // still over the button: the tick changes nothing
    EXPECT_TRUE(Take().empty());
    ws.SetCursor({300, 200});
    ws.AdvanceTime(49);
    EXPECT_TRUE(Take().empty());
    ws.AdvanceTime(1);
    EXPECT_EQ(Take(), (Trace{"A:MouseOnButton(False)", "A:redraw"}));
    EXPECT_FALSE(a.Fields().HoverLit);
    EXPECT_EQ(a.Fields().StateFlags, 0);
    EXPECT_EQ(ws.TimerCount(), 0u);
    EXPECT_EQ(ws.GetPropA(a.hwnd, "qk_TimerID"), 237u) << "the properties stay after tracking ends";
}

// The window outlives the control's teardown (the host destroys it afterwards).
TEST_F(HoverTest, TeardownTakesTheHoverLinkOffTheWindow) {
    MoveOver(a, 20, 20);
    a.button.reset();
    EXPECT_EQ(ws.GetPropA(a.hwnd, "qk_ClassID"), 0u);
    EXPECT_EQ(ws.GetPropA(a.hwnd, "qk_TimerID"), 0u);
    EXPECT_EQ(ws.TimerCount(), 0u);
}

TEST_F(HoverTest, FurtherMovesWhileTrackingDoNotRestartTheTimer) {
    MoveOver(a, 20, 20);
    ws.AdvanceTime(30);
    MoveOver(a, 30, 30);
    ws.SetCursor({300, 200});
    ws.AdvanceTime(20);
    EXPECT_EQ(Take(), (Trace{"A:MouseOnButton(True)", "A:redraw", "A:MouseMove(0,0,10,10)", "A:MouseMove(0,0,20,20)",
                             "A:MouseOnButton(False)", "A:redraw"}));
}

TEST_F(HoverTest, AWindowCoveringTheButtonCountsAsLeaving) {
    MoveOver(a, 20, 20);
    Take();
    ws.CreateWindow({15, 15, 40, 40});  // a pop-up over the button, under the cursor
    ws.AdvanceTime(50);
    EXPECT_EQ(Take(), (Trace{"A:MouseOnButton(False)", "A:redraw"}));
}

TEST_F(HoverTest, HeldWhileLeavingThenComingBack) {
    MoveOver(a, 20, 20);
    std::int16_t left = 1, shift = 0;
    float x = 10, y = 10;
    a.Input().MouseDown(left, shift, x, y);
    Take();

    // Pressed-away: the pressed look goes at the next tick, the capture and HeldDown stay.
    ws.SetCursor({300, 200});
    ws.AdvanceTime(50);
    EXPECT_EQ(Take(), (Trace{"A:MouseOnButton(False)", "A:redraw"}));
    EXPECT_EQ(a.Fields().StateFlags, buttons::HeldDown);
    EXPECT_FALSE(a.Fields().ButtonDown);
    EXPECT_EQ(ws.Capture(), a.hwnd);

    // Back with the button still held: pressed again.
    MoveOver(a, 25, 25, 1);
    EXPECT_EQ(Take(), (Trace{"A:MouseOnButton(True)", "A:redraw", "A:MouseMove(1,0,15,15)"}));
    EXPECT_EQ(a.Fields().StateFlags, buttons::HeldDown | buttons::MouseOver);
    EXPECT_TRUE(a.Fields().ButtonDown);
}

TEST_F(HoverTest, ReleasedAwayEndsIdleWithoutClick) {
    MoveOver(a, 20, 20);
    std::int16_t left = 1, shift = 0;
    float x = 10, y = 10, outX = 250, outY = 150;
    a.Input().MouseDown(left, shift, x, y);
    ws.SetCursor({300, 200});
    ws.AdvanceTime(50);
    Take();
    a.Input().MouseUp(left, shift, outX, outY);  // the host delivers no click for a release outside
    EXPECT_EQ(Take(), (Trace{"A:redraw", "A:MouseUp(1,0,250,150)"}));
    EXPECT_EQ(a.Fields().StateFlags, 0);
    EXPECT_EQ(ws.Capture(), win::HWND{});
}

TEST_F(HoverTest, MovingStraightToTheNeighbourSwapsTracking) {
    MoveOver(a, 100, 20);
    MoveOver(b, 115, 20);
    EXPECT_TRUE(a.Fields().HoverLit);
    EXPECT_TRUE(b.Fields().HoverLit);
    ws.AdvanceTime(50);
    EXPECT_EQ(Take(), (Trace{"A:MouseOnButton(True)", "A:redraw", "A:MouseMove(0,0,90,10)", "B:MouseOnButton(True)",
                             "B:redraw", "B:MouseMove(0,0,5,10)", "A:MouseOnButton(False)", "A:redraw"}));
    EXPECT_FALSE(a.Fields().HoverLit);
    EXPECT_TRUE(b.Fields().HoverLit);
}

TEST_F(HoverTest, NoPollWhileThePointerIsElsewhere) {
    const auto before = ws.Queries();
    ws.AdvanceTime(10000);
    EXPECT_EQ(ws.Queries(), before);
    MoveOver(a, 20, 20);
    ws.AdvanceTime(500);
    EXPECT_EQ(ws.Queries(), before + 20) << "one cursor and one window query a tick";
}

// Option groups: registry on the container window.
class GroupTest : public ::testing::Test {
protected:
    GroupTest() : form(ws.CreateWindow({0, 0, 400, 300})), frame(ws.CreateWindow({0, 100, 200, 200}, form)) {}
    // Named by its left edge ("0:", "20:"), so the trace shows whose redraw and Value it was.
    std::unique_ptr<TracedButton> Option(win::HWND container, int x, bool value = false) {
        auto c = std::make_unique<TracedButton>(ws, container, gdi::RECT{x, 0, x + 10, 10}, trace,
                                                std::to_string(x) + ":");
        (*c)->State().Props.Value = value;  // as loaded: stored without the group pass
        (*c)->SetMode(ToInt(ButtonMode::ModeOption));
        return c;
    }
    std::uintptr_t Entry(win::HWND w, int i) { return ws.GetPropA(w, buttons::OptionEntryName(i)); }
    static std::uintptr_t Id(TracedButton& c) { return c.Id(); }
    // The entries of one button's name.
    Trace Of(const std::string& name) const {
        Trace out;
        for (const auto& t : trace)
            if (t.rfind(name, 0) == 0) out.push_back(t.substr(name.size()));
        return out;
    }

    FakeWindowServices ws;
    win::HWND form, frame;
    Trace trace;
};

TEST_F(GroupTest, ThreeMembersOnOneFrameExcludeEachOther) {
    auto b1 = Option(frame, 0), b2 = Option(frame, 20), b3 = Option(frame, 40);
    EXPECT_EQ(ws.GetPropA(frame, "qk_OptCount"), 3u);
    EXPECT_EQ(Entry(frame, 1), Id(*b1));
    EXPECT_EQ(Entry(frame, 2), Id(*b2));
    EXPECT_EQ(Entry(frame, 3), Id(*b3));
    (*b1)->SetValue(true);
    (*b2)->SetValue(true);
    EXPECT_FALSE((*b1)->GetValue());
    EXPECT_TRUE((*b2)->GetValue());
    EXPECT_FALSE((*b3)->GetValue());
    EXPECT_EQ(ws.GetPropA(frame, "qk_OptCount"), 3u) << "selecting leaves the registry as it is";
    EXPECT_TRUE(OptionToggle(*b3->button, OptionAction::Query));
}

TEST_F(GroupTest, GroupsFollowTheContainerWindow) {
    auto onForm = Option(form, 0), onFrame = Option(frame, 0);
    (*onForm)->SetValue(true);
    (*onFrame)->SetValue(true);
    EXPECT_TRUE((*onForm)->GetValue());
    EXPECT_EQ(ws.GetPropA(form, "qk_OptCount"), 1u);
    EXPECT_EQ(ws.GetPropA(frame, "qk_OptCount"), 1u);
}

TEST_F(GroupTest, LeavingRenumbersAndTheLastLeaverRemovesTheCount) {
    auto b1 = Option(frame, 0), b2 = Option(frame, 20), b3 = Option(frame, 40);
    (*b2)->SetMode(ToInt(ButtonMode::ModeCheckBox));
    EXPECT_EQ(ws.GetPropA(frame, "qk_OptCount"), 2u);
    EXPECT_EQ(Entry(frame, 1), Id(*b1));
    EXPECT_EQ(Entry(frame, 2), Id(*b3));
    EXPECT_EQ(Entry(frame, 3), 0u);
    (*b1)->SetMode(ToInt(ButtonMode::ModeCommand));
    (*b3)->SetMode(ToInt(ButtonMode::ModeCheckBox));
    EXPECT_EQ(ws.PropertyCount(frame), 0u);
}

TEST_F(GroupTest, JoiningWhileOffTouchesNobodyJoiningWhileOnSwitchesTheOthersOff) {
    auto b1 = Option(frame, 0, true);
    trace.clear();
    auto b2 = Option(frame, 20);
    EXPECT_TRUE(Of("0:").empty());
    EXPECT_TRUE((*b1)->GetValue());
    // Several members loaded on: the last one loaded stays on.
    auto b3 = Option(frame, 40, true);
    EXPECT_FALSE((*b1)->GetValue());
    EXPECT_TRUE((*b3)->GetValue());
}

TEST_F(GroupTest, FocusOnAnOptionButtonClicksItOnlyWhenNoMemberIsOn) {
    auto b1 = Option(frame, 0), b2 = Option(frame, 20);
    trace.clear();
    (*b1)->Input().GotFocus();
    // Every other member's setter runs with False, already off or not, and redraws it.
    EXPECT_EQ(trace, (Trace{"20:redraw", "20:Value=False", "0:redraw", "0:Value=True", "0:Click"}));
    trace.clear();
    (*b2)->Input().GotFocus();
    EXPECT_TRUE(trace.empty());
    EXPECT_TRUE((*b1)->GetValue());
}

TEST_F(GroupTest, ADestroyedMemberLeavesItsGroup) {
    auto b1 = Option(frame, 0), b2 = Option(frame, 20), b3 = Option(frame, 40);
    b2.reset();
    EXPECT_EQ(ws.GetPropA(frame, "qk_OptCount"), 2u);
    EXPECT_EQ(Entry(frame, 2), Id(*b3));
    (*b3)->SetValue(true);  // the walk must not reach the destroyed button (ASan would see it)
    EXPECT_TRUE((*b3)->GetValue());
}

TEST_F(GroupTest, LeavingAGroupOneIsNotInChangesNothing) {
    auto b1 = Option(frame, 0), b2 = Option(frame, 20);
    TracedButton stranger(ws, frame, {60, 0, 70, 10}, trace);
    OptionToggle(*stranger.button, OptionAction::Leave);
    EXPECT_EQ(ws.GetPropA(frame, "qk_OptCount"), 2u);
    EXPECT_EQ(Entry(frame, 1), Id(*b1));
    EXPECT_EQ(Entry(frame, 2), Id(*b2));
}

TEST_F(GroupTest, ADestroyedContainerLeavesNoPropertiesAndItsMembersDieSafely) {
    auto b1 = Option(frame, 0), b2 = Option(frame, 20);
    ws.DestroyWindow(frame);
    EXPECT_EQ(ws.PropertyCount(frame), 0u);
    b1.reset();
    b2.reset();
}

TEST_F(GroupTest, AFaultyRegistryEndsTheWalkSilently) {
    auto b1 = Option(frame, 0), b2 = Option(frame, 20, false);
    ws.RemovePropA(frame, "qk_Obj1");  // a gap
    (*b1)->State().Props.Value = true;
    EXPECT_FALSE(OptionToggle(*b2->button, OptionAction::Query)) << "the walk stops at the gap";
    ws.SetPropA(frame, "qk_OptCount", 0x8000);  // beyond a 16-bit count
    EXPECT_FALSE(OptionToggle(*b1->button, OptionAction::Join));
    EXPECT_EQ(ws.GetPropA(frame, "qk_OptCount"), 0x8000u);
}

}  // namespace
