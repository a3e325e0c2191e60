// Random chat lines through Form1's chat handler, against the recording fakes, with the relay on
// or off, any part failing, and a station or a voice that blocks or answers late on virtual time.
// Each line has one of the outcomes its ending calls for (nothing; keyed, pause, speech, unkeyed;
// Morse of the whole message; the end) or is dropped by a rule that holds chat lines back. The
// station is never keyed past the limit plus the guard's margin, is unkeyed once a handler has
// returned and the guard's time has come, keys for at most half of any 10 minutes and never in the
// minute after a time-out; no voice outlives a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/Require.h"
#include "echolink/testing/FakeEchoLink.h"
#include "relay/ChatLineRules.h"
#include "relay/Form1.h"
#include "relay/Texts.h"
#include "relay/TransmitGuard.h"
#include "relay/testing/EventLog.h"
#include "relay/testing/FakeForm.h"
#include "relay/testing/FakeGuard.h"
#include "relay/testing/FakeLog.h"
#include "relay/testing/FakePause.h"
#include "relay/testing/FakeProgram.h"
#include "relay/testing/FakeSpeech.h"

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kLimit = std::chrono::seconds(10);
constexpr milliseconds kForever = std::chrono::hours(100);
const echolink::HResult kCallTimedOut{static_cast<std::int32_t>(0x8001011Fu)};

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

std::size_t Characters(std::string_view s) {
    std::size_t n = 0;
    for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

enum class Unkeying { Answers, Refused, Hangs, AnswersLate };

// The station's own view: keyed or not, by whichever path, and since when.
struct Station {
    bool check = true;  // false when the guard's own unkeying is refused too: nothing can unkey then
    bool keyed = false;
    milliseconds since{0};
    std::vector<std::pair<milliseconds, milliseconds>> spans;  // every keying, closed
    void Set(bool on, milliseconds now) {
        if (on && !keyed) since = now;
        if (!on && keyed) {
            if (check) Require(now - since <= kLimit + relay::kGuardMargin);
            spans.emplace_back(since, now);
        }
        keyed = on;
    }
};

struct World {
    relay::fakes::EventLog log;
    echolink::FakeEchoLinkFactory echoLink;
    relay::fakes::FakeForm form{&log};
    relay::fakes::FakeSpeech speech{log};
    relay::fakes::FakePause pause{log};
    relay::fakes::FakeProgram program{log};
    relay::fakes::FakeLog notices{log};
    relay::fakes::FakeGuardTimer guardTimer{log};
    relay::fakes::FakeGuardPath guardPath{log};
    relay::TransmitGuard guard{guardTimer, guardPath.Actions(&notices)};
    relay::Form1 window{relay::Form1Services{echoLink, form, speech, pause, program, &notices, kLimit, &guard}};
    Station station;
    Unkeying unkeying = Unkeying::Answers;
    bool keyingHangs = false;
    bool guardRefused = false;
    std::vector<milliseconds> timeOuts;  // when a keying was cut at the limit
};

// The most keyed time in any 10 minutes: the worst window starts where a keying starts.
milliseconds MostKeyedInAnyWindow(const Station& s) {
    milliseconds most{0};
    for (const auto& w : s.spans) {
        milliseconds total{0};
        for (const auto& k : s.spans) {
            total += std::max(milliseconds(0), std::min(k.second, w.first + relay::kDutyWindow) - std::max(k.first, w.first));
        }
        most = std::max(most, total);
    }
    return most;
}

void CheckLine(World& w, std::string_view line, bool relayOn, milliseconds age) {
    const std::size_t callsBefore = w.echoLink.calls.size();
    const int spokenBefore = w.speech.spoken;
    const int endedBefore = w.program.ended;
    const int guardBefore = w.guardPath.unkeys;
    const milliseconds start = w.log.now;
    w.echoLink.RaiseChatTextArrived(std::string(line), start - age);

    const std::string_view message = Message(line);
    const std::size_t calls = w.echoLink.calls.size() - callsBefore;
    const int spoken = w.speech.spoken - spokenBefore;
    const bool ended = w.program.ended != endedBefore;
    const bool stale = age > relay::kStaleAfter;
    Require(w.speech.voicesAlive == 0);
    Require(ended == message.ends_with("fdp"));
    if (relayOn && message.ends_with('=') && calls > 0) {
        Require(!stale);
        // Keyed first; the last word of the relay's own path is to unkey, tried twice on refusal.
        Require(w.echoLink.calls[callsBefore].op == echolink::Operation::SetTransmit);
        Require(w.echoLink.calls[callsBefore].keyed);
        Require(w.echoLink.calls.back().op == echolink::Operation::SetTransmit);
        Require(!w.echoLink.calls.back().keyed);
        const bool retried = w.echoLink.failSetTransmit || w.unkeying == Unkeying::Refused ||
                             w.unkeying == Unkeying::Hangs || w.unkeying == Unkeying::AnswersLate;
        Require(calls == (retried ? 3u : 2u));
        Require(spoken <= 1);
        if (spoken == 1) Require(w.speech.lastText == message.substr(0, message.size() - 1));
        // Nothing on this line keyed within a minute of a time-out.
        for (const milliseconds t : w.timeOuts) Require(start < t || start >= t + relay::kLockOutAfterTimeOut);
        // A time-out: the guard stepped in, or speech longer than the limit allows was cut.
        const milliseconds room = kLimit - milliseconds(relay::kPauseBeforeSpeechMs) - relay::kStopAllowance;
        if (w.guardPath.unkeys != guardBefore || (spoken == 1 && w.speech.speechDuration > room)) {
            w.timeOuts.push_back(w.log.now);
        }
    } else if (relayOn && message.ends_with('>') && calls > 0) {
        Require(!stale && Characters(message) <= relay::kMorseCharacterLimit);
        Require(calls == 1);
        const echolink::RecordedCall& call = w.echoLink.calls.back();
        Require(call.op == echolink::Operation::SendMorse && call.reserved == 0);
        Require(call.text.String() == message);
        Require(spoken == 0);
    } else {
        Require(calls == 0 && spoken == 0);
        // Only a rule drops a line the relay would obey.
        if (relayOn && message.ends_with('>')) Require(stale || Characters(message) > relay::kMorseCharacterLimit);
    }
    // Once the handler has returned and the guard's time has come, nothing is keyed.
    w.log.Advance(kLimit + relay::kGuardMargin);
    if (!w.guardRefused) Require(!w.station.keyed);
    Require(w.guardPath.unkeys - guardBefore <= (w.guardRefused ? 2 : 1));
    if (w.station.check) Require(MostKeyedInAnyWindow(w.station) <= relay::kDutyWindow * relay::kDutyPercent / 100);
}

}  // namespace

// Input: a byte of switches, a byte of faults, then chat lines separated by '\n'.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t flags = data[0];
    const std::uint8_t faults = data[1];
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
    w.unkeying = static_cast<Unkeying>(faults & 0x03);
    w.keyingHangs = (faults & 0x04) != 0;
    w.speech.stopTakes = (faults & 0x08) != 0 ? kForever : milliseconds(0);  // an audio output that never lets go
    w.guardRefused = (faults & 0x40) != 0;
    if (w.guardRefused) w.guardPath.unkeyResult = echolink::kFail;
    w.station.check = !w.guardRefused;
    const int ageKind = (faults >> 4) & 0x03;

    w.guardPath.onUnkey = [&w] {
        if (!w.guardRefused) w.station.Set(false, w.log.now);
    };
    w.echoLink.answer = [&w](const echolink::RecordedCall& call) {
        if (call.op != echolink::Operation::SetTransmit) {
            return (call.op == echolink::Operation::SendMorse && w.echoLink.failSendMorse) ? echolink::kFail
                                                                                           : echolink::kOk;
        }
        if (call.keyed) {
            if (w.echoLink.failSetTransmit) return echolink::kFail;
            w.station.Set(true, w.log.now);
            if (w.keyingHangs) w.log.Advance(kForever);
            return echolink::kOk;
        }
        if (w.echoLink.failSetTransmit) return echolink::kFail;
        switch (w.unkeying) {
        case Unkeying::Answers: w.station.Set(false, w.log.now); return echolink::kOk;
        case Unkeying::Refused: return echolink::kFail;
        case Unkeying::Hangs: w.log.Advance(kForever); return kCallTimedOut;
        case Unkeying::AnswersLate:
            w.station.Set(false, w.log.now);
            w.log.Advance(std::chrono::seconds(2));
            return kCallTimedOut;
        }
        return echolink::kOk;
    };
    w.window.Load();
    const bool relayOn = (flags & 0x01) != 0;
    if (!relayOn) w.window.Click("desligar");
    w.echoLink.calls.clear();

    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    bool ended = false;
    for (int index = 0; !ended; ++index) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        // How long the line waited before its turn: none, half the stale limit, just past it, or growing.
        const milliseconds age = ageKind == 0   ? milliseconds(0)
                                 : ageKind == 1 ? relay::kStaleAfter / 2
                                 : ageKind == 2 ? relay::kStaleAfter + milliseconds(1)
                                                : std::chrono::seconds(7) * index;
        if (w.program.ended > 0) {
            // Once the program is ending, further lines change nothing.
            const std::size_t before = w.echoLink.calls.size();
            w.echoLink.RaiseChatTextReceived(std::string(line));
            Require(w.echoLink.calls.size() == before && w.program.ended == 1);
        } else {
            CheckLine(w, line, relayOn, age);
        }
        if (end == std::string_view::npos) ended = true;
        else rest.remove_prefix(end + 1);
    }
    return 0;
}
