#include <gtest/gtest.h>

#include "relay/ChatLineRules.h"
#include "relay/tests/Rig.h"

namespace relay::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::minutes;
using std::chrono::seconds;

struct Span {
    milliseconds from;
    milliseconds to;
};

// When the station was keyed, from the calls it received.
std::vector<Span> KeyedSpans(const Rig& rig) {
    std::vector<Span> spans;
    for (const fakes::LogEntry& e : rig.log.entries) {
        if (e.what == "SetTransmit(True)") spans.push_back({e.at, e.at});
        if (e.what == "SetTransmit(False)" && !spans.empty()) spans.back().to = e.at;
    }
    return spans;
}

// The most keyed time in any 10 minutes: the worst window starts where a keying starts.
milliseconds MostKeyedInAnyWindow(const std::vector<Span>& spans) {
    milliseconds most{0};
    for (const Span& w : spans) {
        milliseconds total{0};
        for (const Span& s : spans) {
            total += std::max(milliseconds(0), std::min(s.to, w.from + kDutyWindow) - std::max(s.from, w.from));
        }
        most = std::max(most, total);
    }
    return most;
}

int Count(const Rig& rig, const std::string& what) {
    const std::vector<std::string> texts = rig.log.Texts();
    return static_cast<int>(std::count(texts.begin(), texts.end(), what));
}

// A line is obeyed only when its turn comes within 60 s of its arrival; the stale ones are told in
// one notice, by sender, once the run has ended.
TEST(ChatLineRules, StaleLinesAreDroppedAndToldOnce) {
    Rig rig;
    rig.LoadAndClear();
    rig.log.now = seconds(100);
    rig.echoLink.RaiseChatTextArrived("QD4RV>velho=", seconds(100) - kStaleAfter - milliseconds(1));
    rig.echoLink.RaiseChatTextArrived("PY2AA>velho>", seconds(0));
    rig.echoLink.RaiseChatTextArrived("QD4RV>velho=", seconds(1));
    EXPECT_TRUE(rig.echoLink.calls.empty());
    EXPECT_TRUE(rig.notices.lines.empty());  // the run may go on
    rig.echoLink.RaiseChatTextArrived("QD4RV>novo=", seconds(100) - kStaleAfter);
    EXPECT_EQ(rig.notices.lines, std::vector<std::string>{"Dizo chat: 3 chat lines dropped (older than 60 s when their "
                                                          "turn came): PY2AA 1, QD4RV 2"});
    EXPECT_EQ(rig.speech.lastText, "novo");
    // The notice came before the keying, so it says nothing of lines not yet handled.
    EXPECT_EQ(rig.log.Texts().front().rfind("Log(", 0), 0u);
}

// A sender's name goes into the notice without control characters or great length.
TEST(ChatLineRules, NoticesNameSendersSafely) {
    Rig rig;
    rig.LoadAndClear();
    rig.log.now = minutes(5);
    rig.echoLink.RaiseChatTextArrived("AB\nCD>velho=", seconds(0));
    rig.echoLink.RaiseChatTextArrived(">velho=", seconds(0));
    rig.window.FlushNotices();
    EXPECT_EQ(rig.notices.lines,
              std::vector<std::string>{"Dizo chat: 2 chat lines dropped (older than 60 s when their turn came): AB CD 1, "
                                       "an unnamed sender 1"});
}

// After a time-out (the relay's own cut or the guard's), "=" lines do not key for 60 s; Morse and
// the operator's local sends are not held back.
TEST(ChatLineRules, SpeechIsLockedOutForAMinuteAfterATimeOut) {
    for (const bool guardCuts : {false, true}) {
        SCOPED_TRACE(guardCuts ? "guard" : "relay");
        Rig rig(true, seconds(10));
        rig.LoadAndClear();
        rig.speech.speechDuration = seconds(30);
        if (guardCuts) rig.speech.stopTakes = seconds(5);  // the purge hangs past the guard's time
        rig.echoLink.RaiseChatTextReceived("QD4RV>longo=");
        rig.speech.speechDuration = seconds(1);
        const milliseconds timedOutAt = rig.log.now;
        rig.echoLink.RaiseChatTextReceived("QD4RV>oi=");
        rig.echoLink.RaiseChatTextReceived("QD4RV>cq>");
        rig.form.texts[Control::Text13] = "local";
        rig.window.Click("local");
        EXPECT_EQ(Count(rig, "SetTransmit(True)"), 2);  // the long line and the local send
        EXPECT_EQ(Count(rig, "SendMorse(0, BSTR 'cq>')"), 1);
        rig.log.Advance(timedOutAt + kLockOutAfterTimeOut - rig.log.now - milliseconds(1));
        rig.echoLink.RaiseChatTextReceived("QD4RV>oi=");
        EXPECT_EQ(Count(rig, "SetTransmit(True)"), 2);
        rig.log.Advance(milliseconds(1));
        rig.echoLink.RaiseChatTextReceived("QD4RV>oi=");
        EXPECT_EQ(Count(rig, "SetTransmit(True)"), 3);
        // Each drop is told before the next line that goes out (the Morse line, the last "=" line).
        const std::string told = "Dizo chat: 1 chat line dropped (speech locked out for 60 s after a transmit "
                                 "time-out): QD4RV 1";
        EXPECT_EQ(std::count(rig.notices.lines.begin(), rig.notices.lines.end(), told), 2);
    }
}

// A flood of "=" lines keys the transmitter for at most half of any 10 minutes, the operator's
// own sends apart; lines that would pass that are dropped, and the rest still go out.
TEST(ChatLineRules, ChatLinesKeyForAtMostHalfOfAnyTenMinutes) {
    struct Row {
        const char* name;
        milliseconds speech;
        std::string text;
    };
    const Row rows[] = {
        {"short lines", milliseconds(2500), "bom dia a todos"},
        {"lines cut at the limit", minutes(10), std::string(400, 'a')},
        {"lines longer than they guess", seconds(20), "oi"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.LoadAndClear();
        rig.speech.speechDuration = row.speech;
        int lines = 0;
        while (rig.log.now < minutes(40)) {
            rig.echoLink.RaiseChatTextReceived("QD4RV>" + row.text + "=");
            rig.log.Advance(milliseconds(500));  // the next line arrives a moment later
            ++lines;
        }
        const std::vector<Span> spans = KeyedSpans(rig);
        EXPECT_LE(MostKeyedInAnyWindow(spans), kDutyWindow * kDutyPercent / 100);
        EXPECT_GE(MostKeyedInAnyWindow(spans), kDutyWindow * kDutyPercent / 100 - kTransmitLimit);
        EXPECT_LT(static_cast<int>(spans.size()), lines);
        rig.window.FlushNotices();
        ASSERT_FALSE(rig.notices.lines.empty());
        EXPECT_NE(rig.notices.lines.back().find("keyed for half of the last 10 minutes"), std::string::npos);
        // The operator is not held back.
        rig.form.texts[Control::Text13] = "local";
        const int before = Count(rig, "SetTransmit(True)");
        rig.window.Click("local");
        EXPECT_EQ(Count(rig, "SetTransmit(True)"), before + 1);
    }
}

TEST(ChatLineRules, MorseOverAHundredCharactersIsNotSent) {
    Rig rig;
    rig.LoadAndClear();
    const std::string longest(kMorseCharacterLimit - 1, 'c');
    rig.echoLink.RaiseChatTextReceived("QD4RV>" + longest + ">");
    rig.echoLink.RaiseChatTextReceived("QD4RV>" + longest + "c>");
    ASSERT_EQ(rig.echoLink.calls.size(), 1u);
    EXPECT_EQ(rig.echoLink.calls[0].text.String().size(), kMorseCharacterLimit);
    rig.window.FlushNotices();
    EXPECT_EQ(rig.notices.lines,
              std::vector<std::string>{"Dizo chat: 1 chat line dropped (Morse messages over 100 characters): QD4RV 1"});
}

}  // namespace
}  // namespace relay::testing
