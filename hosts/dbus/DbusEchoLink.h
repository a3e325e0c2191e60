// EchoLink's automation object reached over the session bus: the three operations and two events.
// Owns its subscription to the station's signals; the bus connection is shared with Qt.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QThread>

#include <chrono>
#include <functional>
#include <memory>

#include "echolink/EchoLink.h"

namespace hosts::dbus {

class DbusEchoLink final : public QObject, public echolink::EchoLink {
    Q_OBJECT
public:
    // Binds to the process that owns the station's name at this moment; null when nobody does.
    // Calls and signals go to that owner's unique name, so a station that quits or crashes is not
    // silently replaced by one started later: from then on every call fails. Null too when the bus
    // daemon does not answer within the call time-out, which bounds the whole of Create.
    static std::unique_ptr<DbusEchoLink> Create(QDBusConnection bus, echolink::ChatEvents& events, int callTimeoutMs);

    ~DbusEchoLink() override;

    echolink::HResult SetTransmit(bool keyed) override;
    echolink::HResult SendMorse(std::int32_t reserved, const echolink::Variant& text) override;
    echolink::HResult PostChatLine(const std::string& line) override;
    // The unique name of the station this object is bound to.
    const QString& Owner() const { return owner_; }

    // Takes the station's signals on a thread of its own, where each chat line is stamped as it
    // arrives, then hands them on to the window's thread in the order they came.
    class SignalDesk;

private slots:
    void OwnerGone();

private:
    DbusEchoLink(QDBusConnection bus, QString owner, echolink::ChatEvents& events, int callTimeoutMs);
    echolink::HResult Call(const char* method, const QList<QVariant>& args);
    void ChatTextArrived(const QString& line, std::chrono::milliseconds arrivedAt);
    void ClosingArrived();

    QDBusConnection bus_;
    QString owner_;
    echolink::ChatEvents& events_;
    int timeoutMs_;
    bool gone_ = false;
    QThread* deskThread_ = nullptr;
    SignalDesk* desk_ = nullptr;  // lives on deskThread_
};

// The factory the main window creates `oEchoLink` with.
class DbusEchoLinkFactory final : public echolink::EchoLinkFactory {
public:
    DbusEchoLinkFactory(QDBusConnection bus, int callTimeoutMs) : bus_(std::move(bus)), timeoutMs_(callTimeoutMs) {}
    std::unique_ptr<echolink::EchoLink> Create(echolink::ChatEvents& events) override {
        std::unique_ptr<DbusEchoLink> link = DbusEchoLink::Create(bus_, events, timeoutMs_);
        if (link && onBound) onBound(link->Owner());
        return link;
    }
    // Told the station's unique name each time an object is bound to one (the guard's line).
    std::function<void(const QString&)> onBound;

private:
    QDBusConnection bus_;
    int timeoutMs_;
};

}  // namespace hosts::dbus
