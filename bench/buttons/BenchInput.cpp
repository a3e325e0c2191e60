// Cost of the hover poll and of a whole press-release-click cycle, on the fake window services.
#include <benchmark/benchmark.h>

#include "buttons/ButtonControl.h"
#include "buttons/testing/HeadlessHost.h"
#include "buttons/Input.h"
#include "win/testing/FakeWindowServices.h"

namespace {

// Redraws are counted, not painted: this measures the input path alone.
class CountingControl : public buttons::ButtonControl {
public:
    CountingControl(win::FakeWindowServices& ws, win::HWND hwnd) : ws_(ws), host_(145, 41) {
        host_.SetWindows(hwnd, win::HWND{});
    }
    buttons::ButtonState& State() override { return state_; }
    buttons::ButtonHost& Host() override { return host_; }
    win::WindowServices& Windows() override { return ws_; }
    buttons::ButtonEvents* Listener() override { return &events_; }
    void Refresh() override { ++redraws; }
    void SetDrawingDelayed(bool delayed) override { state_.Drawing.Delayed = delayed; }
    bool GetValue() override { return state_.Props.Value; }
    void SetValue(bool v) override { state_.Props.Value = v; }
    long redraws = 0;

private:
    win::FakeWindowServices& ws_;
    buttons::testing::HeadlessHost host_;
    buttons::ButtonState state_;
    buttons::ButtonEvents events_;
};

void BM_HoverTickPointerStillOver(benchmark::State& st) {
    win::FakeWindowServices ws;
    const win::HWND form = ws.CreateWindow({0, 0, 800, 600});
    const win::HWND hwnd = ws.CreateWindow({10, 10, 155, 51}, form);
    CountingControl control(ws, hwnd);
    buttons::ButtonInput input(control);
    ws.SetCursor({20, 20});
    std::int16_t b = 0, s = 0;
    float x = 10, y = 10;
    input.MouseMove(b, s, x, y);
    for (auto _ : st) input.HoverTick(buttons::HoverTimerId);
}
BENCHMARK(BM_HoverTickPointerStillOver);

void BM_IdleTimeWithPointerElsewhere(benchmark::State& st) {
    win::FakeWindowServices ws;
    const win::HWND hwnd = ws.CreateWindow({10, 10, 155, 51});
    CountingControl control(ws, hwnd);
    buttons::ButtonInput input(control);
    for (auto _ : st) ws.AdvanceTime(50);  // no timer runs: nothing to do
}
BENCHMARK(BM_IdleTimeWithPointerElsewhere);

void BM_PressReleaseClick(benchmark::State& st) {
    win::FakeWindowServices ws;
    const win::HWND hwnd = ws.CreateWindow({10, 10, 155, 51});
    CountingControl control(ws, hwnd);
    buttons::ButtonInput input(control);
    std::int16_t left = 1, shift = 0;
    float x = 10, y = 10;
    for (auto _ : st) {
        input.MouseDown(left, shift, x, y);
        input.MouseUp(left, shift, x, y);
        input.Click();
    }
    benchmark::DoNotOptimize(control.redraws);
}
BENCHMARK(BM_PressReleaseClick);

}  // namespace
