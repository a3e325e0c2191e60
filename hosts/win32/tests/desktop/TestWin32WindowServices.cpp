// The window services over the platform's own, under Wine: the timer's callback through its
// thunk, and named window properties.
#include <gtest/gtest.h>

#include "Win32TestWindow.h"

namespace hosts::win32 {
namespace {

using testing::TestWindow;

struct TimerCall {
    win::WindowServices* services = nullptr;
    win::HWND hwnd;
    std::uint32_t message = 0;
    std::uintptr_t id = 0;
    int count = 0;
};
TimerCall lastCall;

void RecordTimer(win::WindowServices& services, win::HWND hwnd, std::uint32_t message, std::uintptr_t id,
                 std::uint32_t) {
    lastCall = TimerCall{&services, hwnd, message, id, lastCall.count + 1};
}

// Waits for the platform's timer message, not for a time: a guard timer ends a wait that
// would otherwise never end.
void RunUntilCalled(int count) {
    const UINT_PTR guard = ::SetTimer(nullptr, 0, 10000, nullptr);
    MSG m;
    while (lastCall.count < count && ::GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_TIMER && m.hwnd == nullptr && m.wParam == guard) break;
        ::DispatchMessageW(&m);
    }
    ::KillTimer(nullptr, guard);
}

TEST(Win32WindowServices, TimerCallsItsCallbackThroughTheThunkUntilKilled) {
    TestWindow w("");
    Win32WindowServices& services = w.Services();
    const win::HWND top = w.Window().Handle();
    lastCall = {};
    ASSERT_EQ(services.SetTimer(top, 7, 1, &RecordTimer), 7u);
    RunUntilCalled(1);
    EXPECT_EQ(lastCall.count, 1);
    EXPECT_EQ(lastCall.services, &services);
    EXPECT_EQ(lastCall.hwnd, top);
    EXPECT_EQ(lastCall.message, static_cast<std::uint32_t>(WM_TIMER));
    EXPECT_EQ(lastCall.id, 7u);
    EXPECT_TRUE(services.KillTimer(top, 7));
    EXPECT_EQ(services.TimerCount(), 0u);
    EXPECT_EQ(services.TimerCallback(top, 7), nullptr);

    // Refused: no callback, or a window that is not there.
    EXPECT_EQ(services.SetTimer(top, 8, 1, nullptr), 0u);
    EXPECT_EQ(services.SetTimer(win::HWND(), 8, 1, &RecordTimer), 0u);
    ASSERT_EQ(services.SetTimer(top, 9, 1000, &RecordTimer), 9u);
    services.ForgetWindow(top);  // a window being destroyed takes its timers with it
    EXPECT_EQ(services.TimerCount(), 0u);
}

TEST(Win32WindowServices, PropertiesAreNamedWithoutRegardToCase) {
    TestWindow w("");
    Win32WindowServices& services = w.Services();
    const win::HWND top = w.Window().Handle();
    EXPECT_EQ(services.GetPropA(top, "qkTimer"), 0u);
    ASSERT_TRUE(services.SetPropA(top, "qkTimer", 0x1234));
    const struct {
        const char* name;
        std::uintptr_t value;
    } reads[] = {{"qkTimer", 0x1234}, {"QKTIMER", 0x1234}, {"qkTimer2", 0}};
    for (const auto& r : reads) EXPECT_EQ(services.GetPropA(top, r.name), r.value) << r.name;
    ASSERT_TRUE(services.SetPropA(top, "QKTimer", 0x99));  // the same property, replaced
    EXPECT_EQ(services.RemovePropA(top, "qktimer"), 0x99u);
    EXPECT_EQ(services.GetPropA(top, "qkTimer"), 0u);
}

}  // namespace
}  // namespace hosts::win32
