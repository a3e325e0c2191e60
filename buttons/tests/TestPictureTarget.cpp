// Where DrawPicture draws at each PictureSize: fixed squares, stretched over the face, fitted to it.
#include <gtest/gtest.h>

#include "buttons/PictureDraw.h"

namespace buttons {
namespace {

struct TargetCase {
    const char* name;
    std::int16_t size;
    gdi::RECT rect;
    bool moved;
    std::int32_t faceWidth, faceHeight, usableWidth, usableLeft, pictureWidth, pictureHeight;
    gdi::RECT expectRect;
    std::int32_t expectWidth, expectHeight;
};

TEST(PictureTarget, SizesAndPositions) {
    const gdi::RECT laid{6, 7, 22, 23};
    const TargetCase cases[] = {
        {"16 keeps the laid-out rectangle", 16, laid, false, 100, 30, 100, 0, 64, 64, laid, 16, 16},
        {"24 keeps it", 24, {6, 3, 30, 27}, false, 100, 30, 100, 0, 64, 64, {6, 3, 30, 27}, 24, 24},
        {"32 keeps a clamped one", 32, {6, 6, 26, 24}, false, 100, 30, 100, 0, 64, 64, {6, 6, 26, 24}, 32, 32},
        {"40 stretches over the face", 40, laid, false, 100, 30, 100, 0, 32, 32, {0, 0, 100, 30}, 100, 30},
        {"40 pressed", 40, {7, 8, 23, 24}, true, 100, 30, 100, 0, 32, 32, {1, 1, 100, 30}, 99, 29},
        {"48 fits the height", 48, laid, false, 100, 30, 100, 0, 32, 32, {41, 6, 59, 24}, 18, 18},
        {"48 with a slanted left", 48, laid, false, 100, 30, 84, 16, 32, 32, {49, 6, 67, 24}, 18, 18},
        {"48 pressed", 48, laid, true, 100, 30, 100, 0, 32, 32, {42, 7, 60, 25}, 18, 18},
        {"48 enlarges a small picture", 48, laid, false, 60, 80, 60, 0, 16, 16, {6, 16, 54, 64}, 48, 48},
        {"48 keeps proportions", 48, laid, false, 100, 30, 100, 0, 64, 16, {14, 6, 86, 24}, 72, 18},
        {"48 fits the width", 48, laid, false, 40, 100, 40, 0, 28, 14, {6, 43, 34, 57}, 28, 14},
        {"any size above 40 fits", 33, laid, false, 100, 30, 100, 0, 32, 32, {41, 6, 59, 24}, 18, 18},
    };
    for (const auto& c : cases) {
        const PictureTarget t = CalcPictureTarget({c.size, c.rect, c.moved, c.faceWidth, c.faceHeight, c.usableWidth,
                                                   c.usableLeft, c.pictureWidth, c.pictureHeight, 96});
        EXPECT_EQ(t.width, c.expectWidth) << c.name;
        EXPECT_EQ(t.height, c.expectHeight) << c.name;
        EXPECT_EQ(t.rect, c.expectRect) << c.name << ": " << t.rect.left << "," << t.rect.top << ","
                                        << t.rect.right << "," << t.rect.bottom;
    }
}

TEST(PictureTarget, NothingToDrawForEmptyOrInvertedSizes) {
    const gdi::RECT laid{6, 7, 22, 23};
    const TargetCase cases[] = {
        {"stored size 0", 0, laid, false, 100, 30, 100, 0, 32, 32, {}, 0, 0},
        {"negative stored size", -16, laid, false, 100, 30, 100, 0, 32, 32, {}, 0, 0},
        {"48 on a face smaller than the margins", 48, laid, false, 10, 30, 10, 0, 32, 32, {}, 0, 0},
        {"48 with a zero-width picture", 48, laid, false, 100, 30, 100, 0, 0, 32, {}, 0, 0},
        {"48 with a negative height", 48, laid, false, 100, 30, 100, 0, 32, -4, {}, 0, 0},
        {"40 on an empty face", 40, laid, false, 0, 0, 0, 0, 32, 32, {}, 0, 0},
        {"40 pressed on a 1x1 face", 40, laid, true, 1, 1, 1, 0, 32, 32, {}, 0, 0},
        {"48 on a huge face with a 1x1 picture", 48, laid, false, 30000, 30000, 30000, 0, 1, 1, {}, 29988, 29988},
    };
    for (const auto& c : cases) {
        const PictureTarget t = CalcPictureTarget({c.size, c.rect, c.moved, c.faceWidth, c.faceHeight, c.usableWidth,
                                                   c.usableLeft, c.pictureWidth, c.pictureHeight, 96});
        EXPECT_EQ(t.width, c.expectWidth) << c.name;
        EXPECT_EQ(t.height, c.expectHeight) << c.name;
    }
}

}  // namespace
}  // namespace buttons
