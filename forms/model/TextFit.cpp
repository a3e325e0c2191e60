#include "forms/model/TextFit_p.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "gdi/MemoryDC.h"
#include "gdi/Text.h"

namespace forms::detail {

int WrappedTextWidth(std::string_view utf8, const FontModel& font, int width) {
    if (utf8.empty() || width <= 0) return width;
    gdi::LOGFONTA lf;
    lf.lfHeight = -font.PixelHeight;
    lf.lfWeight = font.Weight;
    lf.lfItalic = font.Italic ? 1 : 0;
    lf.lfUnderline = font.Underline ? 1 : 0;
    lf.lfStrikeOut = font.Strikethrough ? 1 : 0;
    lf.lfCharSet = static_cast<gdi::BYTE>(font.Charset);
    // By its stored face, as the hosts make it: the platform picks the stand-in.
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", font.Face.c_str());
    const gdi::OwnedFont made(gdi::CreateFontIndirectA(lf));
    const gdi::MemoryDC dc;
    const gdi::SelectionGuard selected(dc.get(), made.get());
    if (!selected) return width;
    const std::string ansi = gdi::Utf8ToAnsi(utf8);
    gdi::RECT r{0, 0, width, 0};
    gdi::DrawTextA(dc.get(), ansi.c_str(), static_cast<int>(ansi.size()), &r,
                   gdi::DT_CALCRECT | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX);
    return std::max(width, r.right - r.left);
}

}  // namespace forms::detail
