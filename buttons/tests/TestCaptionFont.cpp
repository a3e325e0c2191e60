// The caption font's LOGFONT from the host font, and its lifetime in the render buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "buttons/Caption.h"
#include "buttons/CaptionFont.h"
#include "gdi/Gdi.h"

namespace buttons {
namespace {

TEST(CaptionFont, HeightFromPointSize) {
    const struct {
        double points;
        int twipsPerPixel;
        gdi::LONG height;
    } cases[] = {
        {8.25, 15, -11},  {10, 15, -13},    {15.75, 15, -21}, {12, 15, -16},    {8, 15, -11},
        {9.375, 15, -12},  // 12.5: halves go to the even neighbour
        {10.125, 15, -14},  // 13.5
        {12, 12, -20},    {8.25, 0, -11},   {8.24996, 15, -11},  // size rounded to 4 places first
        {0, 15, 0},       {-8.25, 15, 11},
    };
    for (const auto& c : cases) {
        FontDesc f;
        f.Size = c.points;
        EXPECT_EQ(CaptionLogFont(f, c.twipsPerPixel).lfHeight, c.height) << c.points << " pt at " << c.twipsPerPixel;
    }
}

TEST(CaptionFont, AbsurdSizesStayDefined) {
    for (double points : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300,
                          -1e300}) {
        FontDesc f;
        f.Size = points;
        const gdi::LONG h = CaptionLogFont(f).lfHeight;
        EXPECT_LE(std::abs(static_cast<long long>(h)), 0x7FFFFFFFLL) << points;
    }
}

TEST(CaptionFont, AttributesAndCharacterSet) {
    FontDesc f;
    f.Name = "Times New Roman";
    f.Size = 15.75;
    f.Weight = 700;
    f.Italic = true;
    f.Strikethrough = true;
    const gdi::LOGFONTA lf = CaptionLogFont(f);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfCharSet, gdi::DEFAULT_CHARSET);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfPitchAndFamily, 0);
}

// The face name field as bytes: name, one NUL, spaces to the end.
std::string Field(const gdi::LOGFONTA& lf) { return std::string(lf.lfFaceName, sizeof(lf.lfFaceName)); }

TEST(CaptionFont, FaceNameIsTerminatedAndPaddedWithSpaces) {
    const std::string name31(31, 'N');
    const std::string name40 = std::string(35, 'L') + "ong!!";
    const struct {
        std::string name;
        std::string field;
    } cases[] = {
        {"Arial", std::string("Arial") + '\0' + std::string(26, ' ')},
        {"", std::string(1, '\0') + std::string(31, ' ')},
        {name31, name31 + '\0'},
        // Longer names are cut so that the terminator still fits.
        {name40, name40.substr(0, 31) + '\0'},
        {std::string(32, 'x'), std::string(31, 'x') + '\0'},
        // Text for the A calls is in the ANSI code page.
        {"Fonté", std::string("Font\xE9") + '\0' + std::string(26, ' ')},
    };
    for (const auto& c : cases) {
        FontDesc f;
        f.Name = c.name;
        const gdi::LOGFONTA lf = CaptionLogFont(f);
        EXPECT_EQ(Field(lf), c.field) << c.name;
        EXPECT_LT(std::strlen(lf.lfFaceName), sizeof(lf.lfFaceName)) << c.name;
    }
}

}  // namespace
}  // namespace buttons
