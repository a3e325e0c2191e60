// Our own text engine: FreeType glyphs of the fonts fontconfig picks, laid out by DrawTextA's rules.
#include <algorithm>
#include <cstdint>

#include "gdi/TextDraw.h"
#include "gdi/TextEngine_p.h"
#include "gdi/TextLayout.h"

namespace gdi::text {
namespace {

// Coordinates far outside any surface are pulled in, so that the sums below cannot overflow.
int Clamped(long long v) { return static_cast<int>(std::clamp<long long>(v, -kMaxExtent, kMaxExtent)); }
// Results handed back saturate at the ends of the 32-bit range instead of wrapping around.
int Saturated(long long v) { return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

int EngineDrawText(const detail::Dc& dc, std::string_view str, RECT* rect, UINT format) {
    FontInstance* font = FontOfDc(dc);
    if (!font) return 0;
    const FontMetrics& m = font->Metrics();
    const int lineHeight = m.height;
    const bool calc = (format & DT_CALCRECT) != 0;

    if (str.empty()) {
        // An empty string (count -1) still has the height of a line, as GDI reports it.
        if (calc) {
            rect->right = rect->left;
            rect->bottom = Saturated(static_cast<long long>(rect->top) + ((format & DT_SINGLELINE) ? lineHeight : 0));
        }
        return lineHeight;
    }

    const long long left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;
    std::vector<LaidLine> unkept;
    // A kept layout's characters had their advances made ready when it was laid out.
    const std::vector<LaidLine>* kept = font->LayoutOf(str, format, Clamped(right - left));
    if (!kept) {
        font->PrepareAdvances(str);
        unkept = LayOutText(str, format, Clamped(right - left), font->Advances());
    }
    const std::vector<LaidLine>& lines = kept ? *kept : unkept;

    long long y = top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            y = top + (bottom - top) / 2 - lineHeight / 2;
        } else if (format & DT_BOTTOM) {
            y = bottom - lineHeight;
        }
    }
    const RECT* clip = (format & DT_NOCLIP) || calc ? nullptr : rect;
    int widest = 0;
    for (const LaidLine& line : lines) {
        // Drawing with clipping stops after the first line that reaches past the bottom, and
        // the height returned counts only the lines drawn.
        const bool lastLine = clip && y + lineHeight > bottom;
        widest = std::max(widest, line.width);
        if (!calc) {
            long long x = left;
            if (format & DT_CENTER) {
                x = (left + right - line.width) / 2;
            } else if (format & DT_RIGHT) {
                x = right - line.width;
            }
            DrawLine(dc, *font, line.text, line.width, Clamped(x), Clamped(y), clip);
            if (line.underlined >= 0) {
                // The prefix line sits one row below the ascent and stops a pixel short of the
                // next character, as GDI draws it.
                const std::string_view before(line.text.data(), static_cast<std::size_t>(line.underlined));
                const int from = Clamped(x) + font->TextWidth(before);
                const int to = from + font->Advances()[static_cast<unsigned char>(line.text[line.underlined])] - 1;
                const int row = Clamped(y) + m.ascent + 1;
                FillArea(dc, {from, row, to, row + 1}, clip, dc.textColour);
            }
        }
        y += lineHeight;
        if (lastLine) break;
    }
    if (calc) {
        rect->right = Saturated(left + widest);
        rect->bottom = Saturated(y);
    }
    return Saturated(y - top);
}

BOOL EngineTextExtent(const detail::Dc& dc, std::string_view str, SIZE* size) {
    FontInstance* font = FontOfDc(dc);
    if (!font) return FALSE;
    // The empty text has no extent at all, not even the font's height, as Wine's gdi32 reports.
    size->cx = str.empty() ? 0 : font->TextWidth(str);
    size->cy = str.empty() ? 0 : font->Metrics().height;
    return TRUE;
}

BOOL EngineTextOut(const detail::Dc& dc, int x, int y, std::string_view str) {
    FontInstance* font = FontOfDc(dc);
    if (!font) return FALSE;
    if (!str.empty()) DrawLine(dc, *font, str, font->TextWidth(str), Clamped(x), Clamped(y), nullptr);
    return TRUE;
}

BOOL EngineTextMetrics(const detail::Dc& dc, TEXTMETRICA* tm) {
    FontInstance* font = FontOfDc(dc);
    if (!font) return FALSE;
    const FontMetrics& m = font->Metrics();
    tm->tmHeight = m.height;
    tm->tmAscent = m.ascent;
    tm->tmDescent = m.descent;
    tm->tmInternalLeading = m.internalLeading;
    tm->tmExternalLeading = m.externalLeading;
    tm->tmAveCharWidth = m.aveCharWidth;
    tm->tmMaxCharWidth = m.maxCharWidth;
    tm->tmWeight = m.weight;
    return TRUE;
}

}  // namespace gdi::text
