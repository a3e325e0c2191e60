#include "hosts/qt/DesktopColours.h"

#include <QPalette>

#include "gdi/SysColor.h"

namespace hosts::qt {

namespace {

gdi::COLORREF ToColorRef(const QColor& c) { return gdi::RGB(c.red(), c.green(), c.blue()); }

struct RoleFor {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Windows colour indices with their nearest palette roles.
constexpr RoleFor Roles[] = {
    {5, QPalette::Active, QPalette::Base},                // COLOR_WINDOW
    {8, QPalette::Active, QPalette::Text},                // COLOR_WINDOWTEXT
    {13, QPalette::Active, QPalette::Highlight},          // COLOR_HIGHLIGHT
    {14, QPalette::Active, QPalette::HighlightedText},    // COLOR_HIGHLIGHTTEXT
    {15, QPalette::Active, QPalette::Button},             // COLOR_BTNFACE
    {16, QPalette::Active, QPalette::Dark},               // COLOR_BTNSHADOW
    {17, QPalette::Disabled, QPalette::Text},             // COLOR_GRAYTEXT
    {18, QPalette::Active, QPalette::ButtonText},         // COLOR_BTNTEXT
    {20, QPalette::Active, QPalette::Light},              // COLOR_BTNHIGHLIGHT
    {21, QPalette::Active, QPalette::Shadow},             // COLOR_3DDKSHADOW
    {22, QPalette::Active, QPalette::Midlight},           // COLOR_3DLIGHT
    {23, QPalette::Active, QPalette::ToolTipText},        // COLOR_INFOTEXT
    {24, QPalette::Active, QPalette::ToolTipBase},        // COLOR_INFOBK
};

}  // namespace

void ApplyDesktopColours(const QPalette& palette) {
    gdi::SysColorTable table = gdi::DefaultSysColors();
    for (const RoleFor& r : Roles) {
        table[static_cast<std::size_t>(r.index)] = ToColorRef(palette.color(r.group, r.role));
    }
    gdi::SetSysColorTable(table);
}

}  // namespace hosts::qt
