// The Linux desktop program around the window logic: builds both windows from their stored
// descriptions, connects EchoLink over D-Bus and espeak-ng speech, and runs Qt's event loop.
// Owns the windows, the window services, the EchoLink factory, the speech engine and Form1's logic.
#pragma once

#include <QDBusConnection>

#include <chrono>
#include <filesystem>
#include <memory>

#include "hosts/dbus/DbusEchoLink.h"
#include "hosts/dbus/DbusGuardLine.h"
#include "hosts/qt/InstalledFiles.h"
#include "hosts/qt/QtWindowServices.h"
#include "hosts/speech/EspeakVoice.h"
#include "relay/Pause.h"
#include "relay/ProgramWindows.h"
#include "relay/QueuedLog.h"
#include "relay/TransmitGuard.h"

namespace relay {
class Form1;
}

namespace hosts::qt {

class EndSignals;
class FormWindow;
class SingleCopy;

class Program final : public relay::ProgramWindows {
public:
    // Throws forms::FormatError when the main window's description is bad. The transmit limit is
    // the relay's constant except in the end-to-end build that shortens it. `guardBus` is a bus
    // connection of the transmit guard's own.
    Program(const ProgramFiles& files, QDBusConnection bus, QDBusConnection guardBus, int callTimeoutMs,
            std::chrono::milliseconds transmitLimit);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs the load handler, shows the main window and returns the event loop's exit code.
    int Run();

    // relay::ProgramHost
    bool ShowModal(relay::Window window) override;
    void Unload(relay::Window window) override;
    void EndNow() override;
    // relay::Shell
    std::intptr_t Open(const relay::ShellOpenRequest& request) override;

private:
    relay::NamedControls* MainControls() const override;
    // On the signals' thread: unkey if keyed, silence, then end as the close box does.
    void EndOnSignal(int signal);

    ProgramFiles files_;
    QtWindowServices windows_;
    hosts::dbus::DbusEchoLinkFactory echoLink_;
    hosts::speech::EspeakSpeechEngine speech_;
    relay::ThreadPause pause_;
    relay::QueuedLog log_;
    hosts::dbus::DbusGuardLine guardLine_;
    relay::ThreadGuardTimer guardTimer_;
    relay::TransmitGuard guard_;
    std::unique_ptr<FormWindow> main_;
    FormWindow* about_ = nullptr;  // while the About window is up
    std::unique_ptr<relay::Form1> form1_;
    std::unique_ptr<SingleCopy> singleCopy_;
    std::unique_ptr<EndSignals> signals_;
    bool ending_ = false;
};

}  // namespace hosts::qt
