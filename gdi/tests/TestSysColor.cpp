#include "gdi/Gdi.h"
#include <gtest/gtest.h>

TEST(SysColor, DefaultTableAndOutOfRange) {
    EXPECT_EQ(gdi::GetSysColor(gdi::COLOR_BTNFACE), gdi::RGB(212, 208, 200));
    EXPECT_EQ(gdi::GetSysColor(gdi::COLOR_BTNTEXT), gdi::RGB(0, 0, 0));
    EXPECT_EQ(gdi::GetSysColor(-1), 0u);
    EXPECT_EQ(gdi::GetSysColor(gdi::SysColorCount), 0u);
}
