// What every host of the button must do alike, as a typed GoogleTest suite: the host-held
// properties with their refusals, the client size and drawing target, and the window region it is
// handed. A test program instantiates it with a World per host: World(width, height) sets one up
// with that client size and Host() returns it. Owns nothing.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>

#include "buttons/ButtonHost.h"
#include "buttons/testing/Pictures.h"
#include "gdi/Gdi.h"

namespace buttons::testing {

template <class World>
class ButtonHostContract : public ::testing::Test {
protected:
    static constexpr int kWidth = 97;
    static constexpr int kHeight = 41;
    World world{kWidth, kHeight};
    ButtonHost& host() { return world.Host(); }
};

TYPED_TEST_SUITE_P(ButtonHostContract);

TYPED_TEST_P(ButtonHostContract, KeepsEveryHostHeldProperty) {
    ButtonHost& h = this->host();
    const FontDesc font{"Times New Roman", 15.75, 700, true, false, true, 0};
    h.SetForeColor(0x00123456);
    h.SetFont(font);
    h.SetEnabled(false);
    h.SetAccessKeys("l");
    h.SetTag("ligar");
    EXPECT_EQ(h.ForeColor(), 0x00123456u);
    EXPECT_EQ(h.Font(), font);
    EXPECT_FALSE(h.Enabled());
    EXPECT_EQ(h.AccessKeys(), "l");
    EXPECT_EQ(h.Tag(), "ligar");
    for (std::int32_t pointer : {0, 1, 15, 99}) {
        h.SetMousePointer(pointer);
        EXPECT_EQ(h.MousePointer(), pointer);
    }
    const PictureRef icon = MakeIconPicture();
    h.SetMouseIcon(icon);
    EXPECT_EQ(h.MouseIcon(), icon);
}

TYPED_TEST_P(ButtonHostContract, RefusesABadPointerOrIconAndKeepsWhatItHad) {
    ButtonHost& h = this->host();
    h.SetMousePointer(5);
    for (std::int32_t pointer : {-1, 16, 98, 100}) {
        EXPECT_THROW(h.SetMousePointer(pointer), std::invalid_argument) << pointer;
        EXPECT_EQ(h.MousePointer(), 5) << pointer;
    }
    const PictureRef icon = MakeIconPicture();
    h.SetMouseIcon(icon);
    EXPECT_THROW(h.SetMouseIcon(MakeBitmapPicture(8, 8)), std::invalid_argument);
    EXPECT_EQ(h.MouseIcon(), icon);
}

TYPED_TEST_P(ButtonHostContract, DrawsAtItsClientSizeAndWidensWhenAsked) {
    ButtonHost& h = this->host();
    EXPECT_EQ(h.ScaleWidth(), this->kWidth);
    EXPECT_EQ(h.ScaleHeight(), this->kHeight);
    ASSERT_TRUE(h.hDC());
    h.SetWidthPixels(this->kWidth + 10);
    EXPECT_EQ(h.ScaleWidth(), this->kWidth + 10);
    EXPECT_EQ(h.ScaleHeight(), this->kHeight);
    // What the control draws into covers the new width.
    const gdi::BitmapView target = gdi::GetBitmapView(gdi::GetCurrentBitmap(h.hDC()));
    EXPECT_GE(target.width, this->kWidth + 10);
    EXPECT_GE(target.height, this->kHeight);
}

TYPED_TEST_P(ButtonHostContract, OwnsTheWindowRegionItIsHanded) {
    ButtonHost& h = this->host();
    h.SetWindowRgn(gdi::HRGN{}, false);
    const int before = gdi::LiveObjects().regions;
    h.SetWindowRgn(gdi::CreateRectRgn(0, 0, 20, 20), false);
    h.SetWindowRgn(gdi::CreateEllipticRgn(0, 0, this->kWidth, this->kHeight), true);
    EXPECT_EQ(gdi::LiveObjects().regions, before + 1) << "the replaced region is deleted";
    h.SetWindowRgn(gdi::HRGN{}, false);
    EXPECT_EQ(gdi::LiveObjects().regions, before) << "a rectangular window keeps none";
}

REGISTER_TYPED_TEST_SUITE_P(ButtonHostContract, KeepsEveryHostHeldProperty, RefusesABadPointerOrIconAndKeepsWhatItHad,
                            DrawsAtItsClientSizeAndWidensWhenAsked, OwnsTheWindowRegionItIsHanded);

}  // namespace buttons::testing
