// EchoLink's object on the session bus for an EchoLink that runs under Wine: the simulator's very
// interface, each call forwarded to the bridge in EchoLink's prefix and answered within a bound.
// Owns the bus name while the bridge is there, and the connection to it.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "hosts/bridge/ServicePeer.h"

namespace hosts::bridge {

class WineStation : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.dizochat.EchoLink")
public:
    using Reporter = std::function<void(const std::string&)>;
    // `socket` is connected to the bridge and becomes ours; `bound` is each call's limit.
    WineStation(QDBusConnection bus, QTcpSocket* socket, std::string secret, std::chrono::milliseconds bound,
                Reporter report);
    ~WineStation() override;

    // Says hello and waits at most `wait` for the bridge's welcome, then takes the name. False (with
    // a report) when the bridge refuses or is silent, or when the name has an owner already.
    bool Start(std::chrono::milliseconds wait);

    // Called once the bridge is gone and the name released: the program sees the station vanish.
    // Not a signal, since every signal of this object is part of EchoLink's interface on the bus.
    void OnEnded(std::function<void()> ended) { endedCallback_ = std::move(ended); }

    // Why the station ended: the bridge closed after EchoLink's Closing (true) or otherwise.
    bool ClosedByEchoLink() const { return closingSeen_; }

public slots:
    void SetTransmit(bool keyed);
    void SendMorse(int reserved, const QDBusVariant& text);
    void PostChatLine(const QString& text);

signals:
    void ChatTextReceived(const QString& line);
    void Closing();

private slots:
    void ReadBridge();
    void Expire();
    void End();

private:
    void Forward(Message call);
    void Answer(std::uint32_t callId, std::int32_t result);
    void Fail(const QDBusMessage& call, const QString& why);
    void ArmExpiry();
    void Release();

    QDBusConnection bus_;
    QTcpSocket* socket_;
    ServicePeer peer_;
    std::chrono::milliseconds bound_;
    Reporter report_;
    std::function<void()> endedCallback_;
    QTimer expiry_;
    std::map<std::uint32_t, QDBusMessage> waiting_;
    bool registered_ = false;
    bool ended_ = false;
    bool closingSeen_ = false;
};

}  // namespace hosts::bridge
