#include "hosts/qt/Units.h"

#include "gdi/SysColor.h"

namespace hosts::qt {

QColor ColourFromOle(std::uint32_t ole) {
    const std::uint32_t bgr = (ole & 0x80000000u) != 0 ? gdi::GetSysColor(static_cast<int>(ole & 0xFF)) : ole;
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace hosts::qt
