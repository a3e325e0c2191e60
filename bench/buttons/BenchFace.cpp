// PaintStandardFace of a 145 x 41 face, for every shape and gradient mode.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "buttons/Gradient.h"
#include "buttons/Shapes.h"
#include "buttons/testing/FaceRig.h"

namespace {

void BM_PaintStandardFace(benchmark::State& state) {
    buttons::testing::FaceRig rig(145, 41);
    rig.s.Props.ButtonShape = static_cast<std::int32_t>(state.range(0));
    rig.s.Props.GradientMode = static_cast<std::int32_t>(state.range(1));
    rig.s.Props.GradientColor = gdi::RGB(96, 144, 208);
    buttons::RebuildShape(rig.s, rig.buffer, rig.host);
    const buttons::Frame frame = rig.Current();
    for (auto _ : state) buttons::PaintStandardFace(frame, rig.buffer);
}
BENCHMARK(BM_PaintStandardFace)->ArgNames({"shape", "gradient"})->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4}});

void BM_BuildRegions(benchmark::State& state) {
    buttons::testing::FaceRig rig(145, 41);
    rig.s.Props.ButtonShape = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) buttons::RebuildShape(rig.s, rig.buffer, rig.host);
}
BENCHMARK(BM_BuildRegions)->ArgName("shape")->DenseRange(0, 6);

}  // namespace
