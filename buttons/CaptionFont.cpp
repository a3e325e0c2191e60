#include <algorithm>
#include <cmath>
#include <cstring>

#include "buttons/CaptionFont.h"
#include "forms/Units.h"
#include "gdi/Dc.h"
#include "gdi/Objects.h"
#include "gdi/Text.h"
#include "gdi/Types.h"

namespace buttons {

namespace {

constexpr std::size_t FaceNameField = sizeof(gdi::LOGFONTA{}.lfFaceName);

// The point size as the host keeps it: a whole number of ten-thousandths.
std::int64_t SizeInTenThousandths(double points) {
    constexpr double Limit = 1.0e12;  // far beyond any font, and well inside 64 bits
    if (!std::isfinite(points)) return 0;
    return static_cast<std::int64_t>(std::nearbyint(std::clamp(points, -Limit, Limit) * 10000.0));
}

int ScreenTwipsPerPixelY() {
    const gdi::HDC screen = gdi::GetDC();
    const int dpi = gdi::GetDeviceCaps(screen, gdi::LOGPIXELSY);
    gdi::ReleaseDC(screen);
    return dpi > 0 ? forms::TwipsPerInch / dpi : forms::TwipsPerPixel;
}

}  // namespace

gdi::LOGFONTA CaptionLogFont(const FontDesc& font, int twipsPerPixelY) {
    gdi::LOGFONTA lf;
    if (twipsPerPixelY <= 0) twipsPerPixelY = forms::TwipsPerPixel;
    // -(Size * 20) / twipsPerPixel, exact: Size * 10000 * 20 / (10000 * twipsPerPixel).
    const std::int64_t height = forms::DivideNearestEven(SizeInTenThousandths(font.Size), 500LL * twipsPerPixelY);
    lf.lfHeight = static_cast<gdi::LONG>(-std::clamp<std::int64_t>(height, -0x7FFFFFFF, 0x7FFFFFFF));
    lf.lfWeight = font.Weight;
    lf.lfItalic = font.Italic ? 1 : 0;
    lf.lfUnderline = font.Underline ? 1 : 0;
    lf.lfStrikeOut = font.Strikethrough ? 1 : 0;
    lf.lfCharSet = gdi::DEFAULT_CHARSET;

    // The name, one NUL, then spaces. The name is cut at 31 characters so that the NUL always fits and
    // the field always reads as a terminated string.
    const std::string name = gdi::Utf8ToAnsi(font.Name);
    const std::size_t kept = std::min(name.size(), FaceNameField - 1);
    std::memset(lf.lfFaceName, ' ', FaceNameField);
    std::memcpy(lf.lfFaceName, name.data(), kept);
    lf.lfFaceName[kept] = '\0';
    return lf;
}

void RefreshCaptionFont(RenderBuffer& buffer, const ButtonHost& host) {
    // Without the buffer there is nothing to select into; its creation asks for the font again.
    if (!buffer.Dc()) return;
    const gdi::HFONT font = gdi::CreateFontIndirectA(CaptionLogFont(host.Font(), ScreenTwipsPerPixelY()));
    if (!font) return;  // the previous caption font stays
    buffer.SelectFont(font);
}

}  // namespace buttons
