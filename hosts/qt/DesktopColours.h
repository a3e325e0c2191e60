// The system colours the drawing layer answers GetSysColor with, taken from the desktop's palette
// where it has a matching role; the rest keep the classic table.
#pragma once

class QPalette;

namespace hosts::qt {

void ApplyDesktopColours(const QPalette& palette);

}  // namespace hosts::qt
