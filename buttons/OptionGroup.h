// Option groups: the registry of option buttons kept as named properties on the container window.
// The registry never owns its members; a member leaves before it is destroyed.
#pragma once

#include <cstdint>
#include <string>

#include "buttons/ButtonControl.h"

namespace buttons {

enum class OptionAction : std::int16_t { Leave = -1, Select = 0, Join = 1, Query = 2 };

constexpr const char* OptCountProperty = "qk_OptCount";
// "qk_Obj" followed by the member number in decimal.
std::string OptionEntryName(int index);

// Join, leave, switch the other members off, or ask whether any member is on. Any fault in the
// registry ends the walk silently; the answer keeps what was found so far.
bool OptionToggle(ButtonControl& self, std::int16_t action);
inline bool OptionToggle(ButtonControl& self, OptionAction action) {
    return OptionToggle(self, static_cast<std::int16_t>(action));
}

}  // namespace buttons
