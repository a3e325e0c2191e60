#include "gdi/Text.h"

#include <cstring>

#include "gdi/TextEngine_p.h"

namespace gdi {

int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format) {
    // A zero count draws nothing and leaves the rectangle alone; so does a null text with a
    // length, rather than reading from nowhere.
    if (!rect || count == 0 || (!text && count > 0)) return 0;
    const detail::Dc* dc = detail::LookupDc(hdc);
    if (!dc) return 0;
    const std::size_t length = !text ? 0 : count < 0 ? std::strlen(text) : static_cast<std::size_t>(count);
    return text::EngineDrawText(*dc, {text ? text : "", length}, rect, format);
}

BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size) {
    if (!size || count < 0 || (!text && count > 0)) return FALSE;
    const detail::Dc* dc = detail::LookupDc(hdc);
    if (!dc) return FALSE;
    return text::EngineTextExtent(*dc, {text ? text : "", static_cast<std::size_t>(count)}, size);
}

BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count) {
    if (count < 0 || (!text && count > 0)) return FALSE;
    const detail::Dc* dc = detail::LookupDc(hdc);
    if (!dc) return FALSE;
    return text::EngineTextOut(*dc, x, y, {text ? text : "", static_cast<std::size_t>(count)});
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm) {
    if (!tm) return FALSE;
    const detail::Dc* dc = detail::LookupDc(hdc);
    if (!dc) return FALSE;
    return text::EngineTextMetrics(*dc, tm);
}

}  // namespace gdi
