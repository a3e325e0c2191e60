// Soak: a million chat lines through the handler (spoken, Morse, chatter and a look-alike of the
// end command, relay on). Resident memory is read at 10^4, 10^5 and 10^6 lines: it must stay flat.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/SoakMemory.h"
#include "echolink/testing/FakeEchoLink.h"
#include "relay/Form1.h"
#include "relay/testing/EventLog.h"
#include "relay/testing/FakeForm.h"
#include "relay/testing/FakePause.h"
#include "relay/testing/FakeProgram.h"
#include "relay/testing/FakeSpeech.h"

namespace {

// The notices of dropped lines (most "=" lines here pass the share of time keyed) are not measured.
class NoNotices final : public relay::Log {
public:
    void Line(std::string_view) override {}
};

void SoakChatLines(benchmark::State& state) {
    relay::fakes::EventLog log;
    log.enabled = false;
    echolink::FakeEchoLinkFactory echoLink;
    echoLink.recordCalls = false;
    relay::fakes::FakeForm form;
    relay::fakes::FakeSpeech speech{log};
    speech.speechDuration = std::chrono::milliseconds(1200);
    relay::fakes::FakePause pause{log};
    relay::fakes::FakeProgram program{log};
    NoNotices notices;
    relay::Form1 form1{relay::Form1Services{echoLink, form, speech, pause, program, &notices}};
    form1.Load();
    const std::string lines[] = {"QD4RV>bom dia, linha ", "PY2XYZ>cq test ", "PU1ABC>conversa ", "QD4RV>FDP "};
    const char endings[] = {'=', '>', '.', ' '};
    for (auto _ : state) {
        for (long n = 1; n <= 1000000; ++n) {
            const std::size_t kind = static_cast<std::size_t>(n % 4);
            form1.ChatTextReceived(lines[kind] + std::to_string(n) + endings[kind]);
            if (n == 10000 || n == 100000 || n == 1000000) {
                state.counters["rss_kb_" + std::to_string(n)] = bench::ResidentKb();
                state.counters["heap_kb_" + std::to_string(n)] = bench::LiveHeapKb();
            }
        }
    }
    state.counters["voices_alive"] = speech.voicesAlive;
    state.counters["lines_spoken"] = speech.spoken;
    state.counters["program_ended"] = program.ended;
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(SoakChatLines)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
