// The key a named window property is filed under: names compare without regard to case, as the
// platform's atoms do. Shared by every implementation of the window services; owns nothing.
#pragma once

#include <string>
#include <string_view>

namespace win {

std::string PropertyKey(std::string_view name);

}  // namespace win
