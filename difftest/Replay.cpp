#include "Replay.h"

#include "OurSide_p.h"
#include "ReplayCalls_p.h"

namespace difftest {

Result ReplayOurs(const Script& script) { return side::Replayer().Run(script); }

}  // namespace difftest
