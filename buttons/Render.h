// A redraw from start to end: set-up of the buffer, the full repaint and the copy to the control,
// and the rebuild after a resize. Owns nothing; the control owns the state and the buffer.
#pragma once

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "buttons/FaceSize.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

// Creates the context (with the caption font) and a bitmap of the client size when missing.
void SetUpBuffer(RenderBuffer& buffer, const ButtonHost& host);
// Copies the buffer to the control's DC.
void PresentBuffer(const RenderBuffer& buffer, const ButtonHost& host);
// Full repaint into the buffer, the copy, and an immediate host refresh; nothing while drawing is
// delayed or before the first Resize made a buffer.
void RedrawButton(const ButtonState& s, RenderBuffer& buffer, ButtonHost& host);
// The Resize steps before the final Refresh: regions, a buffer of the new size, caption layout.
void ResizeBuffer(ButtonState& s, RenderBuffer& buffer, ButtonHost& host);

// A property change that rebuilds the regions: a slant shape may widen the control, and the host's
// Resize is held back meanwhile, so a buffer of the old width is replaced here.
void Reshape(ButtonState& s, RenderBuffer& buffer, ButtonHost& host);

// The derived face colours of these properties.
DerivedColours DeriveFaceColours(const ButtonProperties& props);
// Re-lay out: CalcCaptionLayout with its results discarded.
void Relayout(ButtonState& s, const RenderBuffer& buffer, const ButtonHost& host);

}  // namespace buttons
