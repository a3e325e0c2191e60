// The text calls: fonts, DrawTextA and measurement, by our FreeType engine on Linux and by the
// platform's own GDI on Windows. Text handed to the A calls is Windows-1252 (converters below).
#pragma once

#include <string>
#include <string_view>

#include "Handles.h"
#include "Types.h"

namespace gdi {

// Windows-1252 <-> UTF-8. Characters with no Windows-1252 form become '?'.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
// The Unicode code point of one Windows-1252 byte.
char32_t AnsiToCodePoint(unsigned char b);

// Returns the height of the text drawn (or measured, with DT_CALCRECT, which also updates rect).
int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format);
BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size);
BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count);

struct TEXTMETRICA {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
};
BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm);

// The font file fontconfig chose for a face name, for tests and diagnostics (the FreeType engine
// only: Windows picks its fonts itself).
std::string ResolveFontFile(std::string_view faceName, int weight, bool italic);

}  // namespace gdi
