// Replays a drawing script on our drawing layer.
// Owns nothing beyond the call: every object the script makes is deleted before it returns.
#pragma once

#include "Result.h"
#include "Script.h"

namespace difftest {

Result ReplayOurs(const Script& script);

}  // namespace difftest
