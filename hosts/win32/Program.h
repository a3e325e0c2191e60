// The Windows program around the window logic: builds both windows from their stored
// descriptions, runs the message loop through the windows' dialog rules, shows the About window
// modally with no owner, opens web pages with the shell and ends with the session. Owns the
// windows, the window services, the log, the transmit guard and Form1's logic; the EchoLink
// factory, the speech engine and the guard's ways to them are the caller's.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "echolink/EchoLink.h"
#include "forms/Units.h"
#include "hosts/win32/ProgramLog.h"
#include "hosts/win32/ProgramServices.h"
#include "hosts/win32/Win32WindowServices.h"
#include "relay/Pause.h"
#include "relay/ProgramWindows.h"
#include "relay/QueuedLog.h"
#include "relay/Speech.h"
#include "relay/Texts.h"
#include "relay/TransmitGuard.h"

namespace relay {
class Form1;
}

namespace hosts::win32 {

class FormWindow;
class SessionWatch;

struct ProgramFiles {
    std::filesystem::path mainWindow;   // Form1's description
    std::filesystem::path aboutWindow;  // sobre_'s description
    void* bigIcon = nullptr;            // native icons for the windows' captions, the caller's
    void* smallIcon = nullptr;
};

class Program final : public relay::ProgramWindows {
public:
    // Throws forms::FormatError when the main window's description is bad.
    Program(const ProgramFiles& files, forms::Scale scale, echolink::EchoLinkFactory& echoLink,
            relay::SpeechEngine& speech, GuardPaths guardPaths,
            std::chrono::milliseconds transmitLimit = relay::kTransmitLimit);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs the load handler, shows the main window and returns the message loop's exit code.
    int Run();

    // relay::ProgramHost
    bool ShowModal(relay::Window window) override;
    void Unload(relay::Window window) override;
    void EndNow() override;
    // relay::Shell
    std::intptr_t Open(const relay::ShellOpenRequest& request) override;

private:
    relay::NamedControls* MainControls() const override;
    // Pumps messages until WM_QUIT (returned) or, for a modal window, until it is unloaded.
    int Loop(bool modal);
    // Windows is ending the session: as the close box, and with Form1 let go at once (its end
    // delivers what EchoLink is owed) unless one of its handlers is still under way.
    void SessionEnds();
    // Any thread: unkeys and silences when the guard says the transmitter is keyed.
    void UnkeyIfKeyed();

    ProgramFiles files_;
    forms::Scale scale_;
    Win32WindowServices windows_;
    echolink::EchoLinkFactory& echoLink_;
    relay::SpeechEngine& speech_;
    relay::ThreadPause pause_;
    // Notices never hold the window's thread, nor the guard's: a hung debug viewer drops them.
    relay::QueuedLog log_;
    GuardPaths guardPaths_;
    relay::ThreadGuardTimer guardTimer_;
    relay::TransmitGuard guard_;
    int inForm1_ = 0;  // depth of Form1's handlers on the window's thread
    // Form1 hears EchoLink through this, which counts its handlers.
    std::unique_ptr<echolink::EchoLinkFactory> countedEchoLink_;
    std::unique_ptr<FormWindow> main_;
    FormWindow* about_ = nullptr;  // while the About window is up
    bool aboutUnloading_ = false;
    std::unique_ptr<relay::Form1> form1_;
    bool ending_ = false;
    bool mainUnloaded_ = false;  // unloaded while the About window was up
    int exitCode_ = 0;
    std::unique_ptr<SessionWatch> sessionWatch_;  // last made, first gone: it calls the guard
};

}  // namespace hosts::win32
