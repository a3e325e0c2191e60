// The display size the drawing layer answers for, taken from the system's metrics when a window
// is made and again when the display changes. Owns nothing.
#pragma once

namespace hosts::win32 {

// The primary screen's size in pixels (SM_CXSCREEN, SM_CYSCREEN) into gdi::SetScreenSize; false
// when the system gives none, and the size the drawing layer had stays.
bool ApplyScreenSize();

}  // namespace hosts::win32
