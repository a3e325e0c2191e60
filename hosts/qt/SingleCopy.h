// One copy of the program per desktop: the first one owns a name of its own on the session bus,
// and a second start asks it to come to the front and ends. Owns the object that answers.
#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>

namespace hosts::qt {

inline constexpr char kSingleCopyName[] = "org.dizochat.Chat";
inline constexpr char kSingleCopyPath[] = "/org/dizochat/Chat";

class SingleCopy final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.dizochat.Chat")
public:
    // True when this is the first copy (or there is no bus to ask); false when another copy owns the
    // name, which has then been asked to come to the front. Every question waits at most `boundMs`.
    static bool Claim(QDBusConnection bus, int boundMs);

    // Answers Raise for the first copy from now on, on the window's thread.
    SingleCopy(QDBusConnection bus, std::function<void()> raise);
    ~SingleCopy() override;

public slots:
    void Raise();

private:
    QDBusConnection bus_;
    std::function<void()> raise_;
};

}  // namespace hosts::qt
