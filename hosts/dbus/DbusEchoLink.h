// EchoLink's automation object reached over D-Bus: the three operations and the two events.
// Owns its subscription to the station's signals; the bus connection is shared with Qt.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace hosts::dbus {

class DbusEchoLink : public QObject {
    Q_OBJECT
public:
    // Binds to the process that owns the station's name at this moment; null when nobody does.
    // Calls and signals go to that owner's unique name, so a station that quits or crashes is not
    // silently replaced by another one started later: from then on every call fails.
    static std::unique_ptr<DbusEchoLink> Create(QDBusConnection bus, int callTimeoutMs);

    ~DbusEchoLink() override;
    DbusEchoLink(const DbusEchoLink&) = delete;
    DbusEchoLink& operator=(const DbusEchoLink&) = delete;

    // Each returns true when the station answered without an error within the timeout.
    bool SetTransmit(bool keyed);
    bool SendMorse(std::int32_t reserved, const std::string& textUtf8);
    bool PostChatLine(const std::string& textUtf8);

    // Events, delivered on the thread that runs this object's Qt event loop.
    std::function<void(const std::string& lineUtf8)> OnChatTextReceived;
    std::function<void()> OnClosing;

    const QString& OwnerName() const { return owner_; }

private slots:
    void chatTextSignal(const QString& line);
    void closingSignal();
    void ownerGone();

private:
    DbusEchoLink(QDBusConnection bus, QString owner, int callTimeoutMs);
    bool call(const char* method, const QList<QVariant>& args);

    QDBusConnection bus_;
    QString owner_;
    int timeoutMs_;
    bool gone_ = false;
};

}  // namespace hosts::dbus
