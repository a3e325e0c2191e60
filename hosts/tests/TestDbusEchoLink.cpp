// The D-Bus backend of EchoLink against the real station simulator on a private bus.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <csignal>
#include <vector>

#include "hosts/dbus/DbusEchoLink.h"
#include "hosts/tests/BusFixture.h"

namespace hosts::dbus {
namespace {

using hosts::testing::PrivateBus;
using hosts::testing::Station;
using hosts::testing::WaitFor;

// Calls that must succeed are not bounded by the program's own time-out: a loaded machine may take
// longer than that to answer, and the bound has tests of its own.
constexpr int kPatientMs = hosts::testing::kWaitMs;

struct RecordedEvents final : echolink::ChatEvents {
    std::vector<std::string> lines;
    int closings = 0;
    void ChatTextReceived(const std::string& line) override { lines.push_back(line); }
    void Closing() override { ++closings; }
};

class DbusEchoLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.Ok()) << "dbus-daemon did not start"; }
    PrivateBus bus;
    RecordedEvents events;
};

TEST_F(DbusEchoLinkTest, NoStationMeansNoObject) {
    EXPECT_EQ(DbusEchoLink::Create(bus.Connect(), events, 500), nullptr);
    DbusEchoLinkFactory factory(bus.Connect(), 500);
    EXPECT_EQ(factory.Create(events), nullptr);
}

TEST_F(DbusEchoLinkTest, OperationsReachTheStationInOrderWithTheirArguments) {
    Station station(bus);
    ASSERT_TRUE(station.WaitReady());
    auto link = DbusEchoLink::Create(bus.Connect(), events, kPatientMs);
    ASSERT_NE(link, nullptr);

    EXPECT_EQ(link->PostChatLine(" Dizo chat está ligado..."), echolink::kOk);
    EXPECT_EQ(link->SetTransmit(true), echolink::kOk);
    EXPECT_EQ(link->SendMorse(0, echolink::Variant::FromString("cq test>")), echolink::kOk);
    EXPECT_EQ(link->SetTransmit(false), echolink::kOk);
    EXPECT_EQ(link->PostChatLine("linha 1\r\nlinha 2 ="), echolink::kOk);
    EXPECT_EQ(link->SendMorse(0, echolink::Variant::FromInt32(7)), echolink::kOk);
    EXPECT_EQ(link->SendMorse(0, echolink::Variant()), echolink::kInvalidArg);

    ASSERT_TRUE(station.WaitForCall(QStringLiteral("SendMorse(0, <int>)")));
    const QStringList expected = {
        QStringLiteral("PostChatLine(\" Dizo chat está ligado...\")"),
        QStringLiteral("SetTransmit(true)"),
        QStringLiteral("SendMorse(0, \"cq test>\")"),
        QStringLiteral("SetTransmit(false)"),
        QStringLiteral("PostChatLine(\"linha 1\\r\\nlinha 2 =\")"),
        QStringLiteral("SendMorse(0, <int>)"),
    };
    QStringList calls = station.Calls();
    calls.removeFirst();  // the "ready:" line
    EXPECT_EQ(calls, expected);
}

TEST_F(DbusEchoLinkTest, TypedLinesArriveAsChatEvents) {
    Station station(bus, {QStringLiteral("--sender"), QStringLiteral("PY2XYZ")});
    ASSERT_TRUE(station.WaitReady());
    auto link = DbusEchoLink::Create(bus.Connect(), events, kPatientMs);
    ASSERT_NE(link, nullptr);

    station.Type("bom dia=");
    station.Type("QD4RV>cq test>");
    station.Type("/raw sem remetente");
    station.Type("você está aí? =");
    station.Type("");
    const std::vector<std::string> expected = {"PY2XYZ>bom dia=", "QD4RV>cq test>", "sem remetente",
                                               "PY2XYZ>você está aí? ="};
    EXPECT_TRUE(WaitFor([&] { return events.lines.size() >= expected.size(); }));
    EXPECT_EQ(events.lines, expected);
    EXPECT_EQ(events.closings, 0);
}

TEST_F(DbusEchoLinkTest, StationQuittingSendsClosingAndLaterCallsFail) {
    Station station(bus);
    ASSERT_TRUE(station.WaitReady());
    auto link = DbusEchoLink::Create(bus.Connect(), events, kPatientMs);
    ASSERT_NE(link, nullptr);

    station.Type("/quit");
    ASSERT_TRUE(WaitFor([&] { return events.closings == 1; }));
    ASSERT_TRUE(station.WaitFinished());
    EXPECT_EQ(station.Process().exitCode(), 0);
    EXPECT_TRUE(link->SetTransmit(false).Failed());
    EXPECT_TRUE(link->PostChatLine(" Dizo chat está desligado.").Failed());
}

TEST_F(DbusEchoLinkTest, StationThatDiesIsNotReplacedByANewOne) {
    auto first = std::make_unique<Station>(bus);
    ASSERT_TRUE(first->WaitReady());
    auto link = DbusEchoLink::Create(bus.Connect(), events, kPatientMs);
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->SetTransmit(true), echolink::kOk);

    ::kill(static_cast<pid_t>(first->Process().processId()), SIGKILL);
    ASSERT_TRUE(first->WaitFinished());
    first.reset();
    EXPECT_EQ(events.closings, 0);  // a crash sends nothing

    Station second(bus);
    ASSERT_TRUE(second.WaitReady());
    second.Type("bom dia=");
    ASSERT_TRUE(second.WaitForCall(QStringLiteral("ChatTextReceived(\"QD4RV>bom dia=\")")));
    EXPECT_TRUE(link->SetTransmit(false).Failed());
    EXPECT_TRUE(link->PostChatLine("x").Failed());
    // The dead station's object hears nothing from its successor...
    RecordedEvents freshEvents;
    auto fresh = DbusEchoLink::Create(bus.Connect(), freshEvents, kPatientMs);
    ASSERT_NE(fresh, nullptr);
    second.Type("oi=");
    ASSERT_TRUE(WaitFor([&] { return !freshEvents.lines.empty() && freshEvents.lines.back() == "QD4RV>oi="; }));
    EXPECT_TRUE(events.lines.empty());
    // ...while an object created now talks to it.
    EXPECT_EQ(fresh->SetTransmit(false), echolink::kOk);
}

// A destroyed link leaves the station's signals: what the station sends later reaches a second link
// on the same connection, and not the first (whose recorder outlives it).
TEST_F(DbusEchoLinkTest, ADestroyedLinkHearsNothingMore) {
    Station station(bus);
    ASSERT_TRUE(station.WaitReady());
    QDBusConnection connection = bus.Connect();
    RecordedEvents otherEvents;
    auto link = DbusEchoLink::Create(connection, events, kPatientMs);
    auto other = DbusEchoLink::Create(connection, otherEvents, kPatientMs);
    ASSERT_NE(link, nullptr);
    ASSERT_NE(other, nullptr);
    station.Type("QD4RV>um=");
    ASSERT_TRUE(WaitFor([&] { return events.lines.size() == 1 && otherEvents.lines.size() == 1; }));

    link.reset();
    station.Type("QD4RV>dois=");
    station.Type("/quit");
    ASSERT_TRUE(WaitFor([&] { return otherEvents.closings == 1; }));
    EXPECT_EQ(otherEvents.lines, (std::vector<std::string>{"QD4RV>um=", "QD4RV>dois="}));
    EXPECT_EQ(events.lines, (std::vector<std::string>{"QD4RV>um="}));
    EXPECT_EQ(events.closings, 0);
}

TEST_F(DbusEchoLinkTest, HungOrRefusingStationGivesBoundedFailures) {
    Station station(bus);
    ASSERT_TRUE(station.WaitReady());
    auto link = DbusEchoLink::Create(bus.Connect(), events, 300);
    ASSERT_NE(link, nullptr);

    station.Type("/hang 3000");
    ASSERT_TRUE(station.WaitForCall(QStringLiteral("hang: replies held 3000 ms")));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(link->SetTransmit(true), echolink::kFail);
    EXPECT_LT(timer.elapsed(), 2000);

    // A refusal is told apart from a slow answer: on a loaded machine even a prompt station may
    // take longer than the short bound above.
    auto patient = DbusEchoLink::Create(bus.Connect(), events, kPatientMs);
    ASSERT_NE(patient, nullptr);
    station.Type("/hang 0");
    station.Type("/fail on");
    ASSERT_TRUE(station.WaitForCall(QStringLiteral("fail: on")));
    EXPECT_EQ(patient->PostChatLine("x"), echolink::kFail);
    EXPECT_TRUE(station.WaitForCall(QStringLiteral("PostChatLine(\"x\") -> error")));
    station.Type("/fail off");
    ASSERT_TRUE(station.WaitForCall(QStringLiteral("fail: off")));
    EXPECT_EQ(patient->PostChatLine("y"), echolink::kOk);
}

// What Qt logs while it lives.
class Warnings {
public:
    Warnings() : previous_(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
                     Lines() << text;
                 })) {
        Lines().clear();
    }
    ~Warnings() { qInstallMessageHandler(previous_); }
    static QStringList& Lines() {
        static QStringList lines;
        return lines;
    }

private:
    QtMessageHandler previous_;
};

QStringList Unanswered(const char* question) {
    return {QStringLiteral("dizo-chat: the session bus did not answer %1 within 300 ms; EchoLink is not reached")
                .arg(QLatin1String(question))};
}

// Qt's own look-ups would wait 25 s for a daemon that has stopped answering; Create gives up
// within the link's call time-out, says why, and leaves nothing behind on the connection.
TEST_F(DbusEchoLinkTest, SilentBusDaemonGivesNoObjectWithinTheCallTimeOut) {
    Station station(bus);
    ASSERT_TRUE(station.WaitReady());
    QDBusConnection connection = bus.Connect();
    ASSERT_TRUE(connection.isConnected());
    {
        Warnings warnings;
        bus.Freeze(true);
        QElapsedTimer timer;
        timer.start();
        auto link = DbusEchoLink::Create(connection, events, 300);
        const qint64 elapsed = timer.elapsed();
        bus.Freeze(false);
        EXPECT_EQ(link, nullptr);
        EXPECT_LT(elapsed, 2000);
        EXPECT_EQ(Warnings::Lines(), Unanswered("GetNameOwner"));
    }

    // The late answer to the abandoned look-up confuses nothing: the same connection links again.
    auto later = DbusEchoLink::Create(connection, events, kPatientMs);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->SetTransmit(false), echolink::kOk);
    station.Type("QD4RV>oi=");
    ASSERT_TRUE(WaitFor([&] { return !events.lines.empty(); }));
    EXPECT_EQ(events.lines, std::vector<std::string>{"QD4RV>oi="});
}

// The second question, whether the owner just named is still there, is bounded the same way.
TEST(DbusEchoLinkSilentBus, TheStillThereQuestionIsBoundedToo) {
    PrivateBus bus(QStringLiteral(DIZO_SILENT_BUS), {});
    ASSERT_TRUE(bus.Ok()) << "the silent bus did not start";
    QDBusConnection connection = bus.Connect();
    ASSERT_TRUE(connection.isConnected());
    RecordedEvents events;
    Warnings warnings;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(DbusEchoLink::Create(connection, events, 300), nullptr);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(Warnings::Lines(), Unanswered("NameHasOwner"));
}

TEST_F(DbusEchoLinkTest, SecondStationRefusesToStart) {
    Station first(bus);
    ASSERT_TRUE(first.WaitReady());
    Station second(bus);
    ASSERT_TRUE(second.WaitFinished());
    EXPECT_EQ(second.Process().exitCode(), 1);
    EXPECT_TRUE(WaitFor([&] { return second.Calls().join(QLatin1Char('\n')).contains(QStringLiteral("already has an owner")); }));
}

}  // namespace
}  // namespace hosts::dbus
