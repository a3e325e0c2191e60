#include "hosts/bridge/service/WineStation.h"

#include <QDBusConnectionInterface>
#include <QDeadlineTimer>

#include "hosts/dbus/BusNames.h"
#include "hosts/dbus/StationName.h"

namespace hosts::bridge {

namespace {

std::string Utf8(const QString& s) {
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

QString Hex(std::int32_t code) {
    return QStringLiteral("0x%1").arg(static_cast<std::uint32_t>(code), 8, 16, QLatin1Char('0'));
}

constexpr std::int32_t kInvalidArg = static_cast<std::int32_t>(0x80070057u);

}  // namespace

WineStation::WineStation(QDBusConnection bus, QTcpSocket* socket, std::string secret,
                         std::chrono::milliseconds bound, Reporter report)
    : bus_(std::move(bus)), socket_(socket), peer_(std::move(secret), bound), bound_(bound),
      report_(std::move(report)) {
    socket_->setParent(this);
    // A key request is a few bytes that must go at once, not wait for more to join them.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    expiry_.setSingleShot(true);
    expiry_.setTimerType(Qt::PreciseTimer);
    connect(&expiry_, &QTimer::timeout, this, &WineStation::Expire);
}

WineStation::~WineStation() { Release(); }

bool WineStation::Start(std::chrono::milliseconds wait) {
    socket_->write(QByteArray::fromStdString(peer_.Hello()));
    const QDeadlineTimer deadline(wait);
    while (!peer_.Welcomed()) {
        if (socket_->bytesAvailable() == 0 &&
            !socket_->waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
            report_("error: the bridge did not welcome us (wrong secret, or EchoLink not attached)");
            return false;
        }
        const QByteArray bytes = socket_->readAll();
        const auto got = peer_.Receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        if (got.end) {
            report_(std::string("error: the bridge broke the protocol: ") + Describe(got.refusal));
            return false;
        }
        // An event that came with the welcome is dropped: before the name is ours, no one hears it.
    }
    if (const std::string error = dbus::ClaimStationName(bus_, this); !error.empty()) {
        report_("error: " + error);
        return false;
    }
    registered_ = true;
    connect(socket_, &QTcpSocket::readyRead, this, &WineStation::ReadBridge);
    connect(socket_, &QTcpSocket::disconnected, this, &WineStation::End);
    connect(socket_, &QTcpSocket::errorOccurred, this, &WineStation::End);
    report_(std::string("ready: ") + dbus::ServiceName + " through the bridge, as " + Utf8(bus_.baseService()));
    return true;
}

void WineStation::SetTransmit(bool keyed) {
    Message call;
    call.kind = Kind::SetTransmit;
    call.keyed = keyed;
    Forward(std::move(call));
}

void WineStation::SendMorse(int reserved, const QDBusVariant& text) {
    Message call;
    call.kind = Kind::SendMorse;
    call.reserved = reserved;
    const QVariant v = text.variant();
    switch (v.typeId()) {
    case QMetaType::QString: call.morse = echolink::Variant::FromString(Utf8(v.toString())); break;
    case QMetaType::Int: call.morse = echolink::Variant::FromInt32(v.toInt()); break;
    case QMetaType::Bool: call.morse = echolink::Variant::FromBool(v.toBool()); break;
    default:
        setDelayedReply(true);
        Fail(message(), QStringLiteral("a Morse text must be a string, an integer or a boolean"));
        return;
    }
    Forward(std::move(call));
}

void WineStation::PostChatLine(const QString& text) {
    Message call;
    call.kind = Kind::PostChatLine;
    call.text = Utf8(text);
    Forward(std::move(call));
}

void WineStation::Forward(Message call) {
    if (!calledFromDBus()) return;
    setDelayedReply(true);
    if (ended_) {
        Fail(message(), QStringLiteral("the bridge to EchoLink is gone"));
        return;
    }
    auto out = peer_.Call(std::move(call), ServicePeer::Clock::now());
    if (!out) {
        Fail(message(), QStringLiteral("the call cannot be carried to EchoLink (too long)"));
        return;
    }
    waiting_.emplace(out->callId, message());
    socket_->write(out->frame.data(), static_cast<qint64>(out->frame.size()));
    ArmExpiry();
}

void WineStation::ReadBridge() {
    const QByteArray bytes = socket_->readAll();
    const auto got = peer_.Receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    for (const auto& event : got.events) {
        switch (event.kind) {
        case Kind::Answer: Answer(event.callId, event.result); break;
        case Kind::ChatText: emit ChatTextReceived(QString::fromUtf8(event.text.data(), static_cast<qsizetype>(event.text.size()))); break;
        case Kind::Closing:
            closingSeen_ = true;
            emit Closing();
            break;
        default: break;
        }
    }
    if (got.end) {
        report_(std::string("error: the bridge broke the protocol (") + Describe(got.refusal) + "); dropping it");
        End();
    } else {
        ArmExpiry();
    }
}

void WineStation::Answer(std::uint32_t callId, std::int32_t result) {
    const auto it = waiting_.find(callId);
    if (it == waiting_.end()) return;
    const QDBusMessage call = it->second;
    waiting_.erase(it);
    if (result < 0) {
        Fail(call, QStringLiteral("EchoLink answered %1").arg(Hex(result)));
    } else {
        bus_.send(call.createReply());
    }
}

void WineStation::Fail(const QDBusMessage& call, const QString& why) {
    bus_.send(call.createErrorReply(QDBusError::Failed, why));
}

void WineStation::Expire() {
    for (const std::uint32_t id : peer_.Expire(ServicePeer::Clock::now())) {
        const auto it = waiting_.find(id);
        if (it == waiting_.end()) continue;
        Fail(it->second, QStringLiteral("EchoLink did not answer within %1 ms").arg(bound_.count()));
        waiting_.erase(it);
    }
    ArmExpiry();
}

void WineStation::ArmExpiry() {
    const auto next = peer_.NextDeadline();
    if (!next) {
        expiry_.stop();
        return;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - ServicePeer::Clock::now());
    expiry_.start(std::max<std::chrono::milliseconds>(left, std::chrono::milliseconds(0)));
}

void WineStation::End() {
    if (ended_) return;
    ended_ = true;
    for (const std::uint32_t id : peer_.DropAll()) {
        const auto it = waiting_.find(id);
        if (it != waiting_.end()) Fail(it->second, QStringLiteral("the bridge to EchoLink is gone"));
    }
    waiting_.clear();
    expiry_.stop();
    Release();
    report_(closingSeen_ ? "ended: EchoLink closed" : "ended: the bridge is gone");
    if (endedCallback_) endedCallback_();
}

void WineStation::Release() {
    if (!registered_) return;
    registered_ = false;
    bus_.unregisterObject(QString::fromLatin1(dbus::ObjectPath));
    bus_.unregisterService(QString::fromLatin1(dbus::ServiceName));
}

}  // namespace hosts::bridge
