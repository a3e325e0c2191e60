// Test support: a private session bus (its own dbus-daemon) and the real station simulator on it.
// Owns both processes; waiting means running Qt's event loop until a condition holds or a deadline.
#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

// Test failures show QStrings as text, not as the bytes of each character.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace hosts::testing {

QCoreApplication& App();

// A wait ends at its event; the limit only ends a wait for something that never comes, so it
// holds on a loaded machine many times slower than a developer's.
inline constexpr int kWaitMs = 30000;

// Runs the event loop until `done` or the deadline; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = kWaitMs);

class PrivateBus {
public:
    PrivateBus();
    // Another bus program that prints its address on its first line.
    PrivateBus(const QString& program, const QStringList& args);
    ~PrivateBus();
    bool Ok() const { return !address_.isEmpty(); }
    const QString& Address() const { return address_; }
    // A fresh client connection to this bus.
    QDBusConnection Connect();
    // Stops or resumes the daemon: a bus that takes messages and never answers them.
    void Freeze(bool frozen);

private:
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

class Station {
public:
    explicit Station(const PrivateBus& bus, const QStringList& extraArgs = {});
    ~Station();
    // Once the simulator owns the name (it printed "ready:"). A failure says what it printed.
    ::testing::AssertionResult WaitReady();
    ::testing::AssertionResult WaitFinished();
    void Type(const std::string& line);  // one line on its standard input
    // Everything printed so far (time stamps removed, one call a line).
    const QStringList& Calls();
    // A failure names the call and the last ones that came instead.
    ::testing::AssertionResult WaitForCall(const QString& call, int timeoutMs = kWaitMs);
    // The same without running the event loop, for a test standing in for a blocked handler.
    ::testing::AssertionResult WaitForCallBlocking(const QString& call, int timeoutMs = kWaitMs);
    QProcess& Process() { return process_; }

private:
    ::testing::AssertionResult Missing(const QString& what, int timeoutMs);

    QTemporaryDir dir_;
    QProcess process_;
    QFile output_;
    QByteArray pending_;  // an unfinished last line
    QStringList calls_;
};

}  // namespace hosts::testing
