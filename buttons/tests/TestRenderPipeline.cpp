#include <gtest/gtest.h>

#include <vector>

#include "buttons/testing/ControlRig.h"
#include "buttons/Colors.h"
#include "buttons/Render.h"

namespace {

using buttons::testing::ControlRig;
using gdi::RGB;

gdi::BITMAP BufferBitmap(const buttons::RenderBuffer& s) {
    gdi::BITMAP bm;
    gdi::GetObjectA(gdi::GetCurrentBitmap(s.Dc()), sizeof bm, &bm);
    return bm;
}

TEST(RenderPipeline, DerivedFaceColours) {
    struct Case {
        buttons::OleColor back;
        gdi::COLORREF face;
        gdi::COLORREF pressed;
    } cases[] = {
        {RGB(212, 208, 200), RGB(255, 255, 251), RGB(223, 224, 210)},
        {buttons::SysButtonFace, RGB(255, 255, 251), RGB(223, 224, 210)},  // the classic scheme's face
        {RGB(100, 100, 100), RGB(148, 148, 125), RGB(116, 117, 105)},
    };
    for (const auto& c : cases) {
        ControlRig rig;
        rig.button->SetBackColor(c.back);
        const auto& s = rig.button->State();
        EXPECT_EQ(s.Colours.Face, c.face) << std::hex << c.back;
        EXPECT_EQ(s.Colours.Pressed, c.pressed) << std::hex << c.back;
        // The hover face follows the locked hover colour; the value-true face never moves.
        EXPECT_EQ(s.Colours.HoverFace, s.Colours.Face) << std::hex << c.back;
        EXPECT_EQ(s.Colours.ValueTrue, RGB(223, 224, 214)) << std::hex << c.back;
    }
}

TEST(RenderPipeline, ContainerBackColourIsLookedUp) {
    ControlRig rig;
    EXPECT_EQ(rig.button->State().Container.BackColor, gdi::GetSysColor(15));
}

TEST(RenderPipeline, BufferMatchesTheClientSizeAndFollowsResize) {
    ControlRig rig(80, 30);
    const auto& s = rig.button->Buffer();
    ASSERT_TRUE(s.Dc());
    EXPECT_EQ(BufferBitmap(s).bmWidth, 80);
    EXPECT_EQ(BufferBitmap(s).bmHeight, 30);
    EXPECT_EQ(BufferBitmap(s).bmBitsPixel, 32);

    rig.host.SetWidthPixels(120);  // the host raises Resize from inside
    EXPECT_EQ(BufferBitmap(s).bmWidth, 120);

    // While drawing is delayed a resize does nothing; the old buffer stays.
    rig.button->DelayDrawing(true);
    rig.host.SetWidthPixels(50);
    EXPECT_EQ(BufferBitmap(s).bmWidth, 120);
    // Paint clears the delay and repaints, but only Resize replaces the buffer. The host shows
    // its DC itself once Paint returns: Paint never asks it to.
    const int before = rig.host.RefreshCount();
    rig.button->Paint();
    EXPECT_FALSE(rig.button->State().Drawing.Delayed);
    EXPECT_EQ(rig.host.RefreshCount(), before);
    rig.button->Resize();
    EXPECT_EQ(BufferBitmap(s).bmWidth, 50);
}

TEST(RenderPipeline, TheCopyReachesThePresentedPicture) {
    ControlRig rig(60, 24);
    rig.button->SetBackColor(RGB(40, 90, 200));
    const auto& s = rig.button->Buffer();
    int differing = 0;
    int faceColoured = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (rig.host.PresentedPixel(x, y) != gdi::GetPixel(s.Dc(), x, y)) ++differing;
            if (rig.host.PresentedPixel(x, y) != 0) ++faceColoured;  // the blank picture is black
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(faceColoured, 60 * 24 / 2);
}

TEST(RenderPipeline, TheBufferDcHoldsOneCreatedPenBrushFontAndTheBitmap) {
    const gdi::ObjectCounts before = gdi::LiveObjects();
    {
        ControlRig rig(80, 30);
        const auto& s = rig.button->Buffer();
        EXPECT_NE(gdi::GetCurrentPen(s.Dc()), s.OriginalPen());
        EXPECT_NE(gdi::GetCurrentBrush(s.Dc()), s.OriginalBrush());
        EXPECT_NE(gdi::GetCurrentFont(s.Dc()), s.OriginalFont());
        EXPECT_NE(gdi::GetCurrentBitmap(s.Dc()), s.OriginalBitmap());
        const gdi::ObjectCounts live = gdi::LiveObjects();
        EXPECT_EQ(live.pens - before.pens, 1);
        EXPECT_EQ(live.brushes - before.brushes, 1);
        EXPECT_EQ(live.fonts - before.fonts, 1);
        // Host DC and presented bitmap, plus the render buffer's DC and bitmap; the window region is the host's.
        EXPECT_EQ(live.dcs - before.dcs, 2);
        EXPECT_EQ(live.bitmaps - before.bitmaps, 2);
        EXPECT_EQ(live.regions - before.regions, 1);
    }
    EXPECT_EQ(gdi::LiveObjects(), before) << gdi::ToString(gdi::LiveObjects());
}

TEST(RenderPipeline, ObjectUseStaysConstantOverThousandsOfRedrawsResizesAndChanges) {
    const gdi::ObjectCounts before = gdi::LiveObjects();
    {
        ControlRig rig(90, 32);
        auto& b = *rig.button;
        b.SetCaption("&Ligar||agora");
        b.SetPicture(buttons::testing::MakeBitmapPicture(16, 16));
        const gdi::ObjectCounts baseline = gdi::LiveObjects();
        for (int i = 0; i < 1500; ++i) {
            b.Refresh();
            rig.host.SetWidthPixels(60 + i % 50);
            b.SetButtonShape(i % 7);
            b.SetFontStyle(i % 16);
            b.SetBackColor(static_cast<buttons::OleColor>(i * 2654435761u) & 0xFFFFFF);
            b.SetGradientMode(i % 5);
            b.SetPictureSize(i % 5);
            b.SetCaptionStyle(i % 3);
            b.SetEnabled(i % 2 == 0);
            b.State().Input.StateFlags = static_cast<std::uint8_t>(i % 8);
            b.Paint();
            // Back to the starting shape (an oval keeps a face clip region) before counting.
            b.SetButtonShape(0);
            b.SetEnabled(true);
            rig.host.SetWidthPixels(90);
            ASSERT_EQ(gdi::LiveObjects(), baseline) << "iteration " << i << ": " << gdi::ToString(gdi::LiveObjects());
        }
    }
    EXPECT_EQ(gdi::LiveObjects(), before) << gdi::ToString(gdi::LiveObjects());
}

TEST(RenderPipeline, TeardownOfANeverSizedButtonDeletesOnlyItsClipRegion) {
    const gdi::ObjectCounts before = gdi::LiveObjects();
    {
        win::FakeWindowServices windows;
        buttons::testing::HeadlessHost host(30, 30);
        const gdi::ObjectCounts withHost = gdi::LiveObjects();
        {
            buttons::qkButtons_H button(host, windows);
            button.InitProperties();
            button.Refresh();  // nothing to paint or copy yet
            EXPECT_FALSE(button.Buffer().Dc());
            button.Buffer().SetFaceClip(gdi::CreateRectRgn(0, 0, 3, 3));
        }
        EXPECT_EQ(gdi::LiveObjects(), withHost);
        EXPECT_EQ(host.RefreshCount(), 0);
    }
    EXPECT_EQ(gdi::LiveObjects(), before);
}

TEST(RenderPipeline, ReleaseTwiceAndSetDrawColorWithoutABufferAreHarmless) {
    const gdi::ObjectCounts before = gdi::LiveObjects();
    buttons::RenderBuffer none;
    buttons::SetDrawColor(none, true, gdi::HDC{}, 0, 0xFF, true);
    buttons::DrawBox(none, gdi::HDC{}, 0, 0, 4, 4, 0xFF);
    EXPECT_EQ(gdi::LiveObjects(), before);
    {
        ControlRig rig;
        rig.button->Buffer().Release();
        rig.button->Buffer().Release();
        rig.button->Refresh();
    }
    EXPECT_EQ(gdi::LiveObjects(), before);
}

TEST(RenderPipeline, DrawBoxPaintsExactlyTheRectangleInTheFillColour) {
    ControlRig rig(12, 8);
    auto& s = rig.button->Buffer();
    gdi::PatBlt(s.Dc(), 0, 0, 12, 8, gdi::BLACKNESS);
    buttons::DrawBox(s, s.Dc(), 2, 1, 6, 4, RGB(10, 200, 30));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 1 && y < 4;
            EXPECT_EQ(gdi::GetPixel(s.Dc(), x, y), inside ? RGB(10, 200, 30) : RGB(0, 0, 0)) << x << "," << y;
        }
    }
    // Mode 2 sets the text colour of the given DC, with system colours looked up.
    buttons::SetDrawColor(s, true, s.Dc(), 2, buttons::SysButtonText);
    EXPECT_EQ(gdi::GetTextColor(s.Dc()), gdi::GetSysColor(18));
}

// BoxRun is the fast path of a DrawBox loop: the same pixels, and the same objects left selected.
TEST(RenderPipeline, BoxRunPaintsAndLeavesWhatTheDrawBoxLoopDoes) {
    struct Box {
        int x1, y1, x2, y2;
        buttons::OleColor fill;
    };
    // Strips stand for one Add each: strip i is first moved by i widths or heights.
    struct Strips {
        gdi::RECT first;
        bool sideBySide;
        std::vector<gdi::COLORREF> colours;
    };
    struct Case {
        const char* name;
        std::vector<Box> boxes;
        bool clip;  // an elliptic clip region, as the oval shapes set
        Strips strips{};  // added after boxes
        std::vector<Box> after{};
    };
    std::vector<Box> overlapping;  // more than one batch holds
    for (int i = 0; i < 40; ++i) overlapping.push_back({i % 11, i % 7, i % 11 + 3, i % 7 + 2, RGB(6 * i, 250 - 6 * i, 99)});
    const Case cases[] = {
        {"rows", {{1, 1, 11, 2, RGB(200, 10, 10)}, {1, 2, 11, 3, RGB(190, 20, 10)}, {1, 3, 11, 4, RGB(180, 30, 10)}}, false},
        {"columns, clipped", {{0, 0, 1, 8, RGB(1, 2, 3)}, {1, 0, 2, 8, RGB(4, 5, 6)}, {2, 0, 3, 8, RGB(7, 8, 9)}}, true},
        {"two-pixel strips, inverted and empty", {{0, 0, 12, 2, 0xFF}, {12, 4, 0, 2, 0xFF00}, {3, 5, 3, 7, 0xFF0000}}, true},
        {"one box", {{2, 2, 9, 6, RGB(9, 99, 199)}}, false},
        {"system colour bit", {{0, 0, 6, 8, buttons::SysButtonFace}, {6, 0, 12, 8, 0x80000000 | RGB(5, 6, 7)}}, false},
        {"stacked rows after a box, clipped", {{0, 0, 12, 8, RGB(9, 9, 9)}}, true,
         {{1, 1, 11, 2}, false, {RGB(200, 0, 0), RGB(190, 0, 0), RGB(190, 0, 0), RGB(180, 0, 0), RGB(170, 0, 0)}}},
        {"two-pixel columns alone, past the right side", {}, false,
         {{0, 0, 2, 8}, true, {1, 2, 3, 4, 5, 6, RGB(7, 7, 7)}}},
        {"one strip between boxes", {{2, 2, 9, 6, RGB(9, 99, 199)}}, false, {{0, 0, 3, 8}, true, {RGB(1, 1, 1)}},
         {{5, 1, 10, 3, RGB(200, 100, 0)}}},
        {"overlapping boxes, then strips", overlapping, false, {{0, 2, 12, 3}, false, {RGB(1, 2, 3), RGB(3, 2, 1)}}},
        {"inverted rows, then a box, clipped", {}, true,
         {{11, 1, 1, 3}, false, {RGB(0, 0, 250), RGB(0, 250, 0), RGB(250, 0, 0)}}, {{1, 0, 3, 8, RGB(5, 5, 5)}}},
    };
    for (const auto& c : cases) {
        ControlRig loop(12, 8), run(12, 8);
        std::vector<gdi::COLORREF> pixels[2];
        gdi::ObjectCounts change[2];
        int side = 0;
        for (ControlRig* rig : {&loop, &run}) {
            auto& s = rig->button->Buffer();
            gdi::PatBlt(s.Dc(), 0, 0, 12, 8, gdi::BLACKNESS);
            if (c.clip) {
                const gdi::OwnedRgn oval(gdi::CreateEllipticRgn(0, 0, 12, 8));
                gdi::SelectClipRgn(s.Dc(), oval.get());
            }
            const gdi::ObjectCounts before = gdi::LiveObjects();
            if (rig == &loop) {
                for (const Box& b : c.boxes) buttons::DrawBox(s, s.Dc(), b.x1, b.y1, b.x2, b.y2, b.fill);
                const gdi::RECT& f = c.strips.first;
                const int dx = c.strips.sideBySide ? f.right - f.left : 0, dy = c.strips.sideBySide ? 0 : f.bottom - f.top;
                for (std::size_t i = 0; i < c.strips.colours.size(); ++i) {
                    const int k = static_cast<int>(i);
                    buttons::DrawBox(s, s.Dc(), f.left + k * dx, f.top + k * dy, f.right + k * dx, f.bottom + k * dy,
                                     c.strips.colours[i]);
                }
                for (const Box& b : c.after) buttons::DrawBox(s, s.Dc(), b.x1, b.y1, b.x2, b.y2, b.fill);
            } else {
                buttons::BoxRun boxes(s);
                for (const Box& b : c.boxes) boxes.Add(b.x1, b.y1, b.x2, b.y2, b.fill);
                boxes.AddStrips(c.strips.first, c.strips.sideBySide, c.strips.colours.data(),
                                static_cast<int>(c.strips.colours.size()));
                for (const Box& b : c.after) boxes.Add(b.x1, b.y1, b.x2, b.y2, b.fill);
            }
            change[side] = gdi::LiveObjects();
            change[side].pens -= before.pens;
            change[side].brushes -= before.brushes;
            // The pen and brush left selected show in one more box drawn with them.
            gdi::SelectClipRgn(s.Dc(), gdi::HRGN{});
            gdi::Rectangle(s.Dc(), 4, 0, 12, 8);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 12; ++x) pixels[side].push_back(gdi::GetPixel(s.Dc(), x, y));
            ++side;
        }
        EXPECT_EQ(pixels[0], pixels[1]) << c.name;
        EXPECT_EQ(change[0].pens, change[1].pens) << c.name;
        EXPECT_EQ(change[0].brushes, change[1].brushes) << c.name;
    }
}

TEST(RenderPipeline, RefreshCacheMatchesItemNamesWithoutCase) {
    ControlRig rig;
    auto& s = rig.button->State();
    s.Props.BackColor = RGB(100, 100, 100);
    rig.button->RefreshCache("Caption");
    EXPECT_EQ(s.Colours.Face, RGB(255, 255, 251));
    rig.button->RefreshCache("bAcKcOlOr");
    EXPECT_EQ(s.Colours.Face, RGB(148, 148, 125));
    s.Props.Picture = buttons::testing::MakeBitmapPicture(24, 12);
    rig.button->RefreshCache("PICTURE");
    EXPECT_EQ(s.Measured.Width, 24);
    EXPECT_EQ(s.Measured.Height, 12);
}

}  // namespace
