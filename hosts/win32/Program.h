// The Windows program around the window logic: builds both windows from their stored
// descriptions, runs the message loop through the windows' dialog rules, shows the About window modally
// with no owner and opens web pages with the shell. Owns the windows, the window services and
// Form1's logic; the EchoLink factory and the speech engine are the caller's.
#pragma once

#include <filesystem>
#include <memory>

#include "echolink/EchoLink.h"
#include "forms/Units.h"
#include "hosts/win32/ProgramLog.h"
#include "hosts/win32/Win32WindowServices.h"
#include "relay/Pause.h"
#include "relay/ProgramWindows.h"
#include "relay/Speech.h"

namespace relay {
class Form1;
}

namespace hosts::win32 {

class FormWindow;

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
            relay::SpeechEngine& speech);
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

    ProgramFiles files_;
    forms::Scale scale_;
    Win32WindowServices windows_;
    echolink::EchoLinkFactory& echoLink_;
    relay::SpeechEngine& speech_;
    relay::ThreadPause pause_;
    DebugOutputLog log_;
    std::unique_ptr<FormWindow> main_;
    FormWindow* about_ = nullptr;  // while the About window is up
    bool aboutUnloading_ = false;
    std::unique_ptr<relay::Form1> form1_;
    bool ending_ = false;
    bool mainUnloaded_ = false;  // unloaded while the About window was up
    int exitCode_ = 0;
};

}  // namespace hosts::win32
