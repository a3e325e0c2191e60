// What only our FreeType engine does (Windows picks its fonts and smooths its text itself).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "gdi/Gdi.h"

namespace {

using namespace gdi;

TEST(FontResolution, ClassicFacesMapToTheLiberationFamilies) {
    EXPECT_NE(ResolveFontFile("MS Sans Serif", FW_NORMAL, false).find("LiberationSans-Regular"), std::string::npos);
    EXPECT_NE(ResolveFontFile("Times New Roman", FW_BOLD, false).find("LiberationSerif-Bold"), std::string::npos);
    EXPECT_NE(ResolveFontFile("Times New Roman", FW_NORMAL, true).find("LiberationSerif-Italic"), std::string::npos);
    EXPECT_NE(ResolveFontFile("", FW_NORMAL, false).find("LiberationSans"), std::string::npos);
}

TEST(FreeTypeEngine, DrawsSolidInkInTheTextColourOnly) {
    const OwnedDC dc(CreateCompatibleDC(HDC{}));
    const OwnedBitmap bitmap(CreateDIBSection32(80, 30));
    LOGFONTA lf;
    lf.lfHeight = -21;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "Times New Roman");
    const OwnedFont font(CreateFontIndirectA(lf));
    const HBITMAP oldBitmap = SelectObject(dc.get(), bitmap.get());
    const HFONT oldFont = SelectObject(dc.get(), font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 0, 0));
    RECT r{2, 3, 78, 28};
    DrawTextA(dc.get(), "Sobre", -1, &r, DT_LEFT);
    const BitmapView v = GetBitmapView(bitmap.get());
    int ink = 0;
    for (int i = 0; i < v.stride * v.height; ++i) {
        EXPECT_TRUE(v.pixels32[i] == 0 || v.pixels32[i] == 0x00FF0000) << std::hex << v.pixels32[i];
        ink += v.pixels32[i] != 0 ? 1 : 0;
    }
    EXPECT_GT(ink, 0);
    SelectObject(dc.get(), oldFont);
    SelectObject(dc.get(), oldBitmap);
}

}  // namespace
