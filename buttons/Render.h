// The control's offscreen buffer MemDC: set-up, full repaint and copy, resize, and teardown.
// Owns MemDC, its buffer bitmap and the pen, brush and font selected in it, and FaceClipRgn.
#pragma once

#include <cstdint>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"

namespace buttons {

// The client size as the painters use it: the host's values rounded half to even, never negative,
// and capped at the largest bitmap the drawing layer is asked for.
constexpr std::int32_t MaxBufferEdge = 16384;
std::int32_t ClientWidth(const ButtonHost& host);
std::int32_t ClientHeight(const ButtonHost& host);

// setUp True: create MemDC and/or the buffer bitmap when missing. False: copy the buffer to the control.
void ManageBuffer(ButtonState& s, ButtonHost& host, bool setUp);
// Full repaint into the buffer, the copy, and an immediate host refresh; nothing while DelayFlag is set.
void RedrawButton(ButtonState& s, ButtonHost& host);
// The Resize steps before the final Refresh: regions, a buffer of the new size, caption layout.
void ResizeBuffer(ButtonState& s, ButtonHost& host);
// Teardown of the drawing objects: the clip region, the created pen, brush, font and bitmap, MemDC.
// The saved originals go back into MemDC before it is deleted. Safe to call twice.
void ReleaseBuffer(ButtonState& s);

// RefreshCache "BackColor": the derived face colours.
void RefreshFaceColours(ButtonState& s);
// Re-lay out: CalcCaptionLayout with its results discarded.
void Relayout(ButtonState& s, ButtonHost& host);

}  // namespace buttons
