// Cost of the hover poll and of a whole press-release-click cycle, on the fake window services.
#include <benchmark/benchmark.h>

#include "buttons/ButtonControl.h"
#include "buttons/Input.h"
#include "win/FakeWindowServices.h"

namespace {

class NullHost : public buttons::ButtonHost {
public:
    explicit NullHost(win::HWND self) : self_(self) {}
    buttons::OleColor ForeColor() const override { return 0; }
    void SetForeColor(buttons::OleColor) override {}
    buttons::FontDesc Font() const override { return {}; }
    void SetFont(const buttons::FontDesc&) override {}
    bool Enabled() const override { return true; }
    void SetEnabled(bool) override {}
    std::int32_t MousePointer() const override { return 0; }
    void SetMousePointer(std::int32_t) override {}
    buttons::PictureRef MouseIcon() const override { return nullptr; }
    void SetMouseIcon(buttons::PictureRef) override {}
    std::string AccessKeys() const override { return {}; }
    void SetAccessKeys(const std::string&) override {}
    std::string Tag() const override { return {}; }
    void SetTag(const std::string&) override {}
    bool UserMode() const override { return true; }
    buttons::OleColor AmbientBackColor() const override { return 0; }
    std::string DisplayName() const override { return {}; }
    bool DisplayAsDefault() const override { return false; }
    void PropertyChanged(const std::string&) override {}
    void InfoMessage(const std::string&) override {}
    double ScaleWidth() const override { return 145; }
    double ScaleHeight() const override { return 41; }
    gdi::HDC hDC() const override { return {}; }
    win::HWND hWnd() const override { return self_; }
    win::HWND ContainerHwnd() const override { return {}; }
    void RefreshNow() override {}
    void SetWidthPixels(int) override {}
    void SetWindowRgn(gdi::HRGN, bool) override {}

private:
    win::HWND self_;
};

// Redraws are counted, not painted: this measures the input path alone.
class CountingControl : public buttons::ButtonControl {
public:
    CountingControl(win::FakeWindowServices& ws, win::HWND hwnd) : ws_(ws), host_(hwnd) {}
    buttons::ButtonState& State() override { return state_; }
    buttons::ButtonHost& Host() override { return host_; }
    win::WindowServices& Windows() override { return ws_; }
    buttons::ButtonEvents* Listener() override { return &events_; }
    void Refresh() override { ++redraws; }
    bool GetValue() override { return state_.Value; }
    void SetValue(bool v) override { state_.Value = v; }
    long redraws = 0;

private:
    win::FakeWindowServices& ws_;
    NullHost host_;
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
