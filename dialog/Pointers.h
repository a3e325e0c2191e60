// The pointer shapes a control's MousePointer code names, for hosts to map to their own cursors.
// Pure: one table.
#pragma once

#include <cstdint>

namespace dialog {

enum class PointerShape : std::uint8_t {
    Arrow, Cross, IBeam, SizeAll, SizeNESW, SizeNS, SizeNWSE, SizeWE, UpArrow, Wait, No, ArrowAndWait, Help,
};

// Codes 0 to 15 of MousePointer; the arrow for the rest (0, the default, and 99 when its custom
// icon gives no cursor).
PointerShape PointerShapeFor(std::int32_t mousePointer);

}  // namespace dialog
