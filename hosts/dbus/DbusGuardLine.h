// The transmit guard's own way to the station on Linux: a session-bus connection apart from the
// window's, used from the guard's thread only to unkey. Owns that connection.
#pragma once

#include <QDBusConnection>
#include <QString>

#include <mutex>

#include "echolink/HResult.h"

namespace hosts::dbus {

class DbusGuardLine {
public:
    // `bus` must be a connection of its own (QDBusConnection::connectToBus with a name no one else
    // uses): a call the window's thread is stuck in never holds the guard's.
    DbusGuardLine(QDBusConnection bus, int callTimeoutMs);
    ~DbusGuardLine();
    DbusGuardLine(const DbusGuardLine&) = delete;
    DbusGuardLine& operator=(const DbusGuardLine&) = delete;

    // The unique name of the station `oEchoLink` is bound to; unbound, the guard has none to unkey.
    void Bind(const QString& owner);
    // SetTransmit(false) to the bound station; from any thread, waiting at most the call time-out.
    echolink::HResult Unkey();

private:
    QDBusConnection bus_;
    int timeoutMs_;
    std::mutex m_;
    QString owner_;
};

}  // namespace hosts::dbus
