// Random chat lines through Form1's chat handler, against the recording fakes, with the relay on
// or off and any part failing. Each line must have exactly one of the four outcomes its ending
// calls for (nothing; keyed, pause, speech, unkeyed; Morse of the whole message; the end), the
// transmitter is never left keyed and never keyed past its limit, and no voice outlives a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/Require.h"
#include "echolink/testing/FakeEchoLink.h"
#include "relay/Form1.h"
#include "relay/Texts.h"
#include "relay/testing/EventLog.h"
#include "relay/testing/FakeForm.h"
#include "relay/testing/FakeLog.h"
#include "relay/testing/FakePause.h"
#include "relay/testing/FakeProgram.h"
#include "relay/testing/FakeSpeech.h"

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kLimit = std::chrono::seconds(10);

using fuzz::Require;

// The message by the rule itself, written apart from the relay's own code: only a ">" among the
// first ten characters (UTF-8 lead bytes) separates the sender's name.
std::string_view Message(std::string_view line) {
    int characters = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) continue;
        if (++characters > 10) break;
        if (line[i] == '>') return line.substr(i + 1);
    }
    return line;
}

struct World {
    relay::fakes::EventLog log;
    echolink::FakeEchoLinkFactory echoLink;
    relay::fakes::FakeForm form{&log};
    relay::fakes::FakeSpeech speech{log};
    relay::fakes::FakePause pause{log};
    relay::fakes::FakeProgram program{log};
    relay::fakes::FakeLog notices{log};
    relay::Form1 window{relay::Form1Services{echoLink, form, speech, pause, program, &notices, kLimit}};
};

void CheckLine(World& w, std::string_view line, bool relayOn) {
    const std::size_t callsBefore = w.echoLink.calls.size();
    const int spokenBefore = w.speech.spoken;
    const int endedBefore = w.program.ended;
    const milliseconds start = w.log.now;
    w.echoLink.RaiseChatTextReceived(std::string(line));

    const std::string_view message = Message(line);
    const std::size_t calls = w.echoLink.calls.size() - callsBefore;
    const int spoken = w.speech.spoken - spokenBefore;
    const bool ended = w.program.ended != endedBefore;
    Require(w.speech.voicesAlive == 0);
    Require(ended == message.ends_with("fdp"));
    if (relayOn && message.ends_with('=')) {
        // A refused unkeying is tried once more.
        Require(calls == (w.echoLink.failSetTransmit ? 3u : 2u));
        Require(w.echoLink.calls[callsBefore].op == echolink::Operation::SetTransmit);
        Require(w.echoLink.calls[callsBefore].keyed);
        Require(w.echoLink.calls.back().op == echolink::Operation::SetTransmit);
        Require(!w.echoLink.calls.back().keyed);
        Require(spoken == (w.speech.available && !w.speech.speakFails ? 1 : 0));
        if (spoken == 1) Require(w.speech.lastText == message.substr(0, message.size() - 1));
        Require(w.log.now - start <= kLimit - relay::kStopAllowance);
    } else if (relayOn && message.ends_with('>')) {
        Require(calls == 1);
        const echolink::RecordedCall& call = w.echoLink.calls.back();
        Require(call.op == echolink::Operation::SendMorse && call.reserved == 0);
        Require(call.text.String() == message);
        Require(spoken == 0);
    } else {
        Require(calls == 0 && spoken == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t flags = data[0];
    World w;
    w.log.enabled = false;  // only the virtual clock is needed
    w.echoLink.failSetTransmit = (flags & 0x08) != 0;
    w.echoLink.failSendMorse = (flags & 0x10) != 0;
    w.speech.available = (flags & 0x02) == 0;
    w.speech.speakFails = (flags & 0x04) != 0;
    w.speech.knowsPosition = (flags & 0x80) != 0;
    // Speech far past the limit, speech that ends exactly where it would be cut, or short speech.
    // (Without EchoLink no chat line arrives at all, so that case is not played here.)
    const milliseconds atTheCut = kLimit - milliseconds(relay::kPauseBeforeSpeechMs) - relay::kStopAllowance;
    w.speech.speechDuration = (flags & 0x40) != 0   ? std::chrono::hours(1)
                              : (flags & 0x20) != 0 ? atTheCut
                                                    : milliseconds(1500);
    w.window.Load();
    const bool relayOn = (flags & 0x01) != 0;
    if (!relayOn) w.window.Click("desligar");
    w.echoLink.calls.clear();

    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    bool ended = false;
    while (!ended) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        if (w.program.ended > 0) {
            // Once the program is ending, further lines change nothing.
            const std::size_t before = w.echoLink.calls.size();
            w.echoLink.RaiseChatTextReceived(std::string(line));
            Require(w.echoLink.calls.size() == before && w.program.ended == 1);
        } else {
            CheckLine(w, line, relayOn);
        }
        if (end == std::string_view::npos) ended = true;
        else rest.remove_prefix(end + 1);
    }
    // Whatever happened, the last word to the transmitter was to unkey it.
    for (auto it = w.echoLink.calls.rbegin(); it != w.echoLink.calls.rend(); ++it) {
        if (it->op == echolink::Operation::SetTransmit) {
            Require(!it->keyed);
            break;
        }
    }
    return 0;
}
