// The container window under Wine: the screen size its buttons draw for, and one scale for its
// geometry and every font in it.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "buttons/qkButtons_H.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
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

SIZE WindowSize(::HWND h) {
    RECT r;
    ::GetWindowRect(h, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// At 144 dpi a twip is a tenth of a pixel: boxes and fonts alike are half as large again as at 96.
TEST(FormWindow, GeometryAndEveryFontScaleByTheScreensDpi) {
    const std::string controls =
        ButtonText("B", "Ligar", 0, "        Font = Font(\"Times New Roman\", 12, Bold)\n") +
        "    Begin Label L\n        Left = 120\n        Top = 120\n        Width = 3000\n        Height = 400\n"
        "        Caption = \"Sobre\"\n        Font = Font(\"MS Sans Serif\", 12, Bold)\n    End\n";
    const struct {
        int dpi;
        SIZE button;
        SIZE label;
        LONG fontHeight;  // 12 pt
    } cases[] = {{96, {100, 40}, {200, 27}, -16}, {144, {150, 60}, {300, 40}, -24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        TestWindow w(controls, forms::Scale{c.dpi});
        const SIZE button = WindowSize(w.Child("B"));
        const SIZE label = WindowSize(w.Child("L"));
        EXPECT_EQ(std::pair(button.cx, button.cy), std::pair(c.button.cx, c.button.cy));
        EXPECT_EQ(std::pair(label.cx, label.cy), std::pair(c.label.cx, c.label.cy));
        gdi::LOGFONTA caption;
        ASSERT_GT(gdi::GetObjectA(gdi::GetCurrentFont(w.Button("B").Control().Buffer().Dc()), sizeof caption, &caption), 0);
        EXPECT_EQ(caption.lfHeight, c.fontHeight) << "the button's caption";
        LOGFONTW labelFont{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(w.Child("L"), WM_GETFONT, 0, 0)), sizeof labelFont, &labelFont);
        EXPECT_EQ(labelFont.lfHeight, c.fontHeight) << "the label's";
    }
    gdi::SetScreenDpi(96);
}

}  // namespace
}  // namespace hosts::win32
