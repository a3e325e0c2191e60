#include "buttons/FaceState.h"

#include <array>
#include <utility>

namespace buttons {
namespace {

constexpr std::array<std::pair<FaceState, std::string_view>, 6> Names{{
    {FaceState::Idle, "idle"},
    {FaceState::Default, "default"},
    {FaceState::Hover, "hover"},
    {FaceState::Pressed, "pressed"},
    {FaceState::Disabled, "disabled"},
    {FaceState::Value, "value"},
}};

}  // namespace

std::optional<FaceState> ParseFaceState(std::string_view text) {
    for (const auto& [state, name] : Names)
        if (name == text) return state;
    return std::nullopt;
}

std::string_view FaceStateName(FaceState state) {
    for (const auto& [s, name] : Names)
        if (s == state) return name;
    return "?";
}

Interaction InteractionFor(FaceState state) {
    Interaction i;
    switch (state) {
        case FaceState::Default: i.StateFlags = DefaultLook; break;
        case FaceState::Hover:
            i.StateFlags = MouseOver;
            i.HoverLit = true;
            break;
        case FaceState::Pressed:
            i.StateFlags = HeldDown | MouseOver;
            i.HoverLit = true;
            i.ButtonDown = true;
            break;
        case FaceState::Idle:
        case FaceState::Disabled:
        case FaceState::Value: break;
    }
    return i;
}

void ApplyFaceState(FaceState state, ButtonState& s, ButtonHost& host) {
    const Interaction i = InteractionFor(state);
    s.Input.StateFlags = i.StateFlags;
    s.Input.HoverLit = i.HoverLit;
    s.Input.ButtonDown = i.ButtonDown;
    host.SetEnabled(state != FaceState::Disabled);
    if (state == FaceState::Value) {
        if (s.Props.Mode == ToInt(ButtonMode::ModeCommand)) s.Props.Mode = ToInt(ButtonMode::ModeCheckBox);
        s.Props.Value = true;
    }
}

}  // namespace buttons
