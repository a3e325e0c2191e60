// The D-Bus link's signal desk: a QObject on a thread of its own that stamps each chat line on
// arrival and hands it to the window's thread. Private to DbusEchoLink; owns nothing.
#pragma once

#include <QObject>
#include <QString>

#include "hosts/dbus/DbusEchoLink.h"

namespace hosts::dbus {

class DbusEchoLink::SignalDesk final : public QObject {
    Q_OBJECT
public:
    explicit SignalDesk(DbusEchoLink* link);

public slots:
    void ChatText(const QString& line);
    void Closing();

private:
    DbusEchoLink* link_;
};

}  // namespace hosts::dbus
