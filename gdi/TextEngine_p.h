// Private seam between the text calls and the engine that measures and draws: ours on Linux
// (TextFreeType.cpp), the platform's own GDI on Windows (TextGdi.cpp). Owns nothing.
#pragma once

#include <string_view>

#include "ObjectTable_p.h"
#include "Text.h"

namespace gdi::text {

// Each is handed a live DC and arguments already checked by the public call (a text of known
// length, a rectangle or size to fill); each returns what the public call returns.
int EngineDrawText(const detail::Dc& dc, std::string_view text, RECT* rect, UINT format);
BOOL EngineTextExtent(const detail::Dc& dc, std::string_view text, SIZE* size);
BOOL EngineTextOut(const detail::Dc& dc, int x, int y, std::string_view text);
BOOL EngineTextMetrics(const detail::Dc& dc, TEXTMETRICA* tm);

}  // namespace gdi::text
