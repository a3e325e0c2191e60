// What every button host shares: the checks on host-held values, the presentation buffer and the
// custom pointer's pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "buttons/HostProperties.h"
#include "buttons/PresentationBuffer.h"
#include "buttons/testing/ControlRig.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"

namespace buttons {
namespace {

TEST(HostProperties, OnlyTheStandardPointersAndCustomAreAccepted) {
    for (std::int32_t p : {0, 1, 15, 99}) EXPECT_NO_THROW(CheckMousePointer(p)) << p;
    for (std::int32_t p : {-1, 16, 42, 98, 100}) EXPECT_THROW(CheckMousePointer(p), std::invalid_argument) << p;
    HostProperties props;
    props.SetMousePointer(11);
    EXPECT_THROW(props.SetMousePointer(42), std::invalid_argument);
    EXPECT_EQ(props.MousePointer, 11);  // a refusal changes nothing
    EXPECT_THROW(props.SetMouseIcon(testing::MakeBitmapPicture(4, 4)), std::invalid_argument);
    EXPECT_FALSE(props.MouseIcon);
    props.SetMouseIcon(testing::MakeIconPicture());
    EXPECT_TRUE(props.MouseIcon);
}

TEST(PresentationBuffer, KeepsThePictureUntilTheSizeChanges) {
    PresentationBuffer buffer(0, 0);
    EXPECT_EQ(buffer.Width(), 1);  // never smaller than 1x1, so the DC stays a 32 bpp colour DC
    EXPECT_TRUE(buffer.Resize(20, 10));
    gdi::SetPixel(buffer.Dc(), 3, 4, gdi::RGB(1, 2, 3));
    EXPECT_FALSE(buffer.Resize(20, 10));
    EXPECT_EQ(buffer.Pixel(3, 4), gdi::RGB(1, 2, 3));
    EXPECT_EQ(buffer.Pixel(20, 0), gdi::CLR_INVALID);
    buffer.Reset(20, 10);
    EXPECT_EQ(buffer.Pixel(3, 4), gdi::RGB(0, 0, 0));
    EXPECT_EQ(buffer.View().width, 20);
    EXPECT_EQ(buffer.View().bitsPerPixel, 32);
}

TEST(CustomCursor, OnlyPointer99WithAnIconHasPixels) {
    const PictureRef icon = LoadPicture(std::filesystem::path(DIZO_SOURCE_DIR) / "relay/forms/art/ligar.ico");
    const auto image = CustomCursorImage(CustomMousePointer, icon);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->Pixels.size(), static_cast<std::size_t>(image->Width) * image->Height);
    const auto opaque = std::count_if(image->Pixels.begin(), image->Pixels.end(), [](std::uint32_t p) { return p >> 24 == 0xFF; });
    EXPECT_GT(opaque, 0);
    EXPECT_LT(opaque, static_cast<std::ptrdiff_t>(image->Pixels.size()));  // the mask cuts some away
    EXPECT_FALSE(CustomCursorImage(11, icon));
    EXPECT_FALSE(CustomCursorImage(CustomMousePointer, nullptr));
    EXPECT_FALSE(CustomCursorImage(CustomMousePointer, testing::MakeBitmapPicture(4, 4)));
}

}  // namespace
}  // namespace buttons
