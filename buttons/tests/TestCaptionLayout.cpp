// Placement of caption and picture from a measured text size, with the face's usable span.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "buttons/ButtonTypes.h"
#include "buttons/CaptionLayout.h"
#include "buttons/PictureDraw.h"

namespace buttons {
namespace {

std::string Describe(const UsableSpan& s) {
    return "{L " + std::to_string(s.left) + ", R " + std::to_string(s.right) + ", W " + std::to_string(s.width) + "}";
}

constexpr std::int32_t Rect = ToInt(ButtonShapeKind::ShapeRectangle);
constexpr std::int32_t SlantLeft = ToInt(ButtonShapeKind::ShapeSlantLeft);
constexpr std::int32_t SlantRight = ToInt(ButtonShapeKind::ShapeSlantRight);
constexpr std::int32_t SlantBoth = ToInt(ButtonShapeKind::ShapeSlantBoth);
constexpr std::int32_t OvalRim = ToInt(ButtonShapeKind::ShapeOvalRim);

struct SpanCase {
    const char* name;
    std::int32_t shape, faceWidth, slantLeftX, slantRightX, passedLeft;
    std::int32_t left, right, width;
};

TEST(CaptionLayoutSpan, KeepsTheOuterTwoThirdsOfEachDiagonalFree) {
    const SpanCase cases[] = {
        {"rectangle", Rect, 100, 0, 100, 0, 0, 100, 100},
        {"rectangle keeps the passed left", Rect, 100, 0, 100, 7, 7, 100, 100},
        {"oval uses the right slant as width", OvalRim, 90, 0, 90, 0, 0, 90, 90},
        {"slant left, H 23", SlantLeft, 100, 24, 100, 0, 16, 100, 84},
        {"slant left ignores the passed left", SlantLeft, 100, 24, 100, 9, 16, 100, 84},
        {"slant right, r 76", SlantRight, 100, 0, 76, 0, 0, 84, 84},
        {"slant right keeps the passed left", SlantRight, 100, 0, 76, 5, 5, 84, 84},
        {"slant both, widened to 30", SlantBoth, 30, 24, 6, 0, 16, 14, -2},
        {"slant both, wide", SlantBoth, 120, 24, 96, 0, 16, 104, 88},
        {"stored shape no setter accepts", 99, 80, 0, 80, 0, 0, 80, 80},
        {"negative stored shape", -3, 80, 0, 80, 0, 0, 80, 80},
    };
    for (const auto& c : cases) {
        const UsableSpan s = CalcUsableSpan(c.shape, c.faceWidth, c.slantLeftX, c.slantRightX, c.passedLeft);
        EXPECT_EQ(s.left, c.left) << c.name << " " << Describe(s);
        EXPECT_EQ(s.right, c.right) << c.name << " " << Describe(s);
        EXPECT_EQ(s.width, c.width) << c.name << " " << Describe(s);
    }
}

constexpr std::int32_t Left = ToInt(CaptionAlignment::AlignLeft);
constexpr std::int32_t Right = ToInt(CaptionAlignment::AlignRight);
constexpr std::int32_t Center = ToInt(CaptionAlignment::AlignCenter);
constexpr std::int32_t PicLeftEdge = ToInt(PictureAlignment::PicLeftEdge);
constexpr std::int32_t PicLeftOf = ToInt(PictureAlignment::PicLeftOfCaption);
constexpr std::int32_t PicRightEdge = ToInt(PictureAlignment::PicRightEdge);
constexpr std::int32_t PicRightOf = ToInt(PictureAlignment::PicRightOfCaption);
constexpr std::int32_t PicTop = ToInt(PictureAlignment::PicTopCenter);
constexpr std::int32_t PicBottom = ToInt(PictureAlignment::PicBottomCenter);

struct PlaceCase {
    const char* name;
    std::int32_t faceWidth, faceHeight;
    bool hasCaption;
    std::int32_t tw, th, captionAlign;
    bool hasPicture;
    std::int32_t pictureAlign;
    std::int16_t pictureSize;
    gdi::RECT caption, picture;
};

CaptionPlacement Place(const PlaceCase& c, std::int32_t dpi = 96) {
    CaptionPlacementInput in;
    in.dpi = dpi;
    in.span = CalcUsableSpan(Rect, c.faceWidth, 0, c.faceWidth, 0);
    in.faceHeight = c.faceHeight;
    in.hasCaption = c.hasCaption;
    in.textWidth = c.tw;
    in.textHeight = c.th;
    in.captionAlign = c.captionAlign;
    in.hasPicture = c.hasPicture;
    in.pictureAlign = c.pictureAlign;
    in.pictureSize = c.pictureSize;
    return PlaceCaptionAndPicture(in);
}

std::string Str(const gdi::RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// A picture rectangle with no picture is the all-zero one after the margin clamps.
constexpr gdi::RECT NoPicture{6, 6, 0, 0};
constexpr gdi::RECT NoCaption{6, 6, 0, 0};

TEST(CaptionLayoutPlace, AlignmentTableOnARectangularFace) {
    const PlaceCase cases[] = {
        {"centred, no picture", 100, 30, true, 40, 13, Center, false, 0, 16, {30, 8, 70, 21}, NoPicture},
        {"left, no picture", 100, 30, true, 40, 13, Left, false, 0, 16, {6, 8, 46, 21}, NoPicture},
        {"right, no picture", 100, 30, true, 40, 13, Right, false, 0, 16, {54, 8, 94, 21}, NoPicture},
        {"left with picture at left edge", 100, 30, true, 40, 13, Left, true, PicLeftEdge, 16, {28, 8, 68, 21},
         {6, 7, 22, 23}},
        {"centred with picture at left edge", 100, 30, true, 40, 13, Center, true, PicLeftEdge, 16, {38, 8, 78, 21},
         {6, 7, 22, 23}},
        {"right with picture at left edge", 100, 30, true, 40, 13, Right, true, PicLeftEdge, 16, {54, 8, 94, 21},
         {6, 7, 22, 23}},
        {"centred group, picture left of caption", 100, 30, true, 40, 13, Center, true, PicLeftOf, 16,
         {41, 8, 81, 21}, {19, 7, 35, 23}},
        {"left, picture left of caption", 100, 30, true, 40, 13, Left, true, PicLeftOf, 16, {28, 8, 68, 21},
         {6, 7, 22, 23}},
        {"right with picture at right edge", 100, 30, true, 40, 13, Right, true, PicRightEdge, 16, {32, 8, 72, 21},
         {78, 7, 94, 23}},
        {"centred with picture at right edge", 100, 30, true, 40, 13, Center, true, PicRightEdge, 16,
         {22, 8, 62, 21}, {78, 7, 94, 23}},
        {"centred group, picture right of caption", 100, 30, true, 40, 13, Center, true, PicRightOf, 16,
         {19, 8, 59, 21}, {65, 7, 81, 23}},
        {"left, picture right of caption", 100, 30, true, 40, 13, Left, true, PicRightOf, 16, {6, 8, 46, 21},
         {52, 7, 68, 23}},
        {"picture above", 60, 80, true, 30, 13, Center, true, PicTop, 32, {15, 51, 45, 64}, {14, 17, 46, 49}},
        {"picture below", 60, 80, true, 30, 13, Center, true, PicBottom, 32, {15, 18, 45, 31}, {14, 33, 46, 65}},
        {"24-pixel picture left of caption", 120, 40, true, 40, 13, Center, true, PicLeftOf, 24, {55, 13, 95, 26},
         {25, 8, 49, 32}},
    };
    for (const auto& c : cases) {
        const CaptionPlacement p = Place(c);
        EXPECT_EQ(p.caption, c.caption) << c.name << ": caption " << Str(p.caption);
        EXPECT_EQ(p.picture, c.picture) << c.name << ": picture " << Str(p.picture);
    }
}

TEST(CaptionLayoutPlace, EmptyCaptionCountsAsMinusThreeHigh) {
    const PlaceCase cases[] = {
        {"above", 60, 80, false, 0, 0, Center, true, PicTop, 32, NoCaption, {14, 25, 46, 57}},
        {"below", 60, 80, false, 0, 0, Center, true, PicBottom, 32, NoCaption, {14, 25, 46, 57}},
        {"left of caption falls back to the left margin", 100, 30, false, 0, 0, Center, true, PicLeftOf, 16,
         NoCaption, {6, 7, 22, 23}},
        {"right of caption falls back to the right edge", 100, 30, false, 0, 0, Center, true, PicRightOf, 16,
         NoCaption, {78, 7, 94, 23}},
        {"nothing at all", 100, 30, false, 0, 0, Center, false, 0, 16, NoCaption, NoPicture},
    };
    for (const auto& c : cases) {
        const CaptionPlacement p = Place(c);
        EXPECT_EQ(p.caption, c.caption) << c.name << ": caption " << Str(p.caption);
        EXPECT_EQ(p.picture, c.picture) << c.name << ": picture " << Str(p.picture);
    }
}

TEST(CaptionLayoutPlace, AutomaticSizesReserveNoRoom) {
    for (std::int16_t size : {std::int16_t{40}, std::int16_t{48}}) {
        for (std::int32_t align : {PicLeftEdge, PicLeftOf, PicRightEdge, PicRightOf, PicTop, PicBottom}) {
            const PlaceCase c{"auto", 100, 30, true, 40, 13, Center, true, align, size, {}, {}};
            const PictureReserve r = CalcPictureReserve(true, align, size, 96);
            EXPECT_FALSE(r.beside || r.stacked) << size << " " << align;
            if (align < PicTop) {
                EXPECT_EQ(Place(c).caption, (gdi::RECT{30, 8, 70, 21})) << size << " " << align;
            }
        }
    }
}

// The fixed sizes are 96-dpi pixels: a denser screen grows the picture, its room and its place as
// it grows the caption's font; the automatic sizes follow the face alone.
TEST(CaptionLayoutPlace, FixedPicturesGrowWithTheScreensDpi) {
    struct Case {
        std::int16_t size;
        std::int32_t dpi, side;
    };
    const Case sides[] = {{16, 96, 16}, {32, 96, 32},  {16, 144, 24}, {24, 144, 36}, {32, 144, 48},        {32, 120, 40},
                          {40, 144, 40}, {48, 144, 48}, {32, 0, 32},   {0, 144, 0},   {32, 1 << 30, INT16_MAX}};
    for (const Case& c : sides) EXPECT_EQ(FixedPictureSide(c.size, c.dpi), c.side) << c.size << " at " << c.dpi;

    const PictureReserve r = CalcPictureReserve(true, PicLeftEdge, 32, 144);
    EXPECT_EQ(r.left, 48);
    EXPECT_EQ(CaptionMeasuringRect(CalcUsableSpan(Rect, 218, 0, 218, 0), 62, r), (gdi::RECT{0, 0, 158, 50}));
    const PlaceCase c{"32 at 144 dpi", 218, 62, true, 80, 24, Center, true, PicLeftEdge, 32, {}, {}};
    EXPECT_EQ(Place(c, 144).picture, (gdi::RECT{6, 7, 54, 55}));
    PictureTargetInput drawn;
    drawn.pictureSize = 32;
    drawn.rect = Place(c, 144).picture;
    drawn.dpi = 144;
    EXPECT_EQ(CalcPictureTarget(drawn).width, 48);
}

TEST(CaptionLayoutPlace, TooLargeCaptionIsCutToTheSpanAndMargins) {
    const PlaceCase cases[] = {
        {"wide and tall", 100, 30, true, 200, 50, Center, false, 0, 16, {6, 6, 100, 24}, NoPicture},
        {"right aligned, wide", 100, 30, true, 200, 13, Right, false, 0, 16, {6, 8, 94, 21}, NoPicture},
        {"picture taller than the face", 100, 20, true, 40, 13, Left, true, PicLeftEdge, 32, {44, 6, 84, 14},
         {6, 6, 38, 14}},
    };
    for (const auto& c : cases) {
        const CaptionPlacement p = Place(c);
        EXPECT_EQ(p.caption, c.caption) << c.name << ": caption " << Str(p.caption);
        EXPECT_EQ(p.picture, c.picture) << c.name << ": picture " << Str(p.picture);
    }
}

TEST(CaptionLayoutPlace, SlantedFacesPlaceWithinTheUsableSpan) {
    struct Case {
        const char* name;
        std::int32_t shape, faceWidth, faceHeight, slantLeftX, slantRightX, align;
        gdi::RECT caption;
    };
    const Case cases[] = {
        {"slant left, centred", SlantLeft, 100, 30, 31, 100, Center, {40, 8, 80, 21}},
        {"slant left, left", SlantLeft, 100, 30, 31, 100, Left, {27, 8, 67, 21}},
        {"slant right, centred", SlantRight, 100, 30, 0, 69, Center, {19, 8, 59, 21}},
        {"slant right, right", SlantRight, 100, 30, 0, 69, Right, {33, 8, 73, 21}},
        {"slant both, centred", SlantBoth, 130, 30, 31, 99, Center, {45, 8, 85, 21}},
    };
    for (const auto& c : cases) {
        CaptionPlacementInput in;
        in.span = CalcUsableSpan(c.shape, c.faceWidth, c.slantLeftX, c.slantRightX, 0);
        in.faceHeight = c.faceHeight;
        in.hasCaption = true;
        in.textWidth = 40;
        in.textHeight = 13;
        in.captionAlign = c.align;
        EXPECT_EQ(PlaceCaptionAndPicture(in).caption, c.caption)
            << c.name << ": " << Str(PlaceCaptionAndPicture(in).caption);
    }
}

TEST(CaptionLayoutPlace, MeasuringBoxLeavesRoomForMarginsAndPicture) {
    const UsableSpan span = CalcUsableSpan(Rect, 100, 0, 100, 0);
    struct Case {
        bool hasPicture;
        std::int32_t align;
        std::int16_t size;
        gdi::RECT box;
    };
    const Case cases[] = {
        {false, PicLeftEdge, 16, {0, 0, 88, 18}},  {true, PicLeftEdge, 16, {0, 0, 72, 18}},
        {true, PicRightOf, 24, {0, 0, 64, 18}},    {true, PicTop, 16, {0, 0, 88, 2}},
        {true, PicBottom, 32, {0, 0, 88, -14}},    {true, PicLeftEdge, 40, {0, 0, 88, 18}},
        {true, 17, 16, {0, 0, 88, 18}},
    };
    for (const auto& c : cases) {
        const PictureReserve r = CalcPictureReserve(c.hasPicture, c.align, c.size, 96);
        EXPECT_EQ(CaptionMeasuringRect(span, 30, r), c.box) << c.align << " " << c.size;
    }
}

TEST(CaptionLayoutPlace, StoredValuesNoSetterAcceptsStayOnTheFace) {
    struct Case {
        const char* name;
        std::int32_t captionAlign, pictureAlign;
        std::int16_t pictureSize;
        gdi::RECT caption, picture;
    };
    const Case cases[] = {
        {"caption align 3 gets no move", 3, PicLeftEdge, 16, {6, 8, 40, 21}, {6, 7, 22, 23}},
        {"caption align -1", -1, PicLeftEdge, 16, {6, 8, 40, 21}, {6, 7, 22, 23}},
        {"caption align INT_MAX", INT_MAX, PicLeftEdge, 16, {6, 8, 40, 21}, {6, 7, 22, 23}},
        {"picture align 6 reserves nothing", Center, 6, 16, {30, 8, 70, 21}, {6, 7, 16, 23}},
        {"picture align INT_MIN", Center, INT_MIN, 16, {30, 8, 70, 21}, {6, 7, 16, 23}},
        {"picture size 0", Center, PicLeftEdge, 0, {30, 8, 70, 21}, {6, 15, 6, 15}},
        {"negative picture size", Center, PicLeftEdge, -8, {26, 8, 66, 21}, {6, 19, -2, 11}},
        {"picture size 33 is automatic", Center, PicLeftEdge, 33, {30, 8, 70, 21}, {6, 6, 39, 24}},
        {"huge picture size", Center, PicTop, 32767, {30, 10, 70, 23}, {6, 8, 100, 24}},
    };
    for (const auto& c : cases) {
        CaptionPlacementInput in;
        in.span = CalcUsableSpan(Rect, 100, 0, 100, 0);
        in.faceHeight = 30;
        in.hasCaption = true;
        in.textWidth = 40;
        in.textHeight = 13;
        in.captionAlign = c.captionAlign;
        in.hasPicture = true;
        in.pictureAlign = c.pictureAlign;
        in.pictureSize = c.pictureSize;
        const CaptionPlacement p = PlaceCaptionAndPicture(in);
        EXPECT_EQ(p.caption, c.caption) << c.name << ": caption " << Str(p.caption);
        EXPECT_EQ(p.picture, c.picture) << c.name << ": picture " << Str(p.picture);
    }
}

TEST(CaptionText, DoubleBarsBecomeLineBreaks) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"A||B", "A\r\nB"},     {"||", "\r\n"},         {"|||", "\r\n|"},   {"||||", "\r\n\r\n"},
        {"a|b", "a|b"},         {"Ligar", "Ligar"},     {"", ""},           {"x||", "x\r\n"},
        {"Envio||local (RF)", "Envio\r\nlocal (RF)"},
    };
    for (const auto& c : cases) EXPECT_EQ(CaptionWithLineBreaks(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace buttons
