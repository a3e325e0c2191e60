// The qkButtons_H window with a real control inside a real container, under Wine: mouse, keys,
// Tab, access keys, Enter and Esc through the window's dialog rules, the default look, and the cursor.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "buttons/HostProperties.h"
#include "buttons/qkButtons_H.h"
#include "Win32TestWindow.h"

namespace hosts::win32 {
namespace {

using testing::ButtonText;
using testing::TestWindow;
using testing::TextBoxText;
using Clicks = std::vector<std::string>;

// Entry, then Ok (Default), Back (Cancel) and Other, in tab order.
std::string Controls() {
    return TextBoxText("Entry", 0) + ButtonText("Ok", "&Ligar", 1, "        Default = True\n") +
           ButtonText("Back", "&Voltar", 2, "        Cancel = True\n") + ButtonText("Other", "&Outro", 3);
}

TEST(ButtonWindow, ReleasesOverTheButtonClickOncePerClickOrDoubleClick) {
    struct Step {
        UINT message;
        int x;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
        Clicks expected;
    } cases[] = {
        {"click", {{WM_LBUTTONDOWN, 10}, {WM_LBUTTONUP, 10}}, {"Ok"}},
        {"double click", {{WM_LBUTTONDOWN, 10}, {WM_LBUTTONUP, 10}, {WM_LBUTTONDBLCLK, 10}, {WM_LBUTTONUP, 10}}, {"Ok"}},
        {"released beside it", {{WM_LBUTTONDOWN, 10}, {WM_LBUTTONUP, 150}}, {}},
        {"released over it without a press on it", {{WM_LBUTTONUP, 10}}, {}},
        {"pressed, out and back", {{WM_LBUTTONDOWN, 10}, {WM_MOUSEMOVE, 150}, {WM_MOUSEMOVE, 10}, {WM_LBUTTONUP, 10}},
         {"Ok"}},
    };
    TestWindow w(Controls());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Step& s : c.steps) w.Mouse("Ok", s.message, s.x, 10);
        EXPECT_EQ(w.TakeClicks(), c.expected);
        EXPECT_EQ(::GetCapture(), nullptr);
    }
}

TEST(ButtonWindow, DialogKeysReachTheirButtons) {
    const struct {
        const char* name;
        const char* focus;
        UINT message;
        WPARAM key;
        Clicks expected;
    } cases[] = {
        {"Enter in a text box: the Default button", "Entry", WM_KEYDOWN, VK_RETURN, {"Ok"}},
        {"Enter on a command button: that button", "Other", WM_KEYDOWN, VK_RETURN, {"Other"}},
        {"Enter on the Default button", "Ok", WM_KEYDOWN, VK_RETURN, {"Ok"}},
        {"Esc: the Cancel button", "Entry", WM_KEYDOWN, VK_ESCAPE, {"Back"}},
        {"access key from a text box", "Entry", WM_SYSKEYDOWN, 'L', {"Ok"}},
        {"access key from another button", "Other", WM_SYSKEYDOWN, 'V', {"Back"}},
        {"a plain letter on a button is its own key", "Other", WM_CHAR, 'v', {}},
    };
    TestWindow w(Controls());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(w.Window().SetFocus(c.focus));
        w.Pump();
        w.Key(c.message, c.key);
        EXPECT_EQ(w.TakeClicks(), c.expected);
    }
}

TEST(ButtonWindow, SpaceOnTheFocusedButtonClicksIt) {
    TestWindow w(Controls());
    ASSERT_TRUE(w.Window().SetFocus("Other"));
    w.Pump();
    w.Press(VK_SPACE);
    EXPECT_EQ(w.TakeClicks(), Clicks{"Other"});
}

TEST(ButtonWindow, TabFollowsTabOrderAndTheDefaultLookFollowsTheFocus) {
    TestWindow w(Controls());
    ASSERT_TRUE(w.Window().SetFocus("Entry"));
    w.Pump();
    // Which button shows the default look while each control has the focus.
    const struct {
        const char* focus;
        const char* looksDefault;
    } steps[] = {{"Ok", "Ok"}, {"Back", "Back"}, {"Other", "Other"}, {"Entry", "Ok"}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.focus);
        w.Press(VK_TAB);
        EXPECT_EQ(::GetFocus(), w.Child(s.focus));
        for (const char* b : {"Ok", "Back", "Other"}) {
            EXPECT_EQ(w.Button(b).DisplayAsDefault(), std::string_view(b) == s.looksDefault) << b;
        }
    }
    EXPECT_TRUE(w.TakeClicks().empty());
}

HCURSOR CursorShown(::HWND hwnd) {
    ::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
}

TEST(ButtonWindow, CustomPointerShowsTheIconAndRefusalsChangeNothing) {
    TestWindow w(Controls());
    ButtonWindow& b = w.Button("Ok");
    const ::HWND hwnd = w.Child("Ok");
    const buttons::PictureRef icon =
        buttons::LoadPicture(std::filesystem::path(DIZO_SOURCE_DIR) / "relay/forms/art/ligar.ico");
    b.SetMouseIcon(icon);
    b.SetMousePointer(buttons::CustomMousePointer);
    const auto image = buttons::CustomCursorImage(buttons::CustomMousePointer, icon);
    ASSERT_TRUE(image);
    const HCURSOR custom = CursorShown(hwnd);
    ASSERT_NE(custom, ::LoadCursorA(nullptr, IDC_ARROW));
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(custom, &info));
    BITMAP colour{};
    ::GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(static_cast<int>(info.xHotspot), image->HotX);
    EXPECT_EQ(static_cast<int>(info.yHotspot), image->HotY);
    EXPECT_EQ(colour.bmWidth, image->Width);
    EXPECT_EQ(colour.bmHeight, image->Height);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);

    EXPECT_THROW(b.SetMousePointer(42), std::invalid_argument);
    auto bitmap = std::make_shared<buttons::Picture>();  // the check reads only the type
    EXPECT_THROW(b.SetMouseIcon(bitmap), std::invalid_argument);
    EXPECT_EQ(b.MousePointer(), buttons::CustomMousePointer);
    EXPECT_EQ(b.MouseIcon(), icon);
    EXPECT_EQ(CursorShown(hwnd), custom);

    b.SetMousePointer(11);
    EXPECT_EQ(CursorShown(hwnd), ::LoadCursorA(nullptr, IDC_WAIT));
    b.SetMousePointer(buttons::CustomMousePointer);
    b.SetMouseIcon(nullptr);  // a custom pointer without its icon: the arrow
    EXPECT_EQ(CursorShown(hwnd), ::LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace hosts::win32
