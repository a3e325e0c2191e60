// Soak: a million redraws of one button, each after a property change (colours, caption, shape,
// style, hover). Resident memory and live drawing objects are read at 10^4, 10^5 and 10^6
// redraws: both must stay flat, and the objects return to the start once the button is gone.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/SoakMemory.h"
#include "buttons/testing/HeadlessHost.h"
#include "buttons/qkButtons_H.h"
#include "gdi/Gdi.h"
#include "win/testing/FakeWindowServices.h"

namespace {

void SoakRedraws(benchmark::State& state) {
    const int objectsBefore = gdi::LiveObjects().total();
    long notifications = 0;
    for (auto _ : state) {
        win::FakeWindowServices windows;
        buttons::testing::HeadlessHost host(97, 41);
        const win::HWND container = windows.CreateWindow({0, 0, 400, 300});
        host.SetWindows(windows.CreateWindow({10, 10, 107, 51}, container), container);
        host.SetUserMode(true);
        auto button = std::make_unique<buttons::qkButtons_H>(host, windows);
        button->InitProperties();
        button->Resize();
        host.ClearRecords();
        for (long n = 1; n <= 1000000; ++n) {
            switch (n % 6) {
                case 0: button->SetBackColor(static_cast<buttons::OleColor>(n * 0x010203 & 0xFFFFFF)); break;
                case 1: button->SetCaption("linha " + std::to_string(n)); break;
                case 2: button->SetButtonShape(static_cast<std::int32_t>(n / 6 % 4)); break;
                case 3: button->SetButtonStyle(static_cast<std::int32_t>(n / 6 % 7)); break;
                case 4: button->SetGradientColor(static_cast<buttons::OleColor>(n & 0xFFFFFF)); break;
                default: button->SetHoverBackColor(static_cast<buttons::OleColor>(~n & 0xFFFFFF)); break;
            }
            button->Refresh();
            // The headless host logs every notification for tests to read; a million of them
            // would be the soak's own growth, so they are counted and dropped.
            notifications += static_cast<long>(host.Records().size());
            host.ClearRecords();
            if (n == 10000 || n == 100000 || n == 1000000) {
                state.counters["rss_kb_" + std::to_string(n)] = bench::ResidentKb();
                state.counters["heap_kb_" + std::to_string(n)] = bench::LiveHeapKb();
                state.counters["gdi_objects_" + std::to_string(n)] = gdi::LiveObjects().total() - objectsBefore;
            }
        }
    }
    state.counters["notifications"] = static_cast<double>(notifications);
    state.counters["gdi_objects_after"] = gdi::LiveObjects().total() - objectsBefore;
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(SoakRedraws)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
