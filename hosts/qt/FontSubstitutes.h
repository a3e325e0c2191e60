// Qt's stand-ins for the classic Windows fonts the window descriptions name, so labels and text
// boxes keep their metrics even where the system's fontconfig snippet is not installed.
#pragma once

namespace hosts::qt {

void InstallFontSubstitutes();

}  // namespace hosts::qt
