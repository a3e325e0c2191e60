#include "hosts/dbus/StationName.h"

#include <QDBusConnectionInterface>
#include <QDBusVariant>

#include "hosts/dbus/BusNames.h"

namespace hosts::dbus {

std::string ClaimStationName(QDBusConnection& bus, QObject* station) {
    if (!bus.isConnected()) {
        return "no session bus: " + bus.lastError().message().toStdString();
    }
    // Without the variant's type registered first, introspection leaves SendMorse out.
    qRegisterMetaType<QDBusVariant>();
    if (!bus.registerObject(QString::fromLatin1(ObjectPath), station,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)) {
        return std::string("cannot register ") + ObjectPath;
    }
    const auto reply = bus.interface()->registerService(QString::fromLatin1(ServiceName),
                                                        QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(QString::fromLatin1(ObjectPath));
        return std::string("the name ") + ServiceName + " already has an owner";
    }
    return {};
}

}  // namespace hosts::dbus
