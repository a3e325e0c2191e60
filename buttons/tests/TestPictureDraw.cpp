// Picture size and kind, DrawPicture at every PictureSize, colour-keyed bitmaps, the disabled
// silhouette, and that every temporary object is gone when the drawing returns.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "buttons/PictureDraw.h"
#include "buttons/testing/PainterBuffer.h"
#include "gdi/Gdi.h"

namespace buttons {
namespace {

using testing::Buffer;
using testing::MakeBitmap;
using testing::MakeIcon;
using testing::PainterHost;

constexpr gdi::COLORREF Magenta = gdi::RGB(255, 0, 255);
constexpr gdi::COLORREF Red = gdi::RGB(255, 0, 0);
constexpr gdi::COLORREF Blue = gdi::RGB(0, 0, 255);
constexpr gdi::COLORREF Black = gdi::RGB(0, 0, 0);
constexpr gdi::COLORREF Sentinel = gdi::RGB(0, 128, 0);
constexpr gdi::COLORREF Face = gdi::RGB(200, 200, 200);
constexpr gdi::COLORREF SilhouetteLight = gdi::RGB(228, 229, 229);
constexpr gdi::COLORREF SilhouetteDark = gdi::RGB(156, 157, 157);

PictureRef Wrap(gdi::HGDIOBJ handle, Picture::Type type) {
    auto p = std::make_shared<Picture>();
    p->handle = handle;
    p->type = type;
    return p;
}

// Top-left quadrant in the key colour, the rest red.
PictureRef QuadrantBitmap(int size) {
    const int half = size / 2;
    return Wrap(gdi::HGDIOBJ(MakeBitmap(size, size, [&](int x, int y) { return x < half && y < half ? Magenta : Red; })),
                Picture::Type::Bitmap);
}

// A black square from 4 to 11 on a 16-pixel picture; the rest transparent.
bool InSquare(int x, int y) { return x >= 4 && x < 12 && y >= 4 && y < 12; }

TEST(PictureCache, SizeAndKindFromTheHandle) {
    const gdi::ObjectCounts before = gdi::LiveObjects();
    {
        ButtonState s;
        s.Measured = MeasurePicture(s.Props.Picture, s.Measured);
        EXPECT_EQ(s.Measured.Width + s.Measured.Height, 0);

        s.Props.Picture = Wrap(gdi::HGDIOBJ(MakeBitmap(64, 48, [](int, int) { return Red; })), Picture::Type::Bitmap);
        s.Measured = MeasurePicture(s.Props.Picture, s.Measured);
        EXPECT_EQ(s.Measured.Width, 64);
        EXPECT_EQ(s.Measured.Height, 48);
        EXPECT_EQ(s.Measured.Kind, 0);

        s.Props.Picture = Wrap(gdi::HGDIOBJ(MakeIcon(32, InSquare)), Picture::Type::Icon);
        const gdi::ObjectCounts withIcon = gdi::LiveObjects();
        s.Measured = MeasurePicture(s.Props.Picture, s.Measured);
        EXPECT_EQ(gdi::LiveObjects(), withIcon) << "the icon's bitmap copies must be deleted";
        EXPECT_EQ(s.Measured.Width, 32);
        EXPECT_EQ(s.Measured.Height, 32);
        EXPECT_EQ(s.Measured.Kind, 1);

        // A bitmap without bits after an icon is still a bitmap.
        const gdi::HDC screen = gdi::GetDC();
        s.Props.Picture = Wrap(gdi::HGDIOBJ(gdi::CreateCompatibleBitmap(screen, 20, 10)), Picture::Type::Bitmap);
        gdi::ReleaseDC(screen);
        s.Measured = MeasurePicture(s.Props.Picture, s.Measured);
        EXPECT_EQ(s.Measured.Width, 20);
        EXPECT_EQ(s.Measured.Height, 10);
        EXPECT_EQ(s.Measured.Kind, 0);

        // No picture: no size; the kind stays.
        s.Measured.Kind = 1;
        s.Props.Picture.reset();
        s.Measured = MeasurePicture(s.Props.Picture, s.Measured);
        EXPECT_EQ(s.Measured.Width, 0);
        EXPECT_EQ(s.Measured.Height, 0);
        EXPECT_EQ(s.Measured.Kind, 1);

        // A handle that names nothing counts as no picture.
        s.Props.Picture = Wrap(gdi::HGDIOBJ{}, Picture::Type::Bitmap);
        s.Measured = MeasurePicture(s.Props.Picture, s.Measured);
        EXPECT_EQ(s.Measured.Width + s.Measured.Height, 0);
    }
    EXPECT_EQ(gdi::LiveObjects(), before);
}

// Dest filled with the sentinel, the bitmap drawn by DrawTransparentBitmap, read back as letters.
class TransparentBitmap : public ::testing::Test {
protected:
    TransparentBitmap() : buffer_(host_, 16, 12) { buffer_.Fill(Sentinel); }

    std::vector<std::string> Read(int left, int top, int width, int height) const {
        std::vector<std::string> rows;
        for (int y = top; y < top + height; ++y) {
            std::string row;
            for (int x = left; x < left + width; ++x) {
                const gdi::COLORREF c = buffer_.Pixel(x, y);
                row += c == Sentinel ? '.' : c == Red ? 'R' : c == Blue ? 'B' : c == Magenta ? 'M' : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }

    static gdi::HBITMAP FromPicture(const std::vector<std::string>& rows) {
        return MakeBitmap(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), [&](int x, int y) {
            const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            return c == 'R' ? Red : c == 'B' ? Blue : Magenta;
        });
    }

    ButtonState s_;
    PainterHost host_{16, 12};
    Buffer buffer_;
};

TEST_F(TransparentBitmap, TopLeftPixelIsTheKey) {
    const struct {
        const char* name;
        std::vector<std::string> picture;
        std::vector<std::string> expected;
    } cases[] = {
        {"magenta key",
         {"MMRRMM", "MRBBRM", "MRBBRM", "MMRRMM"},
         {"........", "...RR...", "..RBBR..", "..RBBR..", "...RR...", "........"}},
        {"blue key",
         {"BMRRMB", "MRBBRM", "MRBBRM", "BMRRMB"},
         {"........", "..MRRM..", ".MR..RM.", ".MR..RM.", "..MRRM..", "........"}},
    };
    for (const auto& c : cases) {
        buffer_.Fill(Sentinel);
        const gdi::HBITMAP bmp = FromPicture(c.picture);
        int w = 6;
        int h = 4;
        const gdi::ObjectCounts before = gdi::LiveObjects();
        DrawTransparentBitmap(buffer_.Dc(), gdi::RECT{2, 2, 8, 6}, bmp, gdi::RECT{}, w, h);
        EXPECT_EQ(gdi::LiveObjects(), before) << c.name;
        EXPECT_EQ(w, 6);
        EXPECT_EQ(h, 4);
        // Read from (1, 1) so the untouched frame around the picture shows too.
        std::vector<std::string> expected = c.expected;
        EXPECT_EQ(Read(1, 1, 8, 6), expected) << c.name;
        gdi::DeleteObject(bmp);
    }
}

TEST_F(TransparentBitmap, ShrinksToFitAtTheTopLeftCorner) {
    // 8 x 8, uniform blue but for the key pixel.
    const gdi::HBITMAP bmp = MakeBitmap(8, 8, [](int x, int y) { return x == 0 && y == 0 ? Magenta : Blue; });
    int w = 8;
    int h = 8;
    DrawTransparentBitmap(buffer_.Dc(), gdi::RECT{1, 1, 5, 9}, bmp, gdi::RECT{}, w, h);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 4);
    const std::vector<std::string> rows = Read(1, 1, 5, 9);
    // Rows 1..3 of the shrunk picture are blue; below it the destination rectangle keeps its background.
    for (int y = 1; y < 4; ++y) EXPECT_EQ(rows[static_cast<std::size_t>(y)].substr(1, 3), "BBB") << y;
    for (int y = 4; y < 8; ++y) EXPECT_EQ(rows[static_cast<std::size_t>(y)], ".....") << y;
    for (int y = 0; y < 9; ++y) EXPECT_EQ(rows[static_cast<std::size_t>(y)][4], '.') << y;
    gdi::DeleteObject(bmp);
}

TEST_F(TransparentBitmap, ZeroEdgesStandForTheBitmapSize) {
    const gdi::HBITMAP bmp = FromPicture({"MRR", "RBR"});
    int w = 3;
    int h = 2;
    DrawTransparentBitmap(buffer_.Dc(), gdi::RECT{0, 0, 0, 0}, bmp, gdi::RECT{}, w, h);
    EXPECT_EQ(Read(0, 0, 4, 3), (std::vector<std::string>{".RR.", "RBR.", "...."}));
    gdi::DeleteObject(bmp);
}

TEST_F(TransparentBitmap, EmptyOrInvalidInputDrawsNothing) {
    const gdi::HBITMAP bmp = FromPicture({"MRR", "RBR"});
    const gdi::HBITMAP stale = MakeBitmap(2, 2, [](int, int) { return Red; });
    gdi::DeleteObject(stale);
    const struct {
        const char* name;
        gdi::RECT dest;
        gdi::HBITMAP bitmap;
        gdi::RECT source;
        int w, h;
    } cases[] = {
        {"inverted destination", {8, 8, 2, 2}, bmp, {}, 3, 2},
        {"empty destination", {4, 4, 4, 9}, bmp, {}, 3, 2},
        {"zero size", {1, 1, 5, 5}, bmp, {}, 0, 0},
        {"negative size", {1, 1, 5, 5}, bmp, {}, -3, -2},
        {"inverted source", {1, 1, 5, 5}, bmp, {3, 2, 1, 1}, 3, 2},
        {"deleted bitmap", {1, 1, 5, 5}, stale, {}, 2, 2},
        {"null bitmap", {1, 1, 5, 5}, gdi::HBITMAP{}, {}, 2, 2},
    };
    for (const auto& c : cases) {
        buffer_.Fill(Sentinel);
        const gdi::ObjectCounts before = gdi::LiveObjects();
        int w = c.w;
        int h = c.h;
        DrawTransparentBitmap(buffer_.Dc(), c.dest, c.bitmap, c.source, w, h);
        EXPECT_EQ(gdi::LiveObjects(), before) << c.name;
        int touched = 0;
        for (gdi::COLORREF px : buffer_.Pixels()) touched += px != Sentinel;
        // A bitmap that is gone reads as black pixels at most; it must not crash or leak.
        if (c.bitmap == bmp) {
            EXPECT_EQ(touched, 0) << c.name;
        }
    }
    gdi::DeleteObject(bmp);
}

class PictureDraw : public ::testing::Test {
protected:
    static constexpr int FaceW = 100;
    static constexpr int FaceH = 30;

    PictureDraw() : buffer_(host_, FaceW, FaceH) {
        s_.Shape.SlantRightX = FaceW;
        buffer_.Fill(Face);
    }

    // DrawPicture as DrawCaption calls it, with the usable span of a rectangular face.
    gdi::RECT Draw(gdi::RECT rect) {
        buffer_.Fill(Face);
        const gdi::ObjectCounts before = gdi::LiveObjects();
        rect = DrawPicture(MakeFrame(s_, host_, buffer_.Render()), buffer_.Render(), rect, FaceW, 0);
        EXPECT_EQ(gdi::LiveObjects(), before) << gdi::ToString(gdi::LiveObjects());
        return rect;
    }

    void Use(PictureRef picture, std::int16_t size) {
        s_.Props.Picture = std::move(picture);
        s_.Props.PictureSize = size;
        s_.Measured = MeasurePicture(s_.Props.Picture, s_.Measured);
    }

    ButtonState s_;
    PainterHost host_{FaceW, FaceH};
    Buffer buffer_;
};

TEST_F(PictureDraw, FixedSizesDrawASquareAtTheLaidOutRectangle) {
    for (std::int16_t size : {std::int16_t{16}, std::int16_t{24}, std::int16_t{32}}) {
        Use(QuadrantBitmap(64), size);
        const int l = 10;
        const int t = 0;
        s_.Layout.PictureRect = {l, t, l + size, t + size};
        const gdi::RECT used = Draw(s_.Layout.PictureRect);
        EXPECT_EQ(used, s_.Layout.PictureRect) << size;
        const int q = size / 4;
        EXPECT_EQ(buffer_.Pixel(l + q, t + q), Face) << size << ": key quadrant shows the face";
        EXPECT_EQ(buffer_.Pixel(l + 3 * q, t + q), Red) << size;
        EXPECT_EQ(buffer_.Pixel(l + size - 1, std::min(t + size - 1, FaceH - 1)), Red) << size;
        EXPECT_EQ(buffer_.Pixel(l + size, t + 3 * q), Face) << size << ": nothing right of the square";
        EXPECT_EQ(buffer_.Pixel(l - 1, t + 3 * q), Face) << size;
    }
}

TEST_F(PictureDraw, StretchSizeCoversTheFace) {
    Use(QuadrantBitmap(32), 40);
    s_.Layout.PictureRect = {6, 6, 46, 24};
    const struct {
        const char* name;
        gdi::RECT rect;
        gdi::RECT used;
        gdi::COLORREF bottomLeft;
    } cases[] = {
        {"idle", {6, 6, 46, 24}, {0, 0, 100, 30}, Red},
        {"pressed", {7, 7, 47, 25}, {1, 1, 100, 30}, Face},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Draw(c.rect), c.used) << c.name;
        EXPECT_EQ(buffer_.Pixel(99, 29), Red) << c.name;
        EXPECT_EQ(buffer_.Pixel(75, 5), Red) << c.name;
        EXPECT_EQ(buffer_.Pixel(20, 5), Face) << c.name;
        EXPECT_EQ(buffer_.Pixel(0, 29), c.bottomLeft) << c.name;
    }
}

TEST_F(PictureDraw, FitSizeKeepsProportionsCentred) {
    Use(QuadrantBitmap(32), 48);
    s_.Layout.PictureRect = {6, 6, 54, 24};
    const gdi::RECT used = Draw(s_.Layout.PictureRect);
    EXPECT_EQ(used, (gdi::RECT{41, 6, 59, 24}));
    EXPECT_EQ(buffer_.Pixel(58, 23), Red);
    EXPECT_EQ(buffer_.Pixel(56, 8), Red);
    EXPECT_EQ(buffer_.Pixel(43, 8), Face);
    EXPECT_EQ(buffer_.Pixel(59, 23), Face);
    EXPECT_EQ(buffer_.Pixel(58, 24), Face);
    EXPECT_EQ(buffer_.Pixel(40, 23), Face);
}

TEST_F(PictureDraw, IconsDrawWithTheirMask) {
    Use(Wrap(gdi::HGDIOBJ(MakeIcon(16, InSquare)), Picture::Type::Icon), 16);
    s_.Layout.PictureRect = {10, 6, 26, 22};
    Draw(s_.Layout.PictureRect);
    EXPECT_EQ(buffer_.Pixel(14, 10), Black);
    EXPECT_EQ(buffer_.Pixel(21, 17), Black);
    EXPECT_EQ(buffer_.Pixel(13, 9), Face);
    EXPECT_EQ(buffer_.Pixel(22, 18), Face);
}

TEST_F(PictureDraw, DisabledPictureIsATwoToneSilhouette) {
    host_.SetEnabled(false);
    const struct {
        const char* name;
        PictureRef picture;
    } cases[] = {
        {"icon", Wrap(gdi::HGDIOBJ(MakeIcon(16, InSquare)), Picture::Type::Icon)},
        {"bitmap",
         Wrap(gdi::HGDIOBJ(MakeBitmap(16, 16, [](int x, int y) { return InSquare(x, y) ? Black : Magenta; })),
              Picture::Type::Bitmap)},
    };
    for (const auto& c : cases) {
        Use(c.picture, 16);
        const int l = 10;
        const int t = 6;
        s_.Layout.PictureRect = {l, t, l + 16, t + 16};
        Draw(s_.Layout.PictureRect);
        EXPECT_EQ(buffer_.Pixel(l + 3, t + 3), SilhouetteLight) << c.name << ": one up and left";
        EXPECT_EQ(buffer_.Pixel(l + 10, t + 3), SilhouetteLight) << c.name;
        EXPECT_EQ(buffer_.Pixel(l + 4, t + 4), SilhouetteDark) << c.name;
        EXPECT_EQ(buffer_.Pixel(l + 11, t + 11), SilhouetteDark) << c.name;
        EXPECT_EQ(buffer_.Pixel(l + 12, t + 12), Face) << c.name << ": white leaves the face";
        EXPECT_EQ(buffer_.Pixel(l + 1, t + 1), Face) << c.name;
    }
}

TEST_F(PictureDraw, FailedCopyDrawsNothing) {
    // The picture's handle died after its size was recorded: the copy fails.
    const gdi::HBITMAP gone = MakeBitmap(16, 16, [](int, int) { return Red; });
    s_.Props.Picture = Wrap(gdi::HGDIOBJ(gone), Picture::Type::Bitmap);
    s_.Measured = MeasurePicture(s_.Props.Picture, s_.Measured);
    gdi::DeleteObject(gone);
    for (bool enabled : {true, false}) {
        host_.SetEnabled(enabled);
        s_.Layout.PictureRect = {10, 6, 26, 22};
        Draw(s_.Layout.PictureRect);
        int touched = 0;
        for (gdi::COLORREF px : buffer_.Pixels()) touched += px != Face;
        EXPECT_EQ(touched, 0) << enabled;
    }
}

TEST_F(PictureDraw, StoredValuesNoSetterAcceptsAreSafe) {
    const std::int16_t sizes[] = {0, -16, 1, 33, 41, 1000, 32767, -32768};
    const std::int32_t kinds[] = {0, 1, 7, -1};
    for (bool icon : {false, true}) {
        for (std::int16_t size : sizes) {
            for (std::int32_t kind : kinds) {
                for (bool enabled : {true, false}) {
                    host_.SetEnabled(enabled);
                    Use(icon ? Wrap(gdi::HGDIOBJ(MakeIcon(16, InSquare)), Picture::Type::Icon) : QuadrantBitmap(16),
                        size);
                    s_.Measured.Kind = kind;
                    s_.Layout.PictureRect = {6, 6, 6 + size, 6 + size};
                    Draw(s_.Layout.PictureRect);  // counts checked inside
                }
            }
        }
    }
}

}  // namespace
}  // namespace buttons
