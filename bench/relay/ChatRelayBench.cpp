// Throughput of the chat relay on lines that speak nothing, so a flood of chat cannot stall the
// window: relay off, Morse lines, plain chatter, and long lines. Reports lines per second.
#include <benchmark/benchmark.h>

#include <string>

#include "echolink/testing/FakeEchoLink.h"
#include "relay/Form1.h"
#include "relay/testing/EventLog.h"
#include "relay/testing/FakeForm.h"
#include "relay/testing/FakePause.h"
#include "relay/testing/FakeProgram.h"
#include "relay/testing/FakeSpeech.h"

namespace {

struct Window {
    relay::fakes::EventLog log;
    echolink::FakeEchoLinkFactory echoLink;
    relay::fakes::FakeForm form;
    relay::fakes::FakeSpeech speech{log};
    relay::fakes::FakePause pause{log};
    relay::fakes::FakeProgram program{log};
    relay::Form1 form1{relay::Form1Services{echoLink, form, speech, pause, program}};

    explicit Window(bool relayOn) {
        log.enabled = false;
        echoLink.recordCalls = false;
        form1.Load();
        if (!relayOn) {
            form1.Click("desligar");
        }
    }
};

std::string Line(std::size_t messageLength, char ending) {
    std::string line = "PY2XYZ>";
    line.append(messageLength, 'a');
    line.push_back(ending);
    return line;
}

void Run(benchmark::State& state, bool relayOn, const std::string& line) {
    Window window(relayOn);
    for (auto _ : state) {
        window.form1.ChatTextReceived(line);
        benchmark::DoNotOptimize(window.form1.MessageText().data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void SpeechLineRelayOff(benchmark::State& state) {
    Run(state, false, Line(static_cast<std::size_t>(state.range(0)), '='));
}
void MorseLineRelayOn(benchmark::State& state) {
    Run(state, true, Line(static_cast<std::size_t>(state.range(0)), '>'));
}
void ChatterRelayOn(benchmark::State& state) {
    Run(state, true, Line(static_cast<std::size_t>(state.range(0)), '.'));
}
void NoSeparatorRelayOn(benchmark::State& state) {
    Run(state, true, std::string(static_cast<std::size_t>(state.range(0)), 'x'));
}

BENCHMARK(SpeechLineRelayOff)->Arg(16)->Arg(1024)->Arg(1 << 20);
BENCHMARK(MorseLineRelayOn)->Arg(16)->Arg(1024)->Arg(1 << 20);
BENCHMARK(ChatterRelayOn)->Arg(16)->Arg(1024)->Arg(1 << 20);
BENCHMARK(NoSeparatorRelayOn)->Arg(1 << 20);

}  // namespace
