// What every implementation of WindowServices must do alike, as a typed GoogleTest suite: named
// properties, timers kept per window, capture and a window's end. A test program instantiates it
// with a World per implementation: World() sets one up; Services(), NewWindow() and
// Destroy(hwnd) give its services and windows. Owns nothing.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "win/WindowServices.h"

namespace win::testing {

inline void NoTick(WindowServices&, HWND, std::uint32_t, std::uintptr_t, std::uint32_t) {}

template <class World>
class WindowServicesContract : public ::testing::Test {
protected:
    World world;
    WindowServices& services() { return world.Services(); }
};

TYPED_TEST_SUITE_P(WindowServicesContract);

TYPED_TEST_P(WindowServicesContract, PropertiesAreNamedWithoutRegardToCasePerWindow) {
    WindowServices& ws = this->services();
    const HWND a = this->world.NewWindow();
    const HWND b = this->world.NewWindow();
    const std::uintptr_t wide = std::numeric_limits<std::uintptr_t>::max();
    ASSERT_TRUE(ws.SetPropA(a, "qk_OptCount", 3));
    ASSERT_TRUE(ws.SetPropA(b, "qk_OptCount", wide));
    EXPECT_EQ(ws.GetPropA(a, "QK_OPTCOUNT"), 3u);
    EXPECT_EQ(ws.GetPropA(b, "qk_optcount"), wide) << "a whole pointer-sized value";
    EXPECT_EQ(ws.GetPropA(a, "qk_Obj1"), 0u) << "absent reads as 0";
    ASSERT_TRUE(ws.SetPropA(a, "QK_OptCount", 4));
    EXPECT_EQ(ws.GetPropA(a, "qk_OptCount"), 4u) << "the same name, set again";
    EXPECT_EQ(ws.RemovePropA(a, "qk_optcount"), 4u);
    EXPECT_EQ(ws.RemovePropA(a, "qk_optcount"), 0u);
    EXPECT_EQ(ws.GetPropA(a, "qk_OptCount"), 0u);
    EXPECT_EQ(ws.GetPropA(b, "qk_OptCount"), wide) << "another window's property is untouched";
}

TYPED_TEST_P(WindowServicesContract, ADestroyedWindowTakesItsPropertiesAndTimers) {
    WindowServices& ws = this->services();
    const HWND a = this->world.NewWindow();
    const HWND b = this->world.NewWindow();
    ws.SetPropA(a, "qk_TimerID", 237);
    ASSERT_EQ(ws.SetTimer(a, 237, 50, NoTick), 237u);
    ws.SetPropA(b, "qk_TimerID", 238);
    this->world.Destroy(a);
    EXPECT_EQ(ws.GetPropA(a, "qk_TimerID"), 0u);
    EXPECT_FALSE(ws.KillTimer(a, 237));
    EXPECT_FALSE(ws.SetPropA(a, "qk_TimerID", 1)) << "no properties on a window that is gone";
    EXPECT_EQ(ws.SetTimer(a, 237, 50, NoTick), 0u) << "no timer on a window that is gone";
    EXPECT_EQ(ws.GetPropA(b, "qk_TimerID"), 238u);
}

TYPED_TEST_P(WindowServicesContract, ATimerIsKeptPerWindowReplacedBySettingAgainAndKilledOnce) {
    WindowServices& ws = this->services();
    const HWND a = this->world.NewWindow();
    const HWND b = this->world.NewWindow();
    EXPECT_EQ(ws.SetTimer(a, 237, 50, NoTick), 237u);
    EXPECT_EQ(ws.SetTimer(a, 237, 30, NoTick), 237u);
    EXPECT_EQ(ws.SetTimer(b, 237, 50, NoTick), 237u);
    EXPECT_TRUE(ws.KillTimer(a, 237));
    EXPECT_FALSE(ws.KillTimer(a, 237)) << "the second setting replaced the first";
    EXPECT_TRUE(ws.KillTimer(b, 237)) << "the same identifier on another window is another timer";
    EXPECT_FALSE(ws.KillTimer(a, 999));
}

TYPED_TEST_P(WindowServicesContract, CaptureAnswersWhoHadItBefore) {
    WindowServices& ws = this->services();
    const HWND a = this->world.NewWindow();
    const HWND b = this->world.NewWindow();
    EXPECT_EQ(ws.SetCapture(a), HWND{});
    EXPECT_EQ(ws.SetCapture(b), a);
    EXPECT_TRUE(ws.ReleaseCapture());
    EXPECT_EQ(ws.SetCapture(a), HWND{}) << "released: nobody had it";
    ws.ReleaseCapture();
}

REGISTER_TYPED_TEST_SUITE_P(WindowServicesContract, PropertiesAreNamedWithoutRegardToCasePerWindow,
                            ADestroyedWindowTakesItsPropertiesAndTimers,
                            ATimerIsKeptPerWindowReplacedBySettingAgainAndKilledOnce, CaptureAnswersWhoHadItBefore);

}  // namespace win::testing
