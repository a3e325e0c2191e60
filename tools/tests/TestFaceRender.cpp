#include <gtest/gtest.h>

#include "forms/Description.h"
#include "gdi/Gdi.h"
#include "gdi/testing/Pixels.h"
#include "tools/FaceRender.h"

namespace {

constexpr const char* kWindow = R"(DizoForm 1
Begin Form Form1
    BackColor = &H00FF0000&
    Begin Button plain
        Width = 1200
        Height = 450
        Caption = "Ok"
        Mode = 1
        Value = False
    End
    Begin Frame Frame1
        BackColor = &H0000FF00&
        Begin Button oval
            Width = 900
            Height = 450
            Shape = 4
            Mode = 0
            Value = False
        End
    End
    Begin Button slant
        Width = 300
        Height = 345
        Shape = 1
    End
    Begin Label nosize
    End
End
)";

using gdi::test::PixelAt;

bool SamePixels(gdi::HBITMAP a, gdi::HBITMAP b) {
    return gdi::GetBitmapView(a).width == gdi::GetBitmapView(b).width &&
           gdi::test::PixelsOf(a, gdi::test::kRgb) == gdi::test::PixelsOf(b, gdi::test::kRgb);
}

TEST(FaceRender, TwipsRoundToTheNearestPixel) {
    const std::pair<std::int32_t, int> cases[] = {{0, 0}, {7, 0}, {8, 1}, {15, 1}, {1455, 97}, {615, 41}, {-8, -1}};
    for (const auto& [twips, pixels] : cases) EXPECT_EQ(tools::TwipsToPixels(twips), pixels) << twips;
}

TEST(FaceRender, StatesParseByName) {
    for (auto state : {buttons::FaceState::Idle, buttons::FaceState::Default, buttons::FaceState::Hover,
                       buttons::FaceState::Pressed, buttons::FaceState::Disabled, buttons::FaceState::Value}) {
        EXPECT_EQ(buttons::ParseFaceState(buttons::FaceStateName(state)), state);
    }
    EXPECT_FALSE(buttons::ParseFaceState("Pressed").has_value());
}

TEST(FaceRender, SizeStatesAndTheContainersBackColour) {
    const auto doc = forms::ParseDescription(kWindow, "w.frm", "");
    const auto buttons = tools::FindButtons(doc.Root);
    ASSERT_EQ(buttons.size(), 3u);

    const gdi::ObjectCounts before = gdi::LiveObjects();
    {
        const auto idle = tools::RenderFace(doc, *buttons[0], {});
        gdi::BITMAP bm;
        gdi::GetObjectA(idle.get(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 80);
        EXPECT_EQ(bm.bmHeight, 30);

        const auto pressed = tools::RenderFace(doc, *buttons[0], {tools::FaceState::Pressed, {}, 0, 0, false});
        const auto checked = tools::RenderFace(doc, *buttons[0], {tools::FaceState::Idle, true, 0, 0, false});
        const auto again = tools::RenderFace(doc, *buttons[0], {});
        EXPECT_TRUE(SamePixels(idle.get(), again.get()));
        EXPECT_FALSE(SamePixels(idle.get(), checked.get()));
        EXPECT_FALSE(SamePixels(idle.get(), pressed.get()));
        const auto disabled = tools::RenderFace(doc, *buttons[0], {tools::FaceState::Disabled, {}, 0, 0, false});
        EXPECT_FALSE(SamePixels(idle.get(), disabled.get()));

        // The oval's corners lie outside its window region and show its frame's colour.
        const auto oval = tools::RenderFace(doc, *buttons[1], {tools::FaceState::Idle, {}, 40, 20, false});
        EXPECT_EQ(PixelAt(oval.get(), 0, 0), gdi::RGB(0, 255, 0));

        // 20 pixels wide as stored, 30 once the slant has widened it: the picture is not cut.
        const auto slant = tools::RenderFace(doc, *buttons[2], {});
        gdi::GetObjectA(slant.get(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 30);
        EXPECT_EQ(PixelAt(slant.get(), 29, 10), gdi::RGB(0, 60, 115));  // the right outline
    }
    EXPECT_EQ(gdi::LiveObjects(), before) << gdi::ToString(gdi::LiveObjects());
}

TEST(FaceRender, BadRequestsAreRefused) {
    const auto doc = forms::ParseDescription(kWindow, "w.frm", "");
    EXPECT_THROW(tools::RenderFace(doc, *doc.Root.FindByName("nosize"), {}), std::invalid_argument);
    const auto noGeometry = forms::ParseDescription("DizoForm 1\nBegin Button b\nEnd\n", "b.frm", "");
    EXPECT_THROW(tools::RenderFace(noGeometry, noGeometry.Root, {}), std::invalid_argument);
    EXPECT_NO_THROW(tools::RenderFace(noGeometry, noGeometry.Root, {tools::FaceState::Hover, {}, 20, 10, true}));
}

}  // namespace
