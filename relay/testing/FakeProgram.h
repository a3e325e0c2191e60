// Stand-ins for the program host and the shell: record unloads, the immediate end, modal windows
// and shell requests. A modal window runs a script given by the test while it is "up".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "relay/ProgramHost.h"
#include "relay/testing/EventLog.h"

namespace relay::fakes {

inline std::string WindowName(Window window) {
    return window == Window::Form1 ? "Form1" : "sobre_";
}

class FakeProgram final : public ProgramHost {
public:
    explicit FakeProgram(EventLog& log) : log_(log) {}

    bool ShowModal(Window window) override {
        log_.Add("ShowModal(" + WindowName(window) + ")");
        if (showFails) {
            return false;
        }
        ++modalShown;
        if (whileModal) {
            whileModal();
        }
        return true;
    }
    void Unload(Window window) override {
        log_.Add("Unload(" + WindowName(window) + ")");
        unloaded.push_back(window);
    }
    void EndNow() override {
        log_.Add("EndNow");
        ++ended;
    }

    bool showFails = false;
    std::function<void()> whileModal;  // the user's actions while the modal window is up
    int modalShown = 0;
    std::vector<Window> unloaded;
    int ended = 0;

private:
    EventLog& log_;
};

class FakeShell final : public Shell {
public:
    std::intptr_t Open(const ShellOpenRequest& request) override {
        requests.push_back(request);
        return result;
    }
    std::intptr_t result = 42;
    std::vector<ShellOpenRequest> requests;
};

}  // namespace relay::fakes
