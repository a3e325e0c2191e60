#include "hosts/dbus/DbusEchoLink.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include "hosts/dbus/BusNames.h"

namespace hosts::dbus {

namespace {

QString FromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

std::unique_ptr<DbusEchoLink> DbusEchoLink::Create(QDBusConnection bus, echolink::ChatEvents& events,
                                                   int callTimeoutMs) {
    if (!bus.isConnected() || bus.interface() == nullptr) return nullptr;
    const QDBusReply<QString> owner = bus.interface()->serviceOwner(QString::fromLatin1(ServiceName));
    if (!owner.isValid() || owner.value().isEmpty()) return nullptr;
    return std::unique_ptr<DbusEchoLink>(new DbusEchoLink(bus, owner.value(), events, callTimeoutMs));
}

DbusEchoLink::DbusEchoLink(QDBusConnection bus, QString owner, echolink::ChatEvents& events, int callTimeoutMs)
    : bus_(std::move(bus)), owner_(std::move(owner)), events_(events), timeoutMs_(callTimeoutMs) {
    const QString path = QString::fromLatin1(ObjectPath);
    const QString iface = QString::fromLatin1(InterfaceName);
    bus_.connect(owner_, path, iface, QStringLiteral("ChatTextReceived"), this, SLOT(ChatTextSignal(QString)));
    bus_.connect(owner_, path, iface, QStringLiteral("Closing"), this, SLOT(ClosingSignal()));
    // Knowing at once that the station is gone spares each later call a round trip to the bus.
    auto* watcher = new QDBusServiceWatcher(owner_, bus_, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &DbusEchoLink::OwnerGone);
    // Qt sends the subscriptions without waiting for them. The bus daemon handles one connection's
    // messages in order, so once it answers this the subscriptions are in place: a chat line sent
    // after Create returns is heard, and a station that is gone by now is known to be gone.
    const QDBusReply<bool> present = bus_.interface()->isServiceRegistered(owner_);
    if (present.isValid() && !present.value()) gone_ = true;
}

DbusEchoLink::~DbusEchoLink() {
    const QString path = QString::fromLatin1(ObjectPath);
    const QString iface = QString::fromLatin1(InterfaceName);
    bus_.disconnect(owner_, path, iface, QStringLiteral("ChatTextReceived"), this, SLOT(ChatTextSignal(QString)));
    bus_.disconnect(owner_, path, iface, QStringLiteral("Closing"), this, SLOT(ClosingSignal()));
}

echolink::HResult DbusEchoLink::Call(const char* method, const QList<QVariant>& args) {
    if (gone_ || !bus_.isConnected()) return echolink::kDisconnected;
    QDBusMessage msg = QDBusMessage::createMethodCall(owner_, QString::fromLatin1(ObjectPath),
                                                      QString::fromLatin1(InterfaceName), QString::fromLatin1(method));
    msg.setArguments(args);
    // Block without a nested event loop: no window handler and no chat event may run mid-call.
    const QDBusMessage reply = bus_.call(msg, QDBus::Block, timeoutMs_);
    if (reply.type() == QDBusMessage::ReplyMessage) return echolink::kOk;
    const QString error = reply.errorName();
    if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
        error == QLatin1String("org.freedesktop.DBus.Error.Disconnected")) {
        gone_ = true;
        return echolink::kDisconnected;
    }
    return echolink::kFail;
}

echolink::HResult DbusEchoLink::SetTransmit(bool keyed) { return Call("SetTransmit", {QVariant(keyed)}); }

echolink::HResult DbusEchoLink::SendMorse(std::int32_t reserved, const echolink::Variant& text) {
    QVariant value;
    switch (text.Type()) {
    case echolink::VarType::Bstr: value = FromUtf8(text.String()); break;
    case echolink::VarType::I4: value = QVariant(static_cast<qint32>(text.Int32())); break;
    case echolink::VarType::Bool: value = QVariant(text.Int32() != 0); break;
    case echolink::VarType::Empty: return echolink::kInvalidArg;  // D-Bus has no empty variant
    }
    return Call("SendMorse", {QVariant(static_cast<qint32>(reserved)), QVariant::fromValue(QDBusVariant(value))});
}

echolink::HResult DbusEchoLink::PostChatLine(const std::string& line) {
    return Call("PostChatLine", {QVariant(FromUtf8(line))});
}

void DbusEchoLink::ChatTextSignal(const QString& line) {
    if (gone_) return;
    const QByteArray utf8 = line.toUtf8();
    events_.ChatTextReceived(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

void DbusEchoLink::ClosingSignal() {
    if (!gone_) events_.Closing();
}

void DbusEchoLink::OwnerGone() { gone_ = true; }

}  // namespace hosts::dbus
