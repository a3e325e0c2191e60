#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "buttons/testing/FaceRig.h"
#include "buttons/Bevel.h"

namespace {

using namespace buttons;
using namespace buttons::testing;
using gdi::RGB;

constexpr gdi::COLORREF Outline = RGB(0, 60, 115);

struct PixelCase {
    const char* name;
    int x;
    int y;
    gdi::COLORREF expected;
};

void ExpectPixels(const FaceRig& rig, std::initializer_list<PixelCase> cases, const char* context) {
    for (const auto& c : cases) EXPECT_EQ(rig.Pixel(c.x, c.y), c.expected) << context << ": " << c.name;
}

TEST(PaintStandardFace, GreyFaceIdle) {
    FaceRig rig(75, 23);
    RebuildShape(rig.s, rig.buffer, rig.host);
    EXPECT_EQ(rig.Paint(), 0);
    ExpectPixels(rig,
                 {
                     {"inner left", 2, 10, RGB(245, 246, 239)},
                     {"inner top", 10, 2, RGB(255, 255, 255)},
                     {"inner right", 72, 10, RGB(231, 232, 221)},
                     {"inner bottom", 10, 20, RGB(223, 224, 210)},
                     {"middle left", 1, 10, RGB(250, 251, 246)},
                     {"middle top", 10, 1, RGB(255, 255, 255)},
                     {"middle right", 73, 10, RGB(219, 220, 205)},
                     {"middle bottom", 10, 21, RGB(207, 208, 189)},
                     {"outer left", 0, 10, Outline},
                     {"outer top", 10, 0, Outline},
                     {"outer right", 74, 10, Outline},
                     {"outer bottom", 10, 22, Outline},
                     {"corner top left", 1, 1, Outline},
                     {"corner bottom left", 1, 21, Outline},
                     {"corner top right", 73, 1, Outline},
                     {"corner bottom right", 73, 21, Outline},
                     // Shading: row 11 darkens by 12, row 12 by 13.
                     {"row 11", 30, 11, RGB(243, 244, 237)},
                     {"row 12", 30, 12, RGB(242, 243, 235)},
                 },
                 "idle");
}

TEST(PaintStandardFace, GreyFaceDisabled) {
    FaceRig rig(75, 23);
    RebuildShape(rig.s, rig.buffer, rig.host);
    rig.SetLook(FaceState::Disabled);
    rig.Paint();
    const gdi::COLORREF flat = RGB(231, 232, 221);
    const gdi::COLORREF edge = RGB(171, 172, 142);
    ExpectPixels(rig,
                 {
                     {"face", 30, 11, flat},
                     {"no inner outline", 2, 10, flat},
                     {"no middle outline", 1, 10, flat},
                     {"no middle bottom", 10, 21, flat},
                     {"outer left", 0, 10, edge},
                     {"outer bottom", 10, 22, edge},
                     {"outer right", 74, 10, edge},
                     {"corner", 1, 1, edge},
                     {"corner", 73, 21, edge},
                 },
                 "disabled");
}

TEST(PaintStandardFace, StateColumnsAndFills) {
    struct Case {
        const char* name;
        FaceState look;
        std::int16_t drawState;
        gdi::COLORREF innerLeft;
        gdi::COLORREF middleBottom;
        gdi::COLORREF row5;  // shading darkens row 5 by 5
    };
    const Case cases[] = {
        {"default look", FaceState::Default, 1, RGB(181, 209, 240), RGB(107, 130, 239), RGB(250, 251, 246)},
        {"hover", FaceState::Hover, 3, RGB(255, 203, 107), RGB(231, 150, 0), RGB(250, 251, 246)},
        // Pressed and set reverse the bevel: base -22 on the left, base +16 at the bottom.
        {"pressed", FaceState::Pressed, 2, RGB(233, 234, 224), RGB(255, 255, 255), RGB(218, 220, 206)},
        {"value true", FaceState::Value, 2, RGB(201, 203, 191), RGB(239, 241, 232), RGB(218, 220, 210)},
    };
    for (const auto& c : cases) {
        FaceRig rig(75, 23);
        RebuildShape(rig.s, rig.buffer, rig.host);
        rig.SetLook(c.look);
        EXPECT_EQ(rig.Paint(), c.drawState) << c.name;
        EXPECT_EQ(rig.Pixel(2, 10), c.innerLeft) << c.name;
        EXPECT_EQ(rig.Pixel(10, 21), c.middleBottom) << c.name;
        EXPECT_EQ(rig.Pixel(30, 5), c.row5) << c.name;
        EXPECT_EQ(rig.Pixel(0, 10), Outline) << c.name;
    }
}

TEST(PaintStandardFace, HoverFillAndGradientSuppression) {
    FaceRig rig(75, 23);
    RebuildShape(rig.s, rig.buffer, rig.host);
    rig.s.Props.HoverBackColor = RGB(0, 0, 0);
    rig.DeriveColours();  // hover face: black lightened by 48 is RGB(48, 48, 0) with blue scaled from 0
    rig.SetLook(FaceState::Hover);
    rig.Paint();
    EXPECT_EQ(rig.Pixel(30, 5), RGB(43, 43, 0)) << "hover shading";

    // With a gradient and a distinct hover colour the hover face is flat, from edge to edge.
    rig.s.Props.GradientMode = 1;
    rig.s.Props.GradientColor = RGB(0, 0, 255);
    rig.Paint();
    EXPECT_EQ(rig.Pixel(30, 5), RGB(48, 48, 0));
    EXPECT_EQ(rig.Pixel(30, 15), RGB(48, 48, 0)) << "no shading under a flat hover fill";

    // A set check box ignores the gradient and shades from the set colour.
    rig.SetLook(FaceState::Value);
    rig.Paint();
    EXPECT_EQ(rig.Pixel(30, 5), RGB(218, 220, 210));
}

TEST(PaintStandardFace, CornerPixelsFollowTheSlants) {
    struct Case {
        const char* name;
        std::int32_t shape;
        bool left;
        bool right;
    };
    const Case cases[] = {
        {"rectangle", 0, true, true},
        {"slant left", 1, false, true},
        {"slant right", 2, true, false},
        {"slant both", 3, false, false},
    };
    for (const auto& c : cases) {
        FaceRig rig(96, 32);
        rig.s.Props.ButtonShape = c.shape;
        RebuildShape(rig.s, rig.buffer, rig.host);
        rig.Paint();
        // The corner pixel sits where only the middle outline or the shading would be.
        EXPECT_EQ(rig.Pixel(1, 30) == Outline, c.left) << c.name;
        EXPECT_EQ(rig.Pixel(94, 1) == Outline, c.right) << c.name;
    }
}

TEST(PaintStandardFace, OvalsHaveNoOutlinesAndARingOnlyWithDefaultLook) {
    for (std::int32_t shape : {4, 5, 6}) {
        FaceRig rig(96, 32);
        rig.s.Props.ButtonShape = shape;
        RebuildShape(rig.s, rig.buffer, rig.host);
        rig.SetLook(FaceState::Hover);
        rig.Paint();
        const auto hovered = rig.Composite();
        for (int x = 0; x < 96; ++x) EXPECT_NE(rig.Pixel(x, 16), Outline) << "shape " << shape << " x " << x;

        rig.SetLook(FaceState::Idle);
        rig.Paint();
        EXPECT_EQ(rig.Composite(), hovered) << "hovering alone draws no ring, shape " << shape;

        rig.SetLook(FaceState::Default);
        rig.Paint();
        const int ringX = shape == 6 ? 2 : 3;
        EXPECT_EQ(rig.Pixel(ringX, 16), RGB(107, 130, 239)) << "default ring, shape " << shape;
        rig.s.Input.StateFlags = DefaultLook | MouseOver;
        rig.s.Input.HoverLit = true;
        rig.Paint();
        EXPECT_EQ(rig.Pixel(ringX, 16), RGB(231, 150, 0)) << "hover ring, shape " << shape;
    }
}

TEST(PaintStandardFace, TinyAndEmptyFacesRunEveryStep) {
    for (std::int32_t shape = 0; shape <= 6; ++shape) {
        for (int size : {0, 1, 2, 3}) {
            const gdi::ObjectCounts before = gdi::LiveObjects();
            {
                FaceRig rig(size, size);
                RebuildShape(rig.s, rig.buffer, rig.host);
                for (FaceState look : {FaceState::Idle, FaceState::Pressed, FaceState::Disabled, FaceState::Default}) {
                    rig.SetLook(look);
                    rig.Paint();
                }
                rig.s.Props.GradientMode = 3;
                rig.Paint();
            }
            EXPECT_EQ(gdi::LiveObjects(), before) << "shape " << shape << " size " << size;
        }
    }
}

TEST(PaintStandardFace, StoredValuesOutOfRangeStaySafe) {
    for (std::int32_t shape : {-1, 7, 100, INT_MAX, INT_MIN}) {
        for (std::int32_t gradient : {0, 5, -1, INT_MAX, INT_MIN}) {
            const gdi::ObjectCounts before = gdi::LiveObjects();
            {
                FaceRig rig(40, 20);
                rig.s.Props.ButtonShape = shape;
                rig.s.Props.GradientMode = gradient;
                rig.s.Props.Mode = 7;
                RebuildShape(rig.s, rig.buffer, rig.host);
                EXPECT_FALSE(rig.host.WindowRegion()) << "an unknown shape keeps the window rectangular";
                EXPECT_FALSE(rig.buffer.FaceClip());
                rig.Paint();
                // The face itself is always filled, whatever the stored values.
                EXPECT_NE(rig.Pixel(20, 10), Sentinel) << "shape " << shape << " gradient " << gradient;
            }
            EXPECT_EQ(gdi::LiveObjects(), before) << "shape " << shape << " gradient " << gradient;
        }
    }
}

}  // namespace
