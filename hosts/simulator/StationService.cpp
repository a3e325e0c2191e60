#include "hosts/simulator/StationService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

#include "hosts/dbus/BusNames.h"
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
    if (!bus_.isConnected()) {
        report_("error: no session bus: " + Utf8(bus_.lastError().message()));
        return false;
    }
    // Without the variant's type registered, introspection leaves SendMorse out.
    qRegisterMetaType<QDBusVariant>();
    if (!bus_.registerObject(QString::fromLatin1(dbus::ObjectPath), this,
                             QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)) {
        report_("error: cannot register " + std::string(dbus::ObjectPath));
        return false;
    }
    // No queueing and no replacement: a second station must not quietly wait for the name.
    const auto reply = bus_.interface()->registerService(QString::fromLatin1(dbus::ServiceName),
                                                         QDBusConnectionInterface::DontQueueService,
                                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus_.unregisterObject(QString::fromLatin1(dbus::ObjectPath));
        report_(std::string("error: the name ") + dbus::ServiceName + " already has an owner");
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
