#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buttons/testing/ControlRig.h"
#include "buttons/testing/FaceRig.h"
#include "buttons/Bevel.h"

namespace {

using namespace buttons;
using namespace buttons::testing;

// The region as a picture: '#' inside, '.' outside, over a width x height window.
std::vector<std::string> Picture(gdi::HRGN rgn, int width, int height) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) row += gdi::PtInRegion(rgn, x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST(BuildRegions, RectangleCutsFourCorners) {
    FaceRig rig(10, 8);
    RebuildShape(rig.s, rig.buffer, rig.host);
    EXPECT_EQ(rig.s.Shape.SlantLeftX, 0);
    EXPECT_EQ(rig.s.Shape.SlantRightX, 10);
    gdi::RECT box;
    gdi::GetRgnBox(rig.host.WindowRegion(), &box);
    EXPECT_EQ(box, (gdi::RECT{0, 0, 11, 9}));
    // The region reaches one pixel beyond the client area (column 10, row 8); the cuts at W and H
    // leave that strip alone and clip the visible corners alike: 3 pixels each.
    const std::vector<std::string> expected{
        "..######..#",
        ".########.#",
        "###########",
        "###########",
        "###########",
        "###########",
        ".########.#",
        "..######..#",
        "###########",
    };
    EXPECT_EQ(Picture(rig.host.WindowRegion(), 11, 9), expected);
}

TEST(BuildRegions, SlantBothWidens20To30) {
    FaceRig rig(20, 23);
    rig.s.Props.ButtonShape = ToInt(ButtonShapeKind::ShapeSlantBoth);
    RebuildShape(rig.s, rig.buffer, rig.host);
    EXPECT_EQ(rig.widthRequests, (std::vector<int>{30}));
    EXPECT_EQ(rig.delayedDuringWidthChange, (std::vector<bool>{true}));
    EXPECT_FALSE(rig.s.Drawing.Delayed);
    EXPECT_EQ(rig.s.Shape.SlantLeftX, 24);
    EXPECT_EQ(rig.s.Shape.SlantRightX, 6);
    gdi::RECT box;
    // Polygon regions leave out pixels on their right edges, as GDI's do.
    gdi::GetRgnBox(rig.host.WindowRegion(), &box);
    EXPECT_EQ(box, (gdi::RECT{0, 0, 30, 24}));
    // The parallelogram (0,0) (24,24) (31,24) (7,0): its top row spans 0..6, its bottom row ends at 30.
    EXPECT_TRUE(gdi::PtInRegion(rig.host.WindowRegion(), 0, 0));
    EXPECT_TRUE(gdi::PtInRegion(rig.host.WindowRegion(), 6, 0));
    EXPECT_FALSE(gdi::PtInRegion(rig.host.WindowRegion(), 8, 0));
    EXPECT_FALSE(gdi::PtInRegion(rig.host.WindowRegion(), 0, 20));
    EXPECT_TRUE(gdi::PtInRegion(rig.host.WindowRegion(), 29, 23));
}

TEST(BuildRegions, WideningKeepsACallersDelay) {
    FaceRig rig(20, 23);
    rig.s.Props.ButtonShape = ToInt(ButtonShapeKind::ShapeSlantLeft);
    rig.s.Drawing.Delayed = true;  // DelayDrawing(True) before the shape was set
    RebuildShape(rig.s, rig.buffer, rig.host);
    EXPECT_EQ(rig.widthRequests, (std::vector<int>{30}));
    EXPECT_TRUE(rig.s.Drawing.Delayed);
}

TEST(BuildRegions, NoWideningWhenWideEnough) {
    FaceRig rig(100, 23);
    rig.s.Props.ButtonShape = ToInt(ButtonShapeKind::ShapeSlantLeft);
    RebuildShape(rig.s, rig.buffer, rig.host);
    EXPECT_TRUE(rig.widthRequests.empty());
    EXPECT_EQ(rig.s.Shape.SlantLeftX, 24);
    EXPECT_EQ(rig.s.Shape.SlantRightX, 100);
    // Right corners cut, the slanted left side starts at the top-left corner.
    EXPECT_TRUE(gdi::PtInRegion(rig.host.WindowRegion(), 0, 0));
    EXPECT_FALSE(gdi::PtInRegion(rig.host.WindowRegion(), 99, 0));
    EXPECT_FALSE(gdi::PtInRegion(rig.host.WindowRegion(), 99, 22));
    EXPECT_TRUE(gdi::PtInRegion(rig.host.WindowRegion(), 98, 1));
    EXPECT_TRUE(gdi::PtInRegion(rig.host.WindowRegion(), 1, 0)) << "no left cut on a slanted side";
}

TEST(BuildRegions, OvalFaceClipIsReplacedAndDropped) {
    const int regionsBefore = gdi::LiveObjects().regions;
    {
        FaceRig rig(60, 30);
        rig.s.Props.ButtonShape = ToInt(ButtonShapeKind::ShapeOvalOutline);
        RebuildShape(rig.s, rig.buffer, rig.host);
        ASSERT_TRUE(rig.buffer.FaceClip());
        // Elliptic regions cover their box less its right column and bottom row, as GDI's do:
        // ellipse (2, 2, 59, 29) and window ellipse (0, 0, 61, 31).
        gdi::RECT box;
        gdi::GetRgnBox(rig.buffer.FaceClip(), &box);
        EXPECT_EQ(box, (gdi::RECT{2, 2, 58, 28}));
        gdi::GetRgnBox(rig.host.WindowRegion(), &box);
        EXPECT_EQ(box, (gdi::RECT{0, 0, 60, 30}));

        rig.s.Props.ButtonShape = ToInt(ButtonShapeKind::ShapeOvalRim);
        RebuildShape(rig.s, rig.buffer, rig.host);
        gdi::GetRgnBox(rig.buffer.FaceClip(), &box);
        EXPECT_EQ(box, (gdi::RECT{1, 1, 59, 29}));
        // While the face clip is selected, switching to the rectangle must not leave it clipping.
        gdi::SelectClipRgn(rig.buffer.Dc(), rig.buffer.FaceClip());

        rig.s.Props.ButtonShape = ToInt(ButtonShapeKind::ShapeRectangle);
        RebuildShape(rig.s, rig.buffer, rig.host);
        EXPECT_FALSE(rig.buffer.FaceClip());
        const gdi::OwnedRgn clip(gdi::CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(gdi::GetClipRgn(rig.buffer.Dc(), clip.get()), 0);
        // Only the window region the host holds is left.
        EXPECT_EQ(gdi::LiveObjects().regions, regionsBefore + 2) << "the window region and our probe";
    }
    EXPECT_EQ(gdi::LiveObjects().regions, regionsBefore);
}


// A slant set from the property on a narrow button: the control widens to 30, the right side stays
// upright at the new width, and the buffer follows, so the new columns are painted with the outline.
TEST(BuildRegions, SlantLeftSetOnANarrowButtonIsRedrawnAtTheNewWidth) {
    buttons::testing::ControlRig rig(20, 23);
    // No caption: on Windows the platform's own font may draw it over the outline checked here.
    rig.button->SetCaption("");
    rig.button->SetButtonShape(ToInt(ButtonShapeKind::ShapeSlantLeft));
    const auto& g = rig.button->State().Shape;
    EXPECT_EQ(rig.host.Width(), 30);
    EXPECT_EQ(g.SlantLeftX, 24);
    EXPECT_EQ(g.SlantRightX, 30);
    EXPECT_EQ(rig.button->Buffer().BitmapWidth(), 30);
    for (int y = 2; y < 21; ++y) {
        std::string column;
        for (int x = 26; x < 30; ++x) column += rig.host.PresentedPixel(x, y) == OutlineColour ? 'o' : '.';
        EXPECT_EQ(column, "...o") << "row " << y;
    }
    EXPECT_EQ(rig.host.PresentedPixel(28, 1), OutlineColour);   // the corner pixels of an upright side
    EXPECT_EQ(rig.host.PresentedPixel(28, 21), OutlineColour);
}

}  // namespace
