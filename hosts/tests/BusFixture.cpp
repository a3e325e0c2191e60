#include "hosts/tests/BusFixture.h"

#include <QProcessEnvironment>

#include <algorithm>
#include <csignal>
#include <chrono>
#include <thread>

#if defined(DIZO_HAVE_QTHOST)
#include <QApplication>
#endif

namespace hosts::testing {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "hosts_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own globals may already be gone, and a reachable pointer is no leak.
#if defined(DIZO_HAVE_QTHOST)
    // The widget tests need a GUI application; they never need a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QCoreApplication* app = new QApplication(argc, argv);
#else
    static QCoreApplication* app = new QCoreApplication(argc, argv);
#endif
    return *app;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    App();
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

PrivateBus::PrivateBus()
    : PrivateBus(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")}) {}

PrivateBus::PrivateBus(const QString& program, const QStringList& args) {
    App();
    daemon_.start(program, args);
    if (!daemon_.waitForStarted(kWaitMs)) return;
    // A loaded machine may keep the daemon quiet for seconds: only its end or the deadline ends the wait.
    QByteArray line;
    QDeadlineTimer deadline(kWaitMs);
    while (!line.contains('\n') && !deadline.hasExpired() && daemon_.state() == QProcess::Running) {
        daemon_.waitForReadyRead(100);
        line += daemon_.readAll();
    }
    if (line.contains('\n')) address_ = QString::fromUtf8(line).trimmed();
}

PrivateBus::~PrivateBus() {
    for (const QString& n : names_) QDBusConnection::disconnectFromBus(n);
    daemon_.kill();
    daemon_.waitForFinished(2000);
}

QDBusConnection PrivateBus::Connect() {
    static int counter = 0;
    const QString name = QStringLiteral("private-%1").arg(++counter);
    names_ << name;
    return QDBusConnection::connectToBus(address_, name);
}

void PrivateBus::Freeze(bool frozen) {
    ::kill(static_cast<pid_t>(daemon_.processId()), frozen ? SIGSTOP : SIGCONT);
}

// The simulator prints into a file, not a pipe: a test blocked in a D-Bus call reads no pipe,
// and a station that floods its output would then stall on a full pipe instead of answering.
Station::Station(const PrivateBus& bus, const QStringList& extraArgs) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    const QString path = dir_.filePath(QStringLiteral("station.out"));
    process_.setStandardOutputFile(path);
    process_.start(QStringLiteral(DIZO_STATION_SIM), extraArgs);
    output_.setFileName(path);
}

Station::~Station() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

::testing::AssertionResult Station::WaitReady() {
    const auto ready = [this] {
        return std::any_of(Calls().begin(), Calls().end(),
                           [](const QString& c) { return c.startsWith(QStringLiteral("ready: ")); });
    };
    if (WaitFor([&] { return ready() || process_.state() == QProcess::NotRunning; }) && ready())
        return ::testing::AssertionSuccess();
    return Missing(QStringLiteral("\"ready: ...\""), kWaitMs);
}

::testing::AssertionResult Station::WaitFinished() {
    if (WaitFor([this] { return process_.state() == QProcess::NotRunning; })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the station still runs after " << kWaitMs << " ms";
}

void Station::Type(const std::string& line) {
    process_.write(QByteArray::fromStdString(line + "\n"));
    process_.waitForBytesWritten(1000);
}

// Complete lines are parsed once as they arrive, so waiting through a flood of lines stays linear.
const QStringList& Station::Calls() {
    if (!output_.isOpen() && !output_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return calls_;
    pending_ += output_.readAll();
    qsizetype eol;
    qsizetype from = 0;
    while ((eol = pending_.indexOf('\n', from)) >= 0) {
        const QString line = QString::fromUtf8(pending_.constData() + from, eol - from);
        from = eol + 1;
        // A time stamp, a blank, then the call; lines without a stamp are the simulator's chatter.
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        if (blank > 0 && line[0].isDigit()) calls_ << line.mid(blank + 1);
    }
    pending_.remove(0, from);
    return calls_;
}

::testing::AssertionResult Station::WaitForCall(const QString& call, int timeoutMs) {
    if (WaitFor([&] { return Calls().contains(call); }, timeoutMs)) return ::testing::AssertionSuccess();
    return Missing(call, timeoutMs);
}

// Polls the output file: the caller stands in for a handler that holds the thread, so the event
// loop must not run here.
::testing::AssertionResult Station::WaitForCallBlocking(const QString& call, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!Calls().contains(call)) {
        if (deadline.hasExpired()) return Missing(call, timeoutMs);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return ::testing::AssertionSuccess();
}

// CI shows the end of a long log only: the message stays one short line, the last calls at its end.
::testing::AssertionResult Station::Missing(const QString& what, int timeoutMs) {
    constexpr qsizetype kShown = 4;
    const QStringList& calls = Calls();
    QStringList last = calls.mid(std::max<qsizetype>(0, calls.size() - kShown));
    for (QString& c : last) {
        if (c.size() > 100) c = c.left(100) + QStringLiteral("...");
    }
    auto failure = ::testing::AssertionFailure() << "expected " << what.toStdString() << " within " << timeoutMs
                                                 << " ms; came " << calls.size() << " calls, the last: "
                                                 << (last.isEmpty() ? QStringLiteral("(none)") : last.join(QStringLiteral(" | "))).toStdString();
    if (process_.state() == QProcess::NotRunning) failure << " (the station ended, status " << process_.exitCode() << ")";
    return failure;
}

}  // namespace hosts::testing
