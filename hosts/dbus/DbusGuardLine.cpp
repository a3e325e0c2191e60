#include "hosts/dbus/DbusGuardLine.h"

#include <QDBusMessage>
#include <QVariant>

#include "hosts/dbus/BusNames.h"

namespace hosts::dbus {

DbusGuardLine::DbusGuardLine(QDBusConnection bus, int callTimeoutMs) : bus_(std::move(bus)), timeoutMs_(callTimeoutMs) {}

DbusGuardLine::~DbusGuardLine() { QDBusConnection::disconnectFromBus(bus_.name()); }

void DbusGuardLine::Bind(const QString& owner) {
    std::lock_guard lock(m_);
    owner_ = owner;
}

echolink::HResult DbusGuardLine::Unkey() {
    QString owner;
    {
        std::lock_guard lock(m_);
        owner = owner_;
    }
    if (owner.isEmpty() || !bus_.isConnected()) return echolink::kNoObject;
    QDBusMessage msg = QDBusMessage::createMethodCall(owner, QString::fromLatin1(ObjectPath),
                                                      QString::fromLatin1(InterfaceName), QStringLiteral("SetTransmit"));
    msg << QVariant(false);
    const QDBusMessage reply = bus_.call(msg, QDBus::Block, timeoutMs_);
    if (reply.type() == QDBusMessage::ReplyMessage) return echolink::kOk;
    const QString error = reply.errorName();
    if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        return echolink::kDisconnected;
    }
    return echolink::kFail;
}

}  // namespace hosts::dbus
