// The display size the drawing layer answers for, taken from the primary screen and kept up to
// date when it changes. Sizes are Qt's device-independent pixels: a high-DPI screen scales whole windows.
#pragma once

namespace hosts::qt {

// Needs the QGuiApplication; call once after it is made.
void FollowPrimaryScreen();

}  // namespace hosts::qt
