// dizo-wine-echolink between the program's own D-Bus binding and a bridge played in this process
// over loopback TCP: the program cannot tell it from the simulator, every call stays bounded, and
// the name goes with the bridge.
#if defined(DIZO_WINE_ECHOLINK)
#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "echolink/testing/FakeEchoLink.h"
#include "hosts/bridge/BridgeSession.h"
#include "hosts/dbus/BusNames.h"
#include "hosts/dbus/DbusEchoLink.h"
#include "hosts/tests/BusFixture.h"

namespace hosts::bridge {
namespace {

using echolink::Operation;
using echolink::RecordedCall;
using hosts::testing::PrivateBus;
using hosts::testing::WaitFor;

constexpr char kSecretText[] = "5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a";
constexpr int kPatientMs = hosts::testing::kWaitMs;

struct NoEvents final : echolink::ChatEvents {
    void ChatTextReceived(const std::string&) override {}
    void Closing() override {}
};

struct RecordedEvents final : echolink::ChatEvents {
    std::vector<std::string> lines;
    int closings = 0;
    void ChatTextReceived(const std::string& line) override { lines.push_back(line); }
    void Closing() override { ++closings; }
};

// The bridge's part on its own thread, since the program's calls block the test's thread: one
// connection on 127.0.0.1, answered by the real session rules over the recording fake.
class FakeBridge {
public:
    FakeBridge() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(listener_, 1) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~FakeBridge() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    int Port() const { return port_; }
    // While hanging, nothing sent to the bridge is read: calls wait, as on a hung EchoLink.
    void Hang(bool hanging) { hanging_ = hanging; }
    void Drop() { drop_ = true; }
    void ChatText(const std::string& line) { Send([&] { return session_->ChatText(line); }); }
    void Closing() { Send([&] { return session_->Closing(); }); }
    std::vector<RecordedCall> Calls() {
        const std::lock_guard lock(mutex_);
        return factory_.calls;
    }
    echolink::FakeEchoLinkFactory& Factory() { return factory_; }  // set failures before calls

private:
    template <typename Event>
    void Send(Event event) {
        const std::lock_guard lock(mutex_);
        if (!session_) return;
        if (const auto frame = event()) (void)::send(peer_, frame->data(), frame->size(), MSG_NOSIGNAL);
    }
    void Serve() {
        pollfd waiting{listener_, POLLIN, 0};
        while (!stop_ && ::poll(&waiting, 1, 10) == 0) {
        }
        if (stop_) return;
        peer_ = ::accept(listener_, nullptr, nullptr);
        {
            const std::lock_guard lock(mutex_);
            link_ = factory_.Create(events_);
            session_.emplace(std::string(32, '\x5A'), *link_);
        }
        char buffer[4096];
        while (!stop_ && !drop_) {
            pollfd readable{peer_, POLLIN, 0};
            // Asked again after the wait: bytes sent after Hang(true) must stay unread.
            if (hanging_ || ::poll(&readable, 1, 10) <= 0 || hanging_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(hanging_ ? 5 : 0));
                continue;
            }
            const ssize_t n = ::recv(peer_, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            const std::lock_guard lock(mutex_);
            const auto reply = session_->Receive(std::string_view(buffer, static_cast<std::size_t>(n)));
            (void)::send(peer_, reply.bytes.data(), reply.bytes.size(), MSG_NOSIGNAL);
            if (reply.end) break;
        }
        const std::lock_guard lock(mutex_);
        session_.reset();  // unkeys what it keyed
        ::close(peer_);
    }

    NoEvents events_;
    echolink::FakeEchoLinkFactory factory_;
    std::unique_ptr<echolink::EchoLink> link_;
    std::optional<BridgeSession> session_;
    std::mutex mutex_;
    int listener_ = -1;
    int peer_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> hanging_{false};
    std::atomic<bool> drop_{false};
    std::thread thread_;
};

// dizo-wine-echolink on the private bus, its report in a file.
class Service {
public:
    Service(const PrivateBus& bus, int port, QStringList extra = {}, const char* secret = kSecretText,
            QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner) {
        QFile file(dir_.filePath(QStringLiteral("secret")));
        file.open(QIODevice::WriteOnly);
        file.write(secret);
        file.close();
        file.setPermissions(mode);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(dir_.filePath(QStringLiteral("out")));
        process_.start(QStringLiteral(DIZO_WINE_ECHOLINK),
                       QStringList{QStringLiteral("--port"), QString::number(port), QStringLiteral("--secret"),
                                   file.fileName()} + extra);
    }
    ~Service() {
        process_.kill();
        process_.waitForFinished(2000);
    }
    QString Output() {
        QFile out(dir_.filePath(QStringLiteral("out")));
        out.open(QIODevice::ReadOnly);
        return QString::fromUtf8(out.readAll());
    }
    ::testing::AssertionResult WaitReady() {
        if (WaitFor([&] { return Output().contains(QStringLiteral("ready: ")) || !Running(); }) &&
            Output().contains(QStringLiteral("ready: "))) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "not ready: " << Output().toStdString();
    }
    bool Running() const { return process_.state() != QProcess::NotRunning; }
    int ExitCode() {
        WaitFor([&] { return !Running(); });
        return Running() ? -1 : process_.exitCode();
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
};

class WineStationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bus.Ok()) << "dbus-daemon did not start";
        ASSERT_NE(bridge.Port(), 0);
    }
    bool NameOwned() {
        QDBusConnection c = bus.Connect();
        return c.interface()->isServiceRegistered(QString::fromLatin1(dbus::ServiceName)).value();
    }
    PrivateBus bus;
    FakeBridge bridge;
    RecordedEvents events;
};

TEST_F(WineStationTest, TheProgramsBindingDrivesEchoLinkAndHearsItsEvents) {
    Service service(bus, bridge.Port());
    ASSERT_TRUE(service.WaitReady());
    auto link = dbus::DbusEchoLink::Create(bus.Connect(), events, kPatientMs);
    ASSERT_NE(link, nullptr);
    bridge.Factory().failSendMorse = true;
    EXPECT_EQ(link->PostChatLine(" Dizo chat está ligado..."), echolink::kOk);
    EXPECT_EQ(link->SetTransmit(true), echolink::kOk);
    EXPECT_EQ(link->SendMorse(0, echolink::Variant::FromString("cq test>")), echolink::kFail);
    EXPECT_EQ(link->SetTransmit(false), echolink::kOk);
    const std::vector<RecordedCall> expected = {
        {Operation::PostChatLine, false, 0, {}, " Dizo chat está ligado..."},
        {Operation::SetTransmit, true},
        {Operation::SendMorse, false, 0, echolink::Variant::FromString("cq test>")},
        {Operation::SetTransmit, false},
    };
    EXPECT_EQ(bridge.Calls(), expected);

    bridge.ChatText("QD4RV>bom dia=");
    bridge.Closing();
    ASSERT_TRUE(WaitFor([&] { return events.closings == 1; }));
    EXPECT_EQ(events.lines, std::vector<std::string>{"QD4RV>bom dia="});
}

TEST_F(WineStationTest, ItShowsTheBusExactlyEchoLinksInterface) {
    Service service(bus, bridge.Port());
    ASSERT_TRUE(service.WaitReady());
    QDBusConnection client = bus.Connect();
    const QDBusMessage reply = client.call(QDBusMessage::createMethodCall(
        QString::fromLatin1(dbus::ServiceName), QString::fromLatin1(dbus::ObjectPath),
        QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect")));
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage);
    const QString xml = reply.arguments().value(0).toString();
    const qsizetype from = xml.indexOf(QStringLiteral("<interface name=\"org.dizochat.EchoLink\">"));
    ASSERT_GE(from, 0) << xml.toStdString();
    const QString ours = xml.mid(from, xml.indexOf(QStringLiteral("</interface>"), from) - from);
    QStringList members;
    static const QRegularExpression member(QStringLiteral("<(method|signal) name=\"(\\w+)\""));
    for (const auto& m : member.globalMatch(ours)) members << m.captured(1) + QLatin1Char(' ') + m.captured(2);
    members.sort();
    EXPECT_EQ(members, (QStringList{QStringLiteral("method PostChatLine"), QStringLiteral("method SendMorse"),
                                    QStringLiteral("method SetTransmit"), QStringLiteral("signal ChatTextReceived"),
                                    QStringLiteral("signal Closing")}));
}

TEST_F(WineStationTest, AHungBridgeGivesABoundedFailureAndItsLateAnswerIsDropped) {
    Service service(bus, bridge.Port(), {QStringLiteral("--bound"), QStringLiteral("300")});
    ASSERT_TRUE(service.WaitReady());
    auto link = dbus::DbusEchoLink::Create(bus.Connect(), events, 2000);
    ASSERT_NE(link, nullptr);
    bridge.Hang(true);
    QElapsedTimer took;
    took.start();
    EXPECT_EQ(link->SetTransmit(true), echolink::kFail);
    EXPECT_LT(took.elapsed(), 2000) << "the service gives up before the program does";
    bridge.Hang(false);
    // The late answer to the first call must not be taken for the second's.
    bridge.Factory().failSetTransmit = true;
    EXPECT_EQ(link->SetTransmit(false), echolink::kFail);
    const std::vector<RecordedCall> expected = {{Operation::SetTransmit, true}, {Operation::SetTransmit, false}};
    EXPECT_EQ(bridge.Calls(), expected);
}

TEST_F(WineStationTest, TheNameGoesWithTheBridge) {
    Service service(bus, bridge.Port());
    ASSERT_TRUE(service.WaitReady());
    auto link = dbus::DbusEchoLink::Create(bus.Connect(), events, kPatientMs);
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->SetTransmit(true), echolink::kOk);
    bridge.Drop();
    EXPECT_EQ(service.ExitCode(), 1);
    EXPECT_FALSE(NameOwned());
    EXPECT_EQ(link->SetTransmit(false), echolink::kDisconnected);
    // The bridge undid its own keying when the connection ended.
    EXPECT_EQ(bridge.Calls().back(), (RecordedCall{Operation::SetTransmit, false}));
}

TEST_F(WineStationTest, AWrongSecretOrAFileOthersCanReadTakesNoName) {
    struct Case {
        const char* what;
        const char* secret;
        QFile::Permissions mode;
        int exitCode;
    };
    const Case cases[] = {
        {"wrong secret", "5b5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a",
         QFile::ReadOwner | QFile::WriteOwner, 1},
        {"group can read", kSecretText, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup, 2},
        {"not a secret", "5a5a", QFile::ReadOwner, 2},
    };
    for (const Case& c : cases) {
        Service service(bus, bridge.Port(), {}, c.secret, c.mode);
        EXPECT_EQ(service.ExitCode(), c.exitCode) << c.what << ": " << service.Output().toStdString();
        EXPECT_FALSE(NameOwned()) << c.what;
    }
    EXPECT_TRUE(bridge.Calls().empty());
}

}  // namespace
}  // namespace hosts::bridge
#endif
