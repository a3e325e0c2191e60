#include "hosts/simulator/StationService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

#include "hosts/dbus/BusNames.h"
#include "hosts/dbus/StationName.h"
#include "hosts/simulator/ChatLine.h"

namespace hosts::sim {

namespace {

std::string Utf8(const QString& s) {
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

}  // namespace

StationService::StationService(QDBusConnection bus, Reporter report)
    : bus_(std::move(bus)), report_(std::move(report)) {}

StationService::~StationService() {
    if (!registered_) return;
    bus_.unregisterObject(QString::fromLatin1(dbus::ObjectPath));
    bus_.unregisterService(QString::fromLatin1(dbus::ServiceName));
}

bool StationService::Start() {
    if (const std::string error = dbus::ClaimStationName(bus_, this); !error.empty()) {
        report_("error: " + error);
        return false;
    }
    registered_ = true;
    report_(std::string("ready: ") + dbus::ServiceName + " " + dbus::ObjectPath + " as " +
            Utf8(bus_.baseService()));
    return true;
}

void StationService::EmitChatText(const std::string& lineUtf8) {
    report_("ChatTextReceived(" + Quoted(lineUtf8) + ")");
    emit ChatTextReceived(QString::fromUtf8(lineUtf8.data(), static_cast<qsizetype>(lineUtf8.size())));
}

void StationService::EmitClosing() {
    report_("Closing()");
    emit Closing();
    // Messages leave a connection in order: once the bus daemon answers this, the signal is out,
    // even if the process ends right after.
    if (bus_.interface() != nullptr) (void)bus_.interface()->serviceOwner(QString::fromLatin1(dbus::ServiceName));
}

void StationService::SetTransmit(bool keyed) {
    Answer(std::string("SetTransmit(") + (keyed ? "true" : "false") + ")");
}

void StationService::SendMorse(int reserved, const QDBusVariant& text) {
    const QVariant v = text.variant();
    const std::string shown = v.typeId() == QMetaType::QString ? Quoted(Utf8(v.toString()))
                                                               : std::string("<") + v.typeName() + ">";
    Answer("SendMorse(" + std::to_string(reserved) + ", " + shown + ")");
}

void StationService::PostChatLine(const QString& text) { Answer("PostChatLine(" + Quoted(Utf8(text)) + ")"); }

void StationService::Answer(const std::string& callText) {
    const bool fail = failing_ || (failCountdown_ > 0 && --failCountdown_ == 0);
    report_(fail ? callText + " -> error" : callText);
    if (!calledFromDBus()) return;
    if (replyDelayMs_ <= 0 && !fail) return;  // Qt sends the empty reply itself
    setDelayedReply(true);
    QDBusMessage reply = fail ? message().createErrorReply(QDBusError::Failed, QStringLiteral("station refused"))
                                  : message().createReply();
    QDBusConnection bus = connection();
    QTimer::singleShot(replyDelayMs_, this, [bus, reply]() mutable { bus.send(reply); });
}

}  // namespace hosts::sim
