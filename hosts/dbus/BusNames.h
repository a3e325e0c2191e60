// Where EchoLink's automation object lives on the Linux session bus: the well-known name, object
// path and interface that the station simulator owns and the program's D-Bus backend calls.
#pragma once

namespace hosts::dbus {

inline constexpr char ServiceName[] = "org.dizochat.EchoLink";
inline constexpr char ObjectPath[] = "/org/dizochat/EchoLink";
inline constexpr char InterfaceName[] = "org.dizochat.EchoLink";

// Every call waits at most this long, so a hung station freezes the window for seconds, not for good.
inline constexpr int DefaultCallTimeoutMs = 2000;

}  // namespace hosts::dbus
