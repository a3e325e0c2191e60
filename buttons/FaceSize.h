// The client size as the painters use it: the host's values rounded half to even, never negative,
// and capped at the largest bitmap the drawing layer is asked for. Owns nothing.
#pragma once

#include <cstdint>

#include "buttons/ButtonHost.h"

namespace buttons {

constexpr std::int32_t MaxBufferEdge = 16384;
std::int32_t ClientWidth(const ButtonHost& host);
std::int32_t ClientHeight(const ButtonHost& host);

}  // namespace buttons
