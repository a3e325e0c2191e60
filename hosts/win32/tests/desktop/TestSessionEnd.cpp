// The program's end with the session, and its one copy per desktop: the watch hears Windows on a
// thread of its own, the main window ends as its close box does, a second copy finds the first.
#include <gtest/gtest.h>

#include <atomic>

#include "Win32TestWindow.h"
#include "hosts/win32/OneCopy.h"
#include "hosts/win32/SessionWatch.h"

namespace hosts::win32 {
namespace {

TEST(SessionWatch, HearsTheSessionEndingWhileTheWindowsThreadIsHeld) {
    std::atomic<int> heard{0};
    const SessionWatch watch([&] { ++heard; });
    // This thread plays Windows and pumps nothing, as a window's thread held by speech would.
    const ::HWND window = ::FindWindowW(SessionWatch::kWindowClass, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::SendMessageW(window, WM_QUERYENDSESSION, 0, 0), TRUE);  // never stands in the way
    EXPECT_EQ(heard, 1);
    ::SendMessageW(window, WM_ENDSESSION, FALSE, 0);  // another program cancelled the shutdown
    EXPECT_EQ(heard, 1);
    ::SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(heard, 2);
}

TEST(FormWindow, TheSessionsEndReachesTheProgramOnlyWhenItDoesEnd) {
    testing::TestWindow probe("");
    int ends = 0;
    probe.Window().OnSessionEnd = [&] { ++ends; };
    ::SendMessageW(probe.Top(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(ends, 0);
    ::SendMessageW(probe.Top(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(ends, 1);
}

TEST(OneCopy, ASecondCopyFindsTheFirstAndBringsItsWindowBack) {
    testing::TestWindow first("");
    ::ShowWindow(first.Top(), SW_MINIMIZE);
    auto copy = std::make_unique<OneCopy>();
    ASSERT_TRUE(copy->First());
    MarkFirstCopy(reinterpret_cast<std::uintptr_t>(first.Top()));
    {
        const OneCopy second;
        EXPECT_FALSE(second.First());
        second.ShowFirst();
        EXPECT_FALSE(::IsIconic(first.Top()));
    }
    copy.reset();
    EXPECT_TRUE(OneCopy().First());  // the first gone, the next start is the first again
}

}  // namespace
}  // namespace hosts::win32
