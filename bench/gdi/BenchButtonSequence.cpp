// The whole button redraw through our drawing layer: the very calls WineBench.exe times through
// Wine's gdi32 (difftest/compare-speed.sh runs both and prints the ratio).
#include <benchmark/benchmark.h>

#include "difftest/OurSide_p.h"
#include "difftest/ButtonSequence_p.h"

namespace {

void BM_ButtonSequence(benchmark::State& state) {
    difftest::side::ButtonSequence seq;
    if (!seq.Ready()) {
        state.SkipWithError("could not create the drawing objects");
        return;
    }
    const bool withIcon = state.range(0) != 0;
    for (auto _ : state) seq.Redraw(withIcon);
}
BENCHMARK(BM_ButtonSequence)->ArgName("icon")->Arg(0)->Arg(1);

}  // namespace
