// Failing, hanging, vanishing and flooding stations, through the real D-Bus back-end and the
// station simulator, against the main window's logic. Each case checks what the station received
// (its log), what the operator sees (lamps, boxes, the window's end), that no handler leaves the
// transmitter keyed and that the window answers again within the call time-out.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <csignal>
#include <iostream>
#include <memory>
#include <string>

#include "echolink/EchoLink.h"
#include "hosts/dbus/DbusEchoLink.h"
#include "hosts/tests/BusFixture.h"
#include "relay/ChatLineRules.h"
#include "relay/Form1.h"
#include "relay/testing/FakeForm.h"
#include "relay/testing/FakeLog.h"
#include "relay/testing/FakePause.h"
#include "relay/testing/FakeProgram.h"
#include "relay/testing/FakeSpeech.h"
#if defined(DIZO_HAVE_SPEECH)
#include "hosts/speech/EspeakVoice.h"
#endif

namespace hosts::testing {
namespace {

using relay::Control;

constexpr int kCallTimeoutMs = 300;
// Headroom for a loaded machine and the sanitizers on top of the calls' own time-outs.
constexpr int kSlackMs = 1000;

const QString kKey = QStringLiteral("SetTransmit(true)");
const QString kUnkey = QStringLiteral("SetTransmit(false)");
const QString kOn = QStringLiteral("PostChatLine(\" Dizo chat está ligado...\")");
const QString kOff = QStringLiteral("PostChatLine(\" Dizo chat está desligado.\")");

QString Failed(const QString& call) { return call + QStringLiteral(" -> error"); }
QString Chat(const QString& line) { return QStringLiteral("ChatTextReceived(\"%1\")").arg(line); }

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bus.Ok()) << "dbus-daemon did not start";
        station = std::make_unique<Station>(bus);
        ASSERT_TRUE(station->WaitReady());
        seen_ = station->Calls().size();
    }

    // A station command, waited on until the station acknowledges it; the acknowledgement is
    // not part of what the program sent.
    void Command(const std::string& line, const QString& ack) {
        station->Type(line);
        ASSERT_TRUE(station->WaitForCall(ack)) << line;
        seen_ = station->Calls().size();
    }

    void Load(relay::SpeechEngine& engine) {
        window = std::make_unique<relay::Form1>(
            relay::Form1Services{echoLink, form, engine, pause, program, &notices, std::chrono::seconds(10)});
        window->Load();
    }
    void Load() { Load(speech); }

    // A chat line from the station, returned from once the handler has run.
    void ChatLine(const std::string& typed, const std::string& message, int timeoutMs = 5000) {
        station->Type(typed);
        ASSERT_TRUE(WaitFor([&] { return window->MessageText() == message; }, timeoutMs)) << typed;
    }

    // What the station logged since the last look, once `count` lines are there.
    QStringList Received(qsizetype count) {
        WaitFor([&] { return station->Calls().size() - seen_ >= count; });
        const QStringList lines = station->Calls().mid(seen_);
        seen_ = station->Calls().size();
        return lines;
    }
    void ExpectReceived(const QStringList& expected) { EXPECT_EQ(Received(expected.size()), expected); }
    // Whether the station logged `call` since the last look, within the time.
    bool ReceivedCall(const QString& call, int timeoutMs) {
        return WaitFor([&] { return station->Calls().indexOf(call, seen_) >= 0; }, timeoutMs);
    }

    // The relay switch still works, within one call's time-out, whatever came before.
    void ExpectWindowAnswers() {
        const bool wasOn = window->RelayOn();
        QElapsedTimer click;
        click.start();
        EXPECT_TRUE(window->Click(wasOn ? "desligar" : "ligar"));
        EXPECT_LT(click.elapsed(), kCallTimeoutMs + kSlackMs);
        EXPECT_NE(window->RelayOn(), wasOn);
    }

    // Fills both boxes and clicks the local send; both boxes end empty whatever failed.
    qint64 LocalSend() {
        form.SetText(Control::Text1, "cq");
        form.SetText(Control::Text13, "oi");
        QElapsedTimer click;
        click.start();
        window->Click("local");
        EXPECT_EQ(form.Text(Control::Text1), "");
        EXPECT_EQ(form.Text(Control::Text13), "");
        return click.elapsed();
    }

    PrivateBus bus;
    std::unique_ptr<Station> station;
    dbus::DbusEchoLinkFactory echoLink{bus.Connect(), kCallTimeoutMs};
    relay::fakes::EventLog log;
    relay::fakes::FakeForm form{&log};
    relay::fakes::FakeSpeech speech{log};
    relay::fakes::FakePause pause{log};
    relay::fakes::FakeProgram program{log};
    relay::fakes::FakeLog notices{log};
    std::unique_ptr<relay::Form1> window;

private:
    qsizetype seen_ = 0;
};

const QString kMorseCq = QStringLiteral("SendMorse(0, \"cq\")");

TEST_F(FaultInjection, EveryOperationFailingIsSkippedAndTheSpeechStillPlays) {
    Command("/fail on", "fail: on");
    Load();
    ChatLine("bom dia=", "bom dia=");
    ChatLine("cq test>", "cq test>");
    LocalSend();
    ExpectReceived({Failed(kOn), Chat("QD4RV>bom dia="), Failed(kKey), Failed(kUnkey), Failed(kUnkey),
                    Chat("QD4RV>cq test>"), Failed(QStringLiteral("SendMorse(0, \"cq test>\")")), Failed(kMorseCq),
                    Failed(kKey), Failed(kUnkey), Failed(kUnkey)});
    EXPECT_TRUE(window->RelayOn());
    EXPECT_EQ(speech.spoken, 2);  // on the computer's own output
    ExpectWindowAnswers();
    ExpectReceived({Failed(kOff)});
}

TEST_F(FaultInjection, OnlyTheNthCallFails) {
    Load();
    ExpectReceived({kOn});
    struct Row {
        int n;
        QStringList received;
    };
    const Row rows[] = {
        {1, {Failed(kMorseCq), kKey, kUnkey}},
        {2, {kMorseCq, Failed(kKey), kUnkey}},
        {3, {kMorseCq, kKey, Failed(kUnkey), kUnkey}},  // the unkeying is tried once more
        {4, {kMorseCq, kKey, kUnkey}},                  // the fourth call is the switch's below
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.n);
        Command("/fail " + std::to_string(row.n), QStringLiteral("fail: call %1 from now").arg(row.n));
        LocalSend();
        ExpectReceived(row.received);
    }
    ExpectWindowAnswers();
    ExpectReceived({Failed(kOff)});
}

TEST_F(FaultInjection, HungStationCostsEachCallOneTimeOut) {
    Load();
    ExpectReceived({kOn});
    Command("/hang 3000", "hang: replies held 3000 ms");
    // Morse, key, unkey and its second try: four time-outs, and not a moment held for good.
    EXPECT_LT(LocalSend(), 4 * kCallTimeoutMs + kSlackMs);
    ChatLine("bom dia=", "bom dia=", 3 * kCallTimeoutMs + kSlackMs + 5000);
    ExpectReceived({kMorseCq, kKey, kUnkey, kUnkey, Chat("QD4RV>bom dia="), kKey, kUnkey, kUnkey});
    Command("/hang 0", "hang: replies held 0 ms");
    ExpectWindowAnswers();
    ExpectReceived({kOff});
}

TEST_F(FaultInjection, StationVanishingMidLineFailsTheRestAtOnce) {
    Load();
    ExpectReceived({kOn});
    speech.whileSpeaking = [&](const std::string&) {
        ::kill(static_cast<pid_t>(station->Process().processId()), SIGKILL);
        station->Process().waitForFinished(5000);
    };
    QElapsedTimer handler;
    handler.start();
    ChatLine("bom dia=", "bom dia=");
    EXPECT_LT(handler.elapsed(), kCallTimeoutMs + kSlackMs);  // a gone station answers at once
    ExpectReceived({Chat("QD4RV>bom dia="), kKey});  // the station died keyed: nothing is left to unkey
    EXPECT_TRUE(window->RelayOn());
    ExpectWindowAnswers();
    EXPECT_FALSE(program.ended);
}

TEST_F(FaultInjection, ClosingDuringSpeechIsHandledAfterTheUnkeying) {
    Load();
    ExpectReceived({kOn});
    speech.whileSpeaking = [&](const std::string&) {
        station->Type("/closing");
        EXPECT_TRUE(station->WaitForCallBlocking(QStringLiteral("Closing()")));
    };
    ChatLine("bom dia=", "bom dia=");
    ASSERT_TRUE(WaitFor([&] { return !program.unloaded.empty(); }));
    ExpectReceived({Chat("QD4RV>bom dia="), kKey, QStringLiteral("Closing()"), kUnkey, kOff});
    EXPECT_EQ(program.unloaded, std::vector<relay::Window>{relay::Window::Form1});
}

// Ten thousand lines at ten thousand a second: every one is handled, in order, with the relay on
// (keyed and unkeyed around each) and off (nothing sent), and the window still answers.
TEST_F(FaultInjection, FloodOfChatLinesIsHandledLineByLineWithinTheShareOfTimeKeyed) {
    constexpr int kLines = 10000;
    Load();
    ExpectReceived({kOn});
    for (const bool relayOn : {true, false}) {
        SCOPED_TRACE(relayOn ? "relay on" : "relay off");
        // Each flood its own text, so waiting for its last line never stops at the last flood's.
        const std::string word = relayOn ? "on" : "off";
        const int spokenBefore = speech.spoken;
        station->Type("/flood " + std::to_string(kLines) + " 10000 " + word + " #=");
        ASSERT_TRUE(WaitFor([&] { return window->MessageText() == word + " " + std::to_string(kLines) + "="; },
                            300000));
        // Every line is handled; those past half of ten minutes keyed are dropped, and told in one
        // notice. Each keys 3.5 s of virtual time; a line goes while the 300 s share has room for its
        // guess (1 s + 5 characters at 60 ms) and the guard's 2 s: 85 lines (the 85th starts at 294 s).
        const int spoken = speech.spoken - spokenBefore;
        if (relayOn) {
            EXPECT_EQ(spoken, 85);
            window->FlushNotices();
            ASSERT_FALSE(notices.lines.empty());
            EXPECT_EQ(notices.lines.back(), "Dizo chat: " + std::to_string(kLines - spoken) +
                                                " chat lines dropped (the transmitter was keyed for half of the last "
                                                "10 minutes): QD4RV " + std::to_string(kLines - spoken));
        } else {
            EXPECT_EQ(spoken, 0);
        }
        ExpectWindowAnswers();
        // The switch's announcement leaves after every call the lines made (one connection keeps
        // them in order), so once the station has it the log is complete.
        const QString announce = relayOn ? kOff : kOn;
        ASSERT_TRUE(ReceivedCall(announce, 60000));
        QStringList received = Received(0);
        EXPECT_EQ(received.takeLast(), announce) << "the announcement is the last call";
        // The station sends far ahead of the program, so its log interleaves lines and calls
        // freely: the lines go out in order, and the calls alternate between keying and
        // unkeying (an unkeying twice when its reply came too late on a loaded machine).
        int line = 0;
        int keys = 0;
        bool keyed = false;
        QStringList unexpected;
        for (const QString& r : received) {
            if (r.startsWith(QStringLiteral("flood: "))) {
                std::cout << r.toStdString() << "\n";
            } else if (r == Chat(QStringLiteral("QD4RV>%1 %2=").arg(QString::fromStdString(word)).arg(line + 1))) {
                ++line;
            } else if (relayOn && r == kKey && !keyed) {
                keyed = true;
                ++keys;
            } else if (relayOn && r == kUnkey) {
                keyed = false;
            } else {
                unexpected << r;
            }
        }
        EXPECT_EQ(line, kLines) << "lines in order";
        EXPECT_FALSE(keyed) << "left keyed";
        EXPECT_EQ(keys, spoken);
        EXPECT_TRUE(unexpected.isEmpty()) << unexpected.size() << " unexpected, the first: "
                                          << unexpected.mid(0, 3).join(QLatin1Char('\n')).toStdString();
    }
}

#if defined(DIZO_HAVE_SPEECH)
// An output that takes the first block of speech, then breaks.
class BreaksMidLine final : public speech::AudioSink {
public:
    bool Open(int) override { return true; }
    bool Write(const std::int16_t*, std::size_t) override { return ++writes_ == 1; }
    bool Drain() override { return true; }

private:
    int writes_ = 0;
};

TEST_F(FaultInjection, SpeechFailingStillUnkeys) {
    // No sound server: the default output cannot open.
    qputenv("PULSE_SERVER", "unix:/nonexistent/dizo-no-sound-server");
    speech::EspeakSpeechEngine noSoundServer;
    speech::EspeakSpeechEngine breaksMidLine([] { return std::make_unique<BreaksMidLine>(); });
    struct Row {
        const char* name;
        relay::SpeechEngine& engine;
    };
    for (const Row& row : {Row{"no sound server", noSoundServer}, Row{"output breaks mid-line", breaksMidLine}}) {
        SCOPED_TRACE(row.name);
        Load(row.engine);
        ChatLine("uma frase longa o bastante para vários blocos de som=", "uma frase longa o bastante para vários blocos de som=");
        ExpectReceived({kOn, Chat(QStringLiteral("QD4RV>uma frase longa o bastante para vários blocos de som=")), kKey,
                        kUnkey});
    }
    qunsetenv("PULSE_SERVER");
}
#endif

}  // namespace
}  // namespace hosts::testing
