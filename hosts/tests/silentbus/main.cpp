// Test support: a session bus that names the station's owner and then never answers whether that
// owner is still there. Prints its address on its first line, as dbus-daemon --print-address does.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServer>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

// Stands in for the daemon's own object, which every client greets and asks.
class SilentDaemon final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        if (member == QLatin1String("NameHasOwner")) return true;  // taken, never answered
        QDBusConnection peer(connection);
        if (member == QLatin1String("Hello")) {
            peer.send(message.createReply(QStringLiteral(":1.1")));
        } else if (member == QLatin1String("GetNameOwner")) {
            peer.send(message.createReply(QStringLiteral(":1.2")));
        } else {
            peer.send(message.createReply());  // AddMatch, RemoveMatch
        }
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusServer server(QStringLiteral("unix:tmpdir=/tmp"));
    if (!server.isConnected()) return 1;
    SilentDaemon daemon;
    QObject::connect(&server, &QDBusServer::newConnection, [&daemon](const QDBusConnection& connection) {
        QDBusConnection(connection).registerVirtualObject(QStringLiteral("/org/freedesktop/DBus"), &daemon);
    });
    std::printf("%s\n", qPrintable(server.address()));
    std::fflush(stdout);
    return app.exec();
}
