#include "dialog/Pointers.h"

namespace dialog {

PointerShape PointerShapeFor(std::int32_t pointer) {
    switch (pointer) {
    case 2: return PointerShape::Cross;
    case 3: return PointerShape::IBeam;
    case 5: return PointerShape::SizeAll;
    case 6: return PointerShape::SizeNESW;
    case 7: return PointerShape::SizeNS;
    case 8: return PointerShape::SizeNWSE;
    case 9: return PointerShape::SizeWE;
    case 10: return PointerShape::UpArrow;
    case 11: return PointerShape::Wait;
    case 12: return PointerShape::No;
    case 13: return PointerShape::ArrowAndWait;
    case 14: return PointerShape::Help;
    case 15: return PointerShape::SizeAll;
    default: return PointerShape::Arrow;
    }
}

}  // namespace dialog
