#include "hosts/tests/BusFixture.h"

#include <QProcessEnvironment>

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

PrivateBus::PrivateBus() {
    App();
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!daemon_.waitForStarted(5000)) return;
    QByteArray line;
    QDeadlineTimer deadline(5000);
    while (!line.contains('\n') && !deadline.hasExpired() && daemon_.waitForReadyRead(1000)) line += daemon_.readAll();
    address_ = QString::fromUtf8(line).trimmed();
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

Station::Station(const PrivateBus& bus, const QStringList& extraArgs) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(&process_, &QProcess::readyRead, [this] { output_ += QString::fromUtf8(process_.readAll()); });
    process_.start(QStringLiteral(DIZO_STATION_SIM), extraArgs);
}

Station::~Station() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

bool Station::WaitReady() { return WaitFor([this] { return output_.contains(QStringLiteral(" ready: ")); }); }

bool Station::WaitFinished() {
    return WaitFor([this] { return process_.state() == QProcess::NotRunning; });
}

void Station::Type(const std::string& line) {
    process_.write(QByteArray::fromStdString(line + "\n"));
    process_.waitForBytesWritten(1000);
}

QStringList Station::Calls() {
    QStringList calls;
    for (const QString& line : output_.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // "HH:mm:ss.zzz " then the call
        if (line.size() > 13 && line[2] == QLatin1Char(':') && line[8] == QLatin1Char('.')) calls << line.mid(13);
    }
    return calls;
}

bool Station::WaitForCall(const QString& call, int timeoutMs) {
    return WaitFor([&] { return Calls().contains(call); }, timeoutMs);
}

}  // namespace hosts::testing
