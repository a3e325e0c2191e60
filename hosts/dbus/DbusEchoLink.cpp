#include "hosts/dbus/DbusEchoLink.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include "hosts/dbus/BusNames.h"

namespace hosts::dbus {

std::unique_ptr<DbusEchoLink> DbusEchoLink::Create(QDBusConnection bus, int callTimeoutMs) {
    if (!bus.isConnected() || bus.interface() == nullptr) return nullptr;
    const QDBusReply<QString> owner = bus.interface()->serviceOwner(QString::fromLatin1(ServiceName));
    if (!owner.isValid() || owner.value().isEmpty()) return nullptr;
    return std::unique_ptr<DbusEchoLink>(new DbusEchoLink(bus, owner.value(), callTimeoutMs));
}

DbusEchoLink::DbusEchoLink(QDBusConnection bus, QString owner, int callTimeoutMs)
    : bus_(std::move(bus)), owner_(std::move(owner)), timeoutMs_(callTimeoutMs) {
    const QString path = QString::fromLatin1(ObjectPath);
    const QString iface = QString::fromLatin1(InterfaceName);
    bus_.connect(owner_, path, iface, QStringLiteral("ChatTextReceived"), this, SLOT(chatTextSignal(QString)));
    bus_.connect(owner_, path, iface, QStringLiteral("Closing"), this, SLOT(closingSignal()));
    // Knowing at once that the station is gone spares each later call a round trip to the bus.
    auto* watcher = new QDBusServiceWatcher(owner_, bus_, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &DbusEchoLink::ownerGone);
}

DbusEchoLink::~DbusEchoLink() {
    const QString path = QString::fromLatin1(ObjectPath);
    const QString iface = QString::fromLatin1(InterfaceName);
    bus_.disconnect(owner_, path, iface, QStringLiteral("ChatTextReceived"), this, SLOT(chatTextSignal(QString)));
    bus_.disconnect(owner_, path, iface, QStringLiteral("Closing"), this, SLOT(closingSignal()));
}

bool DbusEchoLink::call(const char* method, const QList<QVariant>& args) {
    if (gone_ || !bus_.isConnected()) return false;
    QDBusMessage msg = QDBusMessage::createMethodCall(owner_, QString::fromLatin1(ObjectPath),
                                                      QString::fromLatin1(InterfaceName),
                                                      QString::fromLatin1(method));
    msg.setArguments(args);
    // Block without a nested event loop: the window's handlers must not be re-entered mid-call.
    const QDBusMessage reply = bus_.call(msg, QDBus::Block, timeoutMs_);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool DbusEchoLink::SetTransmit(bool keyed) { return call("SetTransmit", {QVariant(keyed)}); }

bool DbusEchoLink::SendMorse(std::int32_t reserved, const std::string& textUtf8) {
    const QString text = QString::fromUtf8(textUtf8.data(), static_cast<qsizetype>(textUtf8.size()));
    return call("SendMorse", {QVariant(reserved), QVariant::fromValue(QDBusVariant(text))});
}

bool DbusEchoLink::PostChatLine(const std::string& textUtf8) {
    return call("PostChatLine",
                {QVariant(QString::fromUtf8(textUtf8.data(), static_cast<qsizetype>(textUtf8.size())))});
}

void DbusEchoLink::chatTextSignal(const QString& line) {
    if (gone_ || !OnChatTextReceived) return;
    const QByteArray utf8 = line.toUtf8();
    // A copy: the handler may destroy this object (the program ending on "fdp").
    auto handler = OnChatTextReceived;
    handler(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

void DbusEchoLink::closingSignal() {
    if (gone_ || !OnClosing) return;
    auto handler = OnClosing;
    handler();
}

void DbusEchoLink::ownerGone() { gone_ = true; }

}  // namespace hosts::dbus
