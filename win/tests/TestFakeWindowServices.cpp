#include <gtest/gtest.h>

#include <vector>

#include "win/testing/FakeWindowServices.h"

namespace {

using win::FakeWindowServices;
using win::HWND;

struct Tick {
    HWND hwnd;
    std::uintptr_t id;
    std::uint32_t time;
    friend bool operator==(const Tick&, const Tick&) = default;
};
std::vector<Tick> g_ticks;

void Record(win::WindowServices&, HWND hwnd, std::uint32_t message, std::uintptr_t id, std::uint32_t time) {
    EXPECT_EQ(message, win::WM_TIMER);
    g_ticks.push_back({hwnd, id, time});
}

// A callback that stops its own timer, as hover tracking does when the pointer has gone.
void KillSelf(win::WindowServices& ws, HWND hwnd, std::uint32_t, std::uintptr_t id, std::uint32_t time) {
    g_ticks.push_back({hwnd, id, time});
    ws.KillTimer(hwnd, id);
}

class FakeWindowServicesTest : public ::testing::Test {
protected:
    void SetUp() override { g_ticks.clear(); }
    FakeWindowServices ws;
};

TEST_F(FakeWindowServicesTest, TimersFireOnTheVirtualClockOnly) {
    HWND a = ws.CreateWindow({0, 0, 10, 10});
    HWND b = ws.CreateWindow({20, 0, 30, 10});
    ASSERT_EQ(ws.SetTimer(a, 237, 50, Record), 237u);
    ASSERT_EQ(ws.SetTimer(b, 237, 30, Record), 237u);
    ws.AdvanceTime(49);
    EXPECT_EQ(g_ticks, (std::vector<Tick>{{b, 237, 30}}));
    ws.AdvanceTime(51);
    EXPECT_EQ(g_ticks, (std::vector<Tick>{{b, 237, 30}, {a, 237, 50}, {b, 237, 60}, {b, 237, 90}, {a, 237, 100}}));
    EXPECT_EQ(ws.Now(), 100u);
}

TEST_F(FakeWindowServicesTest, SettingATimerAgainReplacesItAndKillingStopsIt) {
    HWND a = ws.CreateWindow({0, 0, 10, 10});
    ws.SetTimer(a, 237, 50, Record);
    ws.AdvanceTime(40);
    ws.SetTimer(a, 237, 50, Record);  // restarts the period
    ws.AdvanceTime(40);
    EXPECT_TRUE(g_ticks.empty());
    EXPECT_EQ(ws.TimerCount(), 1u);
    EXPECT_TRUE(ws.KillTimer(a, 237));
    EXPECT_FALSE(ws.KillTimer(a, 237));
    ws.AdvanceTime(1000);
    EXPECT_TRUE(g_ticks.empty());
    EXPECT_EQ(ws.SetTimer(HWND{0xDEAD}, 1, 50, Record), 0u) << "no timer on a window that does not exist";
}

TEST_F(FakeWindowServicesTest, ACallbackMayKillItsOwnTimer) {
    HWND a = ws.CreateWindow({0, 0, 10, 10});
    ws.SetTimer(a, 237, 50, KillSelf);
    ws.AdvanceTime(500);
    EXPECT_EQ(g_ticks.size(), 1u);
    EXPECT_FALSE(ws.HasTimer(a, 237));
}

TEST_F(FakeWindowServicesTest, WindowFromPointFindsTheTopmostWindowUnderTheCursor) {
    HWND form = ws.CreateWindow({0, 0, 200, 100});
    HWND button = ws.CreateWindow({10, 10, 60, 40}, form);
    HWND cover = ws.CreateWindow({50, 0, 100, 50});
    EXPECT_EQ(ws.WindowFromPoint({20, 20}), button);
    EXPECT_EQ(ws.WindowFromPoint({55, 20}), cover) << "a window stacked above the button covers it";
    EXPECT_EQ(ws.WindowFromPoint({59, 39}), cover);
    EXPECT_EQ(ws.WindowFromPoint({60, 60}), form) << "right and bottom edges are outside";
    EXPECT_EQ(ws.WindowFromPoint({500, 500}), HWND{});
    ws.BringToTop(button);
    EXPECT_EQ(ws.WindowFromPoint({55, 20}), button);

    gdi::POINT p{25, 17};
    ASSERT_TRUE(ws.ScreenToClient(button, &p));
    EXPECT_EQ(p, (gdi::POINT{15, 7}));
}

TEST_F(FakeWindowServicesTest, PropertiesAreNamedWithoutRegardToCaseAndDieWithTheirWindow) {
    HWND frame = ws.CreateWindow({0, 0, 100, 100});
    HWND child = ws.CreateWindow({0, 0, 10, 10}, frame);
    EXPECT_TRUE(ws.SetPropA(frame, "qk_OptCount", 3));
    EXPECT_EQ(ws.GetPropA(frame, "QK_OPTCOUNT"), 3u);
    EXPECT_EQ(ws.GetPropA(frame, "qk_Obj1"), 0u);
    ws.SetPropA(child, "qk_TimerID", 237);
    ws.SetTimer(child, 237, 50, Record);
    EXPECT_EQ(ws.RemovePropA(frame, "qk_optcount"), 3u);
    EXPECT_EQ(ws.RemovePropA(frame, "qk_optcount"), 0u);
    ws.SetPropA(frame, "qk_Obj1", 0x1234);
    ws.DestroyWindow(frame);
    EXPECT_FALSE(ws.IsWindow(child)) << "children go with their parent";
    EXPECT_EQ(ws.PropertyCount(frame), 0u);
    EXPECT_EQ(ws.GetPropA(frame, "qk_Obj1"), 0u);
    EXPECT_EQ(ws.TimerCount(), 0u);
    EXPECT_FALSE(ws.SetPropA(frame, "qk_Obj1", 1));
}

TEST_F(FakeWindowServicesTest, CaptureAndPostedMessages) {
    HWND a = ws.CreateWindow({0, 0, 10, 10});
    HWND b = ws.CreateWindow({0, 0, 10, 10});
    EXPECT_EQ(ws.SetCapture(a), HWND{});
    EXPECT_EQ(ws.SetCapture(b), a);
    EXPECT_TRUE(ws.ReleaseCapture());
    EXPECT_EQ(ws.Capture(), HWND{});
    EXPECT_TRUE(ws.PostMessageA(a, win::WM_KEYDOWN, win::VK_LEFT, 0x004B0001));
    EXPECT_FALSE(ws.PostMessageA(HWND{0xBAD}, win::WM_KEYDOWN, win::VK_LEFT, 0x004B0001));
    ASSERT_EQ(ws.Posted().size(), 1u);
    EXPECT_EQ(ws.Posted()[0], (FakeWindowServices::PostedMessage{a, win::WM_KEYDOWN, win::VK_LEFT, 0x004B0001}));
}

}  // namespace
