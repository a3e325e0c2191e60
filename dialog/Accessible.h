// What assistive technology is told about a window's controls: each control's role and its name as
// a screen reader should say it. One table for every host; states are to join it.
#pragma once

#include <string>
#include <string_view>

#include "forms/model/WindowModel.h"

namespace dialog {

enum class Role : std::uint8_t { Button, TextBox, Label, Grouping, Picture, Animation, Separator };

Role RoleOf(forms::ControlKind kind);

// A caption without its access-key marks ("&&" is one "&"), its "||" line breaks as blanks, and
// without the blanks at either end.
std::string SpokenCaption(std::string_view caption);

}  // namespace dialog
