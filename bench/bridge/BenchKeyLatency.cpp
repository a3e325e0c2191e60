// A key request from the program's own D-Bus binding to whatever owns EchoLink's name and back:
// with dizo-wine-echolink, through the bridge and COM to EchoLink under Wine and back. Run beside a
// station (scripts/e2e-wine-bridge.sh does); with none on the session bus it is skipped.
// DIZO_BENCH_STAMPS=FILE writes each request's send time (CLOCK_MONOTONIC_RAW, ms, the clock of
// Wine's tick count) so that a script can time its arrival in EchoLink's log.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDBusConnection>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "hosts/dbus/BusNames.h"
#include "hosts/dbus/DbusEchoLink.h"

namespace {

struct NoEvents final : echolink::ChatEvents {
    void ChatTextReceived(const std::string&) override {}
    void Closing() override {}
};

double RawMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_RAW, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void BM_KeyRoundTrip(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_bridge";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    NoEvents events;
    auto link = hosts::dbus::DbusEchoLink::Create(QDBusConnection::sessionBus(), events,
                                                  hosts::dbus::DefaultCallTimeoutMs);
    if (!link) {
        state.SkipWithError("no station owns org.dizochat.EchoLink on the session bus");
        return;
    }
    FILE* stamps = std::getenv("DIZO_BENCH_STAMPS") ? std::fopen(std::getenv("DIZO_BENCH_STAMPS"), "w") : nullptr;
    std::vector<double> took;
    bool keyed = false;
    for (auto _ : state) {
        keyed = !keyed;
        if (stamps != nullptr) std::fprintf(stamps, "%.3f %d\n", RawMs(), keyed ? 1 : 0);
        const auto start = std::chrono::steady_clock::now();
        const echolink::HResult result = link->SetTransmit(keyed);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        took.push_back(elapsed.count() * 1000.0);
        if (result.Failed()) {
            state.SkipWithError("the station refused a key request");
            break;
        }
    }
    if (keyed) (void)link->SetTransmit(false);
    if (stamps != nullptr) std::fclose(stamps);
    if (took.empty()) return;
    std::sort(took.begin(), took.end());
    state.counters["median_ms"] = took[took.size() / 2];
    state.counters["worst_ms"] = took.back();
}
BENCHMARK(BM_KeyRoundTrip)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
