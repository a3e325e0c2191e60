// The ternary raster-operation engine, with direct loops for the operations buttons use most.
#include "Draw.h"
#include "Rop_p.h"

namespace gdi {

std::uint32_t ApplyRop3(DWORD rop, std::uint32_t pattern, std::uint32_t source, std::uint32_t dest) {
    const int index = detail::RopIndex(rop);
    std::uint32_t result = 0;
    // Bit (P<<2 | S<<1 | D) of the index says what each input combination gives.
    for (int i = 0; i < 8; ++i) {
        if (!((index >> i) & 1)) continue;
        result |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) & ((i & 1) ? dest : ~dest);
    }
    return result;
}

namespace detail {

void RopRow(int ropIndex, std::uint32_t pattern, const std::uint32_t* source, std::uint32_t* dest, int n,
            std::uint32_t mask) {
    switch (ropIndex) {
        case 0x00:
            for (int i = 0; i < n; ++i) dest[i] = 0;
            return;
        case 0xFF:
            for (int i = 0; i < n; ++i) dest[i] = mask;
            return;
        case 0xF0:
            for (int i = 0; i < n; ++i) dest[i] = pattern & mask;
            return;
        case 0xCC:
            for (int i = 0; i < n; ++i) dest[i] = source[i] & mask;
            return;
        case 0x88:
            for (int i = 0; i < n; ++i) dest[i] &= source[i];
            return;
        case 0xEE:
            for (int i = 0; i < n; ++i) dest[i] = (dest[i] | source[i]) & mask;
            return;
        case 0x66:
            for (int i = 0; i < n; ++i) dest[i] = (dest[i] ^ source[i]) & mask;
            return;
        case 0x55:
            for (int i = 0; i < n; ++i) dest[i] = ~dest[i] & mask;
            return;
        default: break;
    }
    const DWORD rop = static_cast<DWORD>(ropIndex) << 16;
    if (source) {
        for (int i = 0; i < n; ++i) dest[i] = ApplyRop3(rop, pattern, source[i], dest[i]) & mask;
    } else {
        for (int i = 0; i < n; ++i) dest[i] = ApplyRop3(rop, pattern, 0, dest[i]) & mask;
    }
}

void RopRowPatterned(int ropIndex, const std::uint32_t* pattern, const std::uint32_t* source, std::uint32_t* dest,
                     int n, std::uint32_t mask) {
    const DWORD rop = static_cast<DWORD>(ropIndex) << 16;
    for (int i = 0; i < n; ++i) dest[i] = ApplyRop3(rop, pattern[i], source ? source[i] : 0u, dest[i]) & mask;
}

}  // namespace detail
}  // namespace gdi
