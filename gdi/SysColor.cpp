#include "gdi/SysColor.h"

namespace gdi {
namespace {

// The classic Windows colour scheme (Windows 2000 "Windows Standard").
constexpr SysColorTable kDefault = {
    RGB(212, 208, 200),  // 0 COLOR_SCROLLBAR
    RGB(58, 110, 165),   // 1 COLOR_BACKGROUND
    RGB(10, 36, 106),    // 2 COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // 3 COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // 4 COLOR_MENU
    RGB(255, 255, 255),  // 5 COLOR_WINDOW
    RGB(0, 0, 0),        // 6 COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // 7 COLOR_MENUTEXT
    RGB(0, 0, 0),        // 8 COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // 9 COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // 10 COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // 11 COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // 12 COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // 13 COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // 14 COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // 15 COLOR_BTNFACE
    RGB(128, 128, 128),  // 16 COLOR_BTNSHADOW
    RGB(128, 128, 128),  // 17 COLOR_GRAYTEXT
    RGB(0, 0, 0),        // 18 COLOR_BTNTEXT
    RGB(212, 208, 200),  // 19 COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // 20 COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // 21 COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // 22 COLOR_3DLIGHT
    RGB(0, 0, 0),        // 23 COLOR_INFOTEXT
    RGB(255, 255, 225),  // 24 COLOR_INFOBK
    RGB(181, 181, 181),  // 25 (unused slot)
    RGB(0, 0, 128),      // 26 COLOR_HOTLIGHT
    RGB(166, 202, 240),  // 27 COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // 28 COLOR_GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),   // 29 COLOR_MENUHILIGHT
    RGB(236, 233, 216),  // 30 COLOR_MENUBAR
};

SysColorTable g_table = kDefault;

}  // namespace

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= SysColorCount) return 0;
    return g_table[static_cast<std::size_t>(index)];
}

const SysColorTable& DefaultSysColors() { return kDefault; }

void SetSysColorTable(const SysColorTable& table) { g_table = table; }

COLORREF ColorFromOle(std::uint32_t ole) {
    if ((ole & 0x80000000u) != 0) return GetSysColor(static_cast<int>(ole & 0xFF));
    return ole;
}

}  // namespace gdi
