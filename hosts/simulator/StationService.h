// EchoLink's side of the bus, as the station simulator plays it: answers the three operations,
// reports each one, and emits the chat and closing signals. Owns the object it registers.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace hosts::sim {

class StationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.dizochat.EchoLink")
public:
    using Reporter = std::function<void(const std::string&)>;
    StationService(QDBusConnection bus, Reporter report);
    ~StationService() override;

    // Registers the object and takes the well-known name; false (with a report) when it is taken.
    bool Start();

    void EmitChatText(const std::string& lineUtf8);
    void EmitClosing();
    // Test levers: hold every reply for so many milliseconds, or answer with an error.
    void SetReplyDelay(int ms) { replyDelayMs_ = ms; }
    void SetFailing(bool failing) {
        failing_ = failing;
        failCountdown_ = 0;
    }
    // Only the n-th call from now (1 = the next) is answered with an error.
    void FailCall(int n) { failCountdown_ = n; }

public slots:
    void SetTransmit(bool keyed);
    void SendMorse(int reserved, const QDBusVariant& text);
    void PostChatLine(const QString& text);

signals:
    void ChatTextReceived(const QString& line);
    void Closing();

private:
    void Answer(const std::string& callText);

    QDBusConnection bus_;
    Reporter report_;
    bool registered_ = false;
    int replyDelayMs_ = 0;
    bool failing_ = false;
    int failCountdown_ = 0;
};

}  // namespace hosts::sim
