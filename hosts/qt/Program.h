// The Linux desktop program around the window logic: builds both windows from their stored
// descriptions, connects EchoLink over D-Bus and espeak-ng speech, and runs Qt's event loop.
// Owns the windows, the window services, the EchoLink factory, the speech engine and Form1's logic.
#pragma once

#include <QDBusConnection>

#include <chrono>
#include <filesystem>
#include <memory>

#include "hosts/dbus/DbusEchoLink.h"
#include "hosts/qt/InstalledFiles.h"
#include "hosts/qt/QtWindowServices.h"
#include "hosts/speech/EspeakVoice.h"
#include "relay/Pause.h"
#include "relay/ProgramWindows.h"

namespace relay {
class Form1;
}

namespace hosts::qt {

class FormWindow;

class Program final : public relay::ProgramWindows {
public:
    // Throws forms::FormatError when the main window's description is bad. The transmit limit is
    // the relay's constant except in the end-to-end build that shortens it.
    Program(const ProgramFiles& files, QDBusConnection bus, int callTimeoutMs,
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

    ProgramFiles files_;
    QtWindowServices windows_;
    hosts::dbus::DbusEchoLinkFactory echoLink_;
    hosts::speech::EspeakSpeechEngine speech_;
    relay::ThreadPause pause_;
    std::unique_ptr<FormWindow> main_;
    FormWindow* about_ = nullptr;  // while the About window is up
    std::unique_ptr<relay::Form1> form1_;
    bool ending_ = false;
};

}  // namespace hosts::qt
