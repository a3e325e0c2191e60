#include <gtest/gtest.h>

#include "relay/tests/Rig.h"

namespace relay::testing {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

struct Timed {
    milliseconds at;
    std::string what;
    friend bool operator==(const Timed&, const Timed&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Timed& t) {
        return os << t.at.count() << "ms " << t.what;
    }
};

std::vector<Timed> TimedLog(const Rig& rig) {
    std::vector<Timed> out;
    for (const fakes::LogEntry& e : rig.log.entries) {
        out.push_back({e.at, e.what.rfind("Log(", 0) == 0 ? "Log" : e.what});
    }
    return out;
}

// A voice that would outlast the limit is purged at it, then the transmitter is unkeyed and only
// then the notice written; speech that fits is left alone, call for call.
TEST(TransmitLimit, SpeechIsStoppedAndTheTransmitterUnkeyedAtTheLimit) {
    const milliseconds limit = seconds(10);
    const milliseconds stop = limit - kStopAllowance;
    const std::string cut = "Speak('', 2)";
    struct Row {
        const char* name;
        bool chat;
        milliseconds speech;
        std::vector<Timed> log;
    };
    const Row rows[] = {
        {"chat line, too long", true, seconds(30),
         {{milliseconds(0), "SetTransmit(True)"}, {milliseconds(0), "Sleep(1000)"}, {seconds(1), "CreateVoice"},
          {seconds(1), "Speak('oi', 17)"}, {stop, cut}, {stop, "SetTransmit(False)"}, {stop, "Log"},
          {stop, "ReleaseVoice"}}},
        {"chat line, just fits", true, stop - seconds(1),
         {{milliseconds(0), "SetTransmit(True)"}, {milliseconds(0), "Sleep(1000)"}, {seconds(1), "CreateVoice"},
          {seconds(1), "Speak('oi', 17)"}, {stop, "SetTransmit(False)"}, {stop, "ReleaseVoice"}}},
        {"local send, too long", false, seconds(30),
         {{milliseconds(0), "SetTransmit(True)"}, {milliseconds(0), "CreateVoice"}, {milliseconds(0), "Speak('oi', 17)"},
          {stop, cut}, {stop, "SetText(Text13, '')"}, {stop, "SetFocus(Text13)"}, {stop, "SetTransmit(False)"},
          {stop, "Log"}, {stop, "ReleaseVoice"}}},
        {"local send, just fits", false, stop,
         {{milliseconds(0), "SetTransmit(True)"}, {milliseconds(0), "CreateVoice"}, {milliseconds(0), "Speak('oi', 17)"},
          {stop, "SetText(Text13, '')"}, {stop, "SetFocus(Text13)"}, {stop, "SetTransmit(False)"},
          {stop, "ReleaseVoice"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig(true, limit);
        rig.LoadAndClear();
        rig.speech.speechDuration = row.speech;
        if (row.chat) {
            rig.echoLink.RaiseChatTextReceived("QD4RV>oi=");
        } else {
            rig.form.texts[Control::Text13] = "oi";
            rig.log.Clear();
            rig.window.Click("local");
        }
        EXPECT_EQ(TimedLog(rig), row.log);
    }
}

TEST(TransmitLimit, TheProgramsTransmitterIsUnkeyedWithinThreeMinutes) {
    Rig rig;
    rig.LoadAndClear();
    rig.speech.speechDuration = std::chrono::hours(5);  // a megabyte of text
    rig.echoLink.RaiseChatTextReceived("QD4RV>" + std::string(1 << 20, 'a') + "=");
    ASSERT_FALSE(rig.echoLink.calls.empty());
    EXPECT_FALSE(rig.echoLink.calls.back().keyed);
    EXPECT_EQ(rig.log.entries.back().at, seconds(180) - kStopAllowance);
}

// The one line says whose speech it was and how much of it was cut.
TEST(TransmitLimit, TheLogLineNamesTheSenderAndWhatWasCut) {
    struct Row {
        const char* line;
        bool knowsPosition;
        std::string expected;
    };
    const Row rows[] = {
        {"QD4RV>aaaaaaaaaaaaaaaaaaaa=", true,
         "Dizo chat: transmit time-out: speech from QD4RV stopped after 9.0 s keyed (limit 10 s); 10 of 20 "
         "characters cut"},
        {"QD4RV>\xC3\xA1\xC3\xA1\xC3\xA1\xC3\xA1=", false,
         "Dizo chat: transmit time-out: speech from QD4RV stopped after 9.0 s keyed (limit 10 s); the rest of 4 "
         "characters cut"},
        {">oi=", false,
         "Dizo chat: transmit time-out: speech from an unnamed sender stopped after 9.0 s keyed (limit 10 s); the "
         "rest of 2 characters cut"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        Rig rig(true, seconds(10));
        rig.LoadAndClear();
        rig.speech.speechDuration = seconds(16);  // 8 s fit between the pause and the stop: half is cut
        rig.speech.knowsPosition = row.knowsPosition;
        rig.echoLink.RaiseChatTextReceived(row.line);
        EXPECT_EQ(rig.notices.lines, std::vector<std::string>{row.expected});
    }
}

}  // namespace
}  // namespace relay::testing
