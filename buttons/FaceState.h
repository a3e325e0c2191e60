// The looks a face can be shown in, and the one mapping from each to the control's state as input
// leaves it. Used by the render tool and the face tests alike. Owns nothing.
#pragma once

#include <optional>
#include <string_view>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"

namespace buttons {

enum class FaceState { Idle, Default, Hover, Pressed, Disabled, Value };

// "idle", "default", "hover", "pressed", "disabled", "value"; nullopt for anything else.
std::optional<FaceState> ParseFaceState(std::string_view text);
std::string_view FaceStateName(FaceState state);

// The interaction fields input leaves for this state. Pressed has the pointer over the button and
// the hover lit, as a mouse press always has; the other states have none of input's fields set.
Interaction InteractionFor(FaceState state);

// Puts the control's state and host into this look: interaction as above, the host enabled unless
// Disabled, and for Value the value set (a command button becomes a check button, which has one).
void ApplyFaceState(FaceState state, ButtonState& s, ButtonHost& host);

}  // namespace buttons
