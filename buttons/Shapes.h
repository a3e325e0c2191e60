// Window outlines of the seven shapes, the slant positions and the face clip of the oval shapes.
// The window region goes to the host (which owns it from then on); FaceClipRgn stays the control's.
#pragma once

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"

namespace buttons {

void BuildRegions(ButtonState& s, ButtonHost& host);

}  // namespace buttons
