// Taking EchoLink's place on the session bus, as each of our stations does (the simulator and the
// service for an EchoLink under Wine): the object at its path, then the well-known name.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <string>

namespace hosts::dbus {

// Registers `station` at the object path, exporting its slots and signals, and claims the name,
// never queued for and never handed over: a second station must not quietly wait for it or take
// it. Empty on success; otherwise what went wrong, with nothing left registered.
std::string ClaimStationName(QDBusConnection& bus, QObject* station);

}  // namespace hosts::dbus
