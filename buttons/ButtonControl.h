// What input handling, hover tracking and option groups need of the control they drive.
// qkButtons_H implements it; tests use small doubles. Borrowed, never owned.
#pragma once

#include "buttons/ButtonEvents.h"
#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "win/WindowServices.h"

namespace buttons {

class ButtonControl {
public:
    virtual ~ButtonControl() = default;
    virtual ButtonState& State() = 0;
    virtual ButtonHost& Host() = 0;
    virtual win::WindowServices& Windows() = 0;
    // The container's listener; null when nobody listens.
    virtual ButtonEvents* Listener() = 0;
    // The public Refresh: repaints unless drawing is delayed.
    virtual void Refresh() = 0;
    // The drawing switch alone, without the redraw DelayDrawing(False) makes.
    virtual void SetDrawingDelayed(bool delayed) = 0;
    // The Value property, through its getter and setter (the setter redraws, notifies and, for an
    // option button switched on, clears the rest of its group).
    virtual bool GetValue() = 0;
    virtual void SetValue(bool value) = 0;
};

// The container's window: kept as decimal text in the host's tag string and read back at each use;
// the recorded field serves when the tag holds no number.
win::HWND ContainerWindow(ButtonControl& control);

}  // namespace buttons
