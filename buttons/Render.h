// A redraw from start to end: set-up of the buffer, the frame and its paint, the copy to the
// control's DC, and the layout steps a resize or a property change runs. Owns nothing; the control
// owns the state and the buffer, and presents what RedrawButton painted.
#pragma once

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "buttons/FaceSize.h"
#include "buttons/Frame.h"
#include "buttons/RenderBuffer.h"

namespace buttons {

// Creates the context (with the caption font) and a bitmap of the client size when missing.
void SetUpBuffer(RenderBuffer& buffer, const ButtonHost& host);
// Copies the buffer to the control's DC.
void PresentBuffer(const RenderBuffer& buffer, const ButtonHost& host);

enum class Repaint { Always, WhenChanged };
// Builds the frame and paints the buffer from it; false when nothing was painted: drawing is
// delayed, no Resize has made a buffer yet, or (WhenChanged) the buffer already shows this frame.
// Calls nothing of the host but its getters: the caller presents.
bool RedrawButton(const ButtonState& s, RenderBuffer& buffer, const ButtonHost& host, Repaint when = Repaint::Always);
// The paint of one frame into a buffer that is ready.
void PaintFrame(const Frame& f, RenderBuffer& buffer);

// The Resize steps before the final Refresh: regions, a buffer of the new size, caption layout.
void ResizeBuffer(ButtonState& s, RenderBuffer& buffer, ButtonHost& host);

// A property change that rebuilds the regions: a slant shape may widen the control, and the host's
// Resize is held back meanwhile, so a buffer of the old width is replaced here.
void Reshape(ButtonState& s, RenderBuffer& buffer, ButtonHost& host);
// The regions of the stored shape into s.Shape. A slant shape too narrow for its slant first has
// the host widen the control, with drawing delayed meanwhile (a caller's own delay is kept).
void RebuildShape(ButtonState& s, RenderBuffer& buffer, ButtonHost& host);

// The derived face colours of these properties.
DerivedColours DeriveFaceColours(const ButtonProperties& props);
// The caption layout of the present state into s.Layout.
void Relayout(ButtonState& s, RenderBuffer& buffer, const ButtonHost& host);

}  // namespace buttons
