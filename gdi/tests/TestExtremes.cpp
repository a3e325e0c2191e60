#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"

using namespace gdi;
using test::Canvas;
using test::Black;
using test::White;

namespace {


}  // namespace

// Lines that start or end off the surface skip their hidden steps in closed form; what shows
// must be exactly what a surface large enough to hold the whole line would show there.
TEST(Extremes, LinesClippedByTheSurfaceMatchUnclippedOnes) {
    constexpr int Small = 8, Offset = 24, Big = Small + 2 * Offset;
    std::uint32_t seed = 7;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n)) - n / 2;
    };
    for (int style : {PS_SOLID, PS_DOT, PS_DASHDOTDOT})
        for (int i = 0; i < 300; ++i) {
            const POINT a{next(2 * Offset), next(2 * Offset)}, b{next(2 * Offset), next(2 * Offset)};
            Canvas small(Small, Small), big(Big, Big);
            for (Canvas* c : {&small, &big}) {
                DeleteObject(SelectObject(c->dc(), CreatePen(style, 1, Black)));
                SetBkColor(c->dc(), White);
            }
            const POINT here[] = {a, b};
            const POINT there[] = {{a.x + Offset, a.y + Offset}, {b.x + Offset, b.y + Offset}};
            Polyline(small.dc(), here, 2);
            Polyline(big.dc(), there, 2);
            for (int y = 0; y < Small; ++y)
                for (int x = 0; x < Small; ++x)
                    ASSERT_EQ(small.At(x, y), big.At(x + Offset, y + Offset))
                        << "style " << style << " line " << a.x << "," << a.y << " -> " << b.x << "," << b.y << " at "
                        << x << "," << y;
            DeleteObject(SelectObject(small.dc(), GetStockObject(BLACK_PEN)));
            DeleteObject(SelectObject(big.dc(), GetStockObject(BLACK_PEN)));
        }
}

TEST(Extremes, FarAwayCoordinatesAreSafeAndStillDrawWhatShows) {
    Canvas c(5, 5);
    const POINT across[] = {{-1000000000, 2}, {1000000000, 2}};
    EXPECT_TRUE(Polyline(c.dc(), across, 2));
    const POINT diagonal[] = {{INT_MIN + 2, INT_MIN + 2}, {INT_MAX - 2, INT_MAX - 2}};
    EXPECT_TRUE(Polyline(c.dc(), diagonal, 2));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(c.At(i, 2), Black) << i;
        EXPECT_EQ(c.At(i, i), Black) << i;
    }
    EXPECT_TRUE(Rectangle(c.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(Ellipse(c.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(Arc(c.dc(), INT_MIN, 0, INT_MAX, 5, INT_MAX, 0, INT_MIN, 0));
    EXPECT_TRUE(PatBlt(c.dc(), INT_MAX, INT_MAX, INT_MAX, INT_MAX, BLACKNESS));
    EXPECT_TRUE(BitBlt(c.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, c.dc(), INT_MAX, INT_MAX, SRCCOPY));
    EXPECT_TRUE(StretchBlt(c.dc(), 0, 0, 5, 5, c.dc(), INT_MIN, INT_MIN, INT_MAX, 3, SRCCOPY));
    OwnedPen wide(CreatePen(PS_SOLID, 3, Black));
    HPEN old = SelectObject(c.dc(), wide.get());
    EXPECT_TRUE(Polyline(c.dc(), diagonal, 2));
    EXPECT_TRUE(Polyline(c.dc(), across, 2));
    SelectObject(c.dc(), old);
}

TEST(Extremes, RegionsRefuseWhatCannotBeBuiltAndKeepTheirPlace) {
    const POINT tall[] = {{0, INT_MIN}, {5, INT_MAX}, {0, INT_MAX}};
    EXPECT_FALSE(CreatePolygonRgn(tall, 3, ALTERNATE));
    EXPECT_FALSE(CreateEllipticRgn(0, 0, 2000000, 5));
    OwnedRgn r(CreateRectRgn(0, 0, 4, 4));
    EXPECT_EQ(OffsetRgn(r.get(), INT_MAX, 0), ERROR);
    RECT box;
    GetRgnBox(r.get(), &box);
    EXPECT_EQ(box, (RECT{0, 0, 4, 4}));
    OwnedRgn huge(CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(PtInRegion(huge.get(), 0, 0));
}
