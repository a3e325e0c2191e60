#include "hosts/qt/SingleCopy.h"

#include <QDBusMessage>

namespace hosts::qt {

namespace {

constexpr unsigned kDoNotQueue = 4;  // DBUS_NAME_FLAG_DO_NOT_QUEUE
constexpr unsigned kExists = 3;      // DBUS_REQUEST_NAME_REPLY_EXISTS

}  // namespace

bool SingleCopy::Claim(QDBusConnection bus, int boundMs) {
    if (!bus.isConnected()) return true;
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    ask << QString::fromLatin1(kSingleCopyName) << kDoNotQueue;
    const QDBusMessage reply = bus.call(ask, QDBus::Block, boundMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty() ||
        reply.arguments().constFirst().toUInt() != kExists) {
        return true;  // a bus that cannot tell is no reason to refuse to start
    }
    QDBusMessage raise = QDBusMessage::createMethodCall(QString::fromLatin1(kSingleCopyName), QString::fromLatin1(kSingleCopyPath),
                                                        QString::fromLatin1(kSingleCopyName), QStringLiteral("Raise"));
    // The first copy may be busy speaking: the question is sent, not waited on for long.
    bus.call(raise, QDBus::Block, boundMs);
    return false;
}

SingleCopy::SingleCopy(QDBusConnection bus, std::function<void()> raise) : bus_(std::move(bus)), raise_(std::move(raise)) {
    bus_.registerObject(QString::fromLatin1(kSingleCopyPath), this, QDBusConnection::ExportAllSlots);
}

SingleCopy::~SingleCopy() { bus_.unregisterObject(QString::fromLatin1(kSingleCopyPath)); }

void SingleCopy::Raise() {
    if (raise_) raise_();
}

}  // namespace hosts::qt
