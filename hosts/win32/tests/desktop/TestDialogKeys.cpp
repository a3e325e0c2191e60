// The window's dialog rules with real text boxes under Wine: what a box keeps for itself (typing,
// Enter in a box of several lines) and what goes to the window (Tab, Esc, access keys, arrows
// a button hands on), and the outer size the window logic sets.
#include <gtest/gtest.h>

#include "Win32TestWindow.h"

namespace hosts::win32 {
namespace {

using testing::ButtonText;
using testing::TestWindow;
using testing::TextBoxText;
using Clicks = std::vector<std::string>;

// Many (several lines), One, then the buttons Ok ("&Ligar") and Other, in tab order.
std::string Controls() {
    return TextBoxText("Many", 0, true) + TextBoxText("One", 1) + ButtonText("Ok", "&Ligar", 2) +
           ButtonText("Other", "Outro", 3);
}

void HoldShift(bool down) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

TEST(DialogKeys, ABoxOfSeveralLinesKeepsTypingAndEnterAndGivesUpTabAndEsc) {
    TestWindow w(Controls());
    ASSERT_TRUE(w.Window().SetFocus("Many"));
    w.Pump();
    w.Type("um");
    w.Press(VK_RETURN);
    w.Press(VK_ESCAPE);  // no Cancel button: nobody takes it, and the window stays
    EXPECT_EQ(w.CloseBoxes(), 0);
    EXPECT_TRUE(::IsWindow(w.Top()));
    EXPECT_EQ(::GetFocus(), w.Child("Many"));
    w.Press(VK_TAB);
    EXPECT_EQ(::GetFocus(), w.Child("One"));
    w.Type("dois");
    EXPECT_EQ(w.Window().Text("Many"), "um\r\n");
    EXPECT_EQ(w.Window().Text("One"), "dois");
    w.Press(VK_RETURN);  // one line, no Default button: nothing
    EXPECT_TRUE(w.TakeClicks().empty());
}

TEST(DialogKeys, TabAndShiftTabWalkTheTabOrderRound) {
    TestWindow w(Controls());
    ASSERT_TRUE(w.Window().SetFocus("Many"));
    w.Pump();
    for (const char* next : {"One", "Ok", "Other", "Many"}) {
        w.Press(VK_TAB);
        EXPECT_EQ(::GetFocus(), w.Child(next)) << next;
    }
    HoldShift(true);
    for (const char* previous : {"Other", "Ok", "One"}) {
        w.Press(VK_TAB);
        EXPECT_EQ(::GetFocus(), w.Child(previous)) << previous;
    }
    HoldShift(false);
    EXPECT_TRUE(w.TakeClicks().empty());
}

TEST(DialogKeys, AccessKeysAndArrowsReachTheWindowFromBoxesAndButtons) {
    TestWindow w(Controls());
    ASSERT_TRUE(w.Window().SetFocus("Many"));
    w.Pump();
    w.Key(WM_SYSKEYDOWN, 'L');
    w.Key(WM_SYSKEYUP, 'L');
    EXPECT_EQ(w.TakeClicks(), Clicks{"Ok"});
    EXPECT_EQ(w.Window().Text("Many"), "");
    ASSERT_TRUE(w.Window().SetFocus("Ok"));
    w.Pump();
    w.Press(VK_RIGHT);  // the button hands the arrow to its container
    EXPECT_EQ(::GetFocus(), w.Child("Other"));
    w.Press(VK_DOWN);
    EXPECT_EQ(::GetFocus(), w.Child("Ok"));  // round, among the buttons only
    ASSERT_TRUE(w.Window().SetFocus("One"));
    w.Pump();
    w.Press(VK_LEFT);  // the caret's own
    EXPECT_EQ(::GetFocus(), w.Child("One"));
    EXPECT_TRUE(w.TakeClicks().empty());
}

SIZE Outer(::HWND h) {
    RECT r;
    ::GetWindowRect(h, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The stored outer sizes assume the classic decorations: what the logic sets gives the client
// area they mean, so the window comes back to its size at start.
TEST(DialogKeys, OuterSizesSetInTwipsComeBackToTheSizeAtStart) {
    TestWindow w(Controls());
    const SIZE start = Outer(w.Top());
    ASSERT_TRUE(w.Window().SetOuterWidth(12000));
    ASSERT_TRUE(w.Window().SetOuterHeight(3510));
    RECT client;
    ::GetClientRect(w.Top(), &client);
    EXPECT_EQ(client.right, forms::ClientWidthForOuter(forms::StandardScale, 12000));
    EXPECT_EQ(client.bottom, 200);
    ASSERT_TRUE(w.Window().SetOuterWidth(7150));
    const SIZE back = Outer(w.Top());
    EXPECT_EQ(back.cx, start.cx);
    EXPECT_EQ(back.cy, start.cy);
}

}  // namespace
}  // namespace hosts::win32
