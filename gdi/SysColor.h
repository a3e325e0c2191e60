// GetSysColor with the standard Windows colour table, which a host may replace.
// Owns the process-wide table.
#pragma once

#include <array>
#include <cstdint>

#include "Types.h"

namespace gdi {

constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNTEXT = 18;
constexpr int SysColorCount = 31;

COLORREF GetSysColor(int index);  // 0 for an index outside the table
using SysColorTable = std::array<COLORREF, SysColorCount>;
const SysColorTable& DefaultSysColors();
void SetSysColorTable(const SysColorTable& table);

// An OLE colour as a COLORREF: the top bit set means a system colour index in the low byte,
// resolved through the table above; anything else is returned unchanged.
COLORREF ColorFromOle(std::uint32_t ole);

}  // namespace gdi
