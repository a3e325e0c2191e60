// The container window under Wine: the screen size its buttons draw for.
#include <gtest/gtest.h>

#include <vector>

#include "buttons/qkButtons_H.h"
#include "gdi/Draw.h"
#include "gdi/Screen.h"
#include "Win32TestWindow.h"

namespace hosts::win32 {
namespace {

using testing::ButtonText;
using testing::TestWindow;

std::vector<gdi::COLORREF> Row(const ButtonWindow& button, int y) {
    std::vector<gdi::COLORREF> row;
    for (int x = 0; x < 100; ++x) row.push_back(gdi::GetPixel(button.hDC(), x, y));
    return row;
}

bool IsSystemScreen(gdi::ScreenSize s) {
    return s.Width == ::GetSystemMetrics(SM_CXSCREEN) && s.Height == ::GetSystemMetrics(SM_CYSCREEN);
}

// A 100-pixel left-to-right blend takes 1-pixel strips on the 1024-pixel desktop and 2-pixel
// strips on a 300-pixel screen, so its face shows which size the drawing layer answered with.
TEST(FormWindow, ButtonsDrawForTheSystemScreenWhenMadeAndAfterADisplayChange) {
    gdi::SetScreenSize({300, 300});
    TestWindow w(ButtonText("Blend", "", 0, "        Gradient = 1\n        cGradient = &H00000000&\n"));
    EXPECT_TRUE(IsSystemScreen(gdi::GetScreenSize()));
    ButtonWindow& blend = w.Button("Blend");
    const std::vector<gdi::COLORREF> onSystem = Row(blend, 20);

    gdi::SetScreenSize({300, 300});
    blend.Control().Refresh();
    ASSERT_NE(Row(blend, 20), onSystem) << "the face does not depend on the screen size";

    ::SendMessageW(w.Top(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_TRUE(IsSystemScreen(gdi::GetScreenSize()));
    EXPECT_EQ(Row(blend, 20), onSystem) << "drawn again for the new screen";
    gdi::SetScreenSize({});
}

}  // namespace
}  // namespace hosts::win32
