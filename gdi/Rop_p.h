// Private: raster operations applied to rows of pixels held as 32-bit words.
// Both surface depths pass through here: 1 bpp values are 0 or 1 in each word.
#pragma once

#include <cstdint>

#include "Types.h"

namespace gdi::detail {

constexpr int RopIndex(DWORD rop) { return static_cast<int>((rop >> 16) & 0xFF); }
constexpr bool RopUsesSource(DWORD rop) { return ((RopIndex(rop) >> 2) ^ RopIndex(rop)) & 0x33; }
constexpr bool RopUsesPattern(DWORD rop) { return ((RopIndex(rop) >> 4) ^ RopIndex(rop)) & 0x0F; }

// dest[i] = rop(pattern, source[i], dest[i]) & mask for n pixels; source may be null when unused.
void RopRow(int ropIndex, std::uint32_t pattern, const std::uint32_t* source, std::uint32_t* dest, int n,
            std::uint32_t mask);

// The same with a pattern value per pixel (a dithered brush).
void RopRowPatterned(int ropIndex, const std::uint32_t* pattern, const std::uint32_t* source, std::uint32_t* dest,
                     int n, std::uint32_t mask);

}  // namespace gdi::detail
