#include "hosts/dbus/DbusEchoLink.h"

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDeadlineTimer>

#include <algorithm>

#include "hosts/dbus/BusNames.h"
#include "hosts/dbus/SignalDesk.h"

namespace hosts::dbus {

namespace {

QString FromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A question to the bus daemon itself, bounded by what is left of Create's time-out: Qt's own
// helpers wait 25 s, and a daemon that never answers would hold the start-up that long.
QDBusMessage AskBus(QDBusConnection& bus, const char* method, const QString& name, const QDeadlineTimer& deadline) {
    QDBusMessage msg = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                      QStringLiteral("org.freedesktop.DBus"), QString::fromLatin1(method));
    msg << name;
    // At least 1 ms: no time-out at all would mean Qt's default again.
    return bus.call(msg, QDBus::Block, static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
}

bool Silent(const QDBusMessage& reply) {
    return reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
           reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout");
}

}  // namespace

std::unique_ptr<DbusEchoLink> DbusEchoLink::Create(QDBusConnection bus, echolink::ChatEvents& events,
                                                   int callTimeoutMs) {
    if (!bus.isConnected()) return nullptr;
    const QDeadlineTimer deadline(callTimeoutMs);
    const auto unanswered = [callTimeoutMs](const char* method) {
        qWarning("dizo-chat: the session bus did not answer %s within %d ms; EchoLink is not reached", method,
                 callTimeoutMs);
        return nullptr;
    };
    const QDBusMessage owner = AskBus(bus, "GetNameOwner", QString::fromLatin1(ServiceName), deadline);
    if (Silent(owner)) return unanswered("GetNameOwner");
    if (owner.type() != QDBusMessage::ReplyMessage || owner.arguments().isEmpty()) return nullptr;
    const QString name = owner.arguments().constFirst().toString();
    if (name.isEmpty()) return nullptr;
    std::unique_ptr<DbusEchoLink> link(new DbusEchoLink(bus, name, events, callTimeoutMs));
    // Qt sends the subscriptions without waiting for them. The bus daemon handles one connection's
    // messages in order, so once it answers this the subscriptions are in place: a chat line sent
    // after Create returns is heard, and a station that is gone by now is known to be gone. Without
    // that answer the link is dropped whole (its destructor unsubscribes), never returned half made.
    const QDBusMessage present = AskBus(bus, "NameHasOwner", name, deadline);
    if (Silent(present)) return unanswered("NameHasOwner");
    if (present.type() != QDBusMessage::ReplyMessage || present.arguments().isEmpty()) return nullptr;
    if (!present.arguments().constFirst().toBool()) link->gone_ = true;
    return link;
}

DbusEchoLink::DbusEchoLink(QDBusConnection bus, QString owner, echolink::ChatEvents& events, int callTimeoutMs)
    : bus_(std::move(bus)), owner_(std::move(owner)), events_(events), timeoutMs_(callTimeoutMs) {
    deskThread_ = new QThread();
    desk_ = new SignalDesk(this);
    desk_->moveToThread(deskThread_);
    deskThread_->start();
    const QString path = QString::fromLatin1(ObjectPath);
    const QString iface = QString::fromLatin1(InterfaceName);
    bus_.connect(owner_, path, iface, QStringLiteral("ChatTextReceived"), desk_, SLOT(ChatText(QString)));
    bus_.connect(owner_, path, iface, QStringLiteral("Closing"), desk_, SLOT(Closing()));
    // Knowing at once that the station is gone spares each later call a round trip to the bus.
    auto* watcher = new QDBusServiceWatcher(owner_, bus_, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &DbusEchoLink::OwnerGone);
}

DbusEchoLink::~DbusEchoLink() {
    const QString path = QString::fromLatin1(ObjectPath);
    const QString iface = QString::fromLatin1(InterfaceName);
    bus_.disconnect(owner_, path, iface, QStringLiteral("ChatTextReceived"), desk_, SLOT(ChatText(QString)));
    bus_.disconnect(owner_, path, iface, QStringLiteral("Closing"), desk_, SLOT(Closing()));
    deskThread_->quit();
    deskThread_->wait();
    delete desk_;
    delete deskThread_;
    // What the desk handed on and the window's thread has not taken yet dies with this object.
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

void DbusEchoLink::ChatTextArrived(const QString& line, std::chrono::milliseconds arrivedAt) {
    if (gone_) return;
    const QByteArray utf8 = line.toUtf8();
    events_.ChatTextArrived(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())), arrivedAt);
}

void DbusEchoLink::ClosingArrived() {
    if (!gone_) events_.Closing();
}

DbusEchoLink::SignalDesk::SignalDesk(DbusEchoLink* link) : link_(link) {}

void DbusEchoLink::SignalDesk::ChatText(const QString& line) {
    // The steady clock, as the relay reads it.
    const auto arrivedAt = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    DbusEchoLink* link = link_;
    QMetaObject::invokeMethod(link, [link, line, arrivedAt] { link->ChatTextArrived(line, arrivedAt); },
                              Qt::QueuedConnection);
}

void DbusEchoLink::SignalDesk::Closing() {
    DbusEchoLink* link = link_;
    QMetaObject::invokeMethod(link, [link] { link->ClosingArrived(); }, Qt::QueuedConnection);
}

void DbusEchoLink::OwnerGone() { gone_ = true; }

}  // namespace hosts::dbus
