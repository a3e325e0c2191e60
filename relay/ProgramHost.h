// What the windows need of the program around them: the About window shown modally, unloading a
// window, and ending the program at once. Hosts implement it; they own every window.
#pragma once

#include <cstdint>
#include <string>

namespace relay {

enum class Window { Form1, Sobre };

class ProgramHost {
public:
    virtual ~ProgramHost() = default;
    // Shows the window modally with no owner and returns when it has closed; meanwhile the main
    // window takes no input. False when it could not be shown.
    virtual bool ShowModal(Window window) = 0;
    // Unloads the window. Unloading Form1 ends the program once the current handler has returned;
    // hosts must not destroy the window from inside the handler that asked.
    virtual void Unload(Window window) = 0;
    // Ends the program at once: no window's exit steps run and nothing is posted.
    virtual void EndNow() = 0;
};

// The shell's "open" of a document or web page, as ShellExecute takes it.
struct ShellOpenRequest {
    Window parent = Window::Sobre;
    std::string verb;
    std::string file;
    std::string parameters;
    std::string directory;
    int showCommand = 1;  // SW_SHOWNORMAL
};

class Shell {
public:
    virtual ~Shell() = default;
    // Returns a value above 32 on success, as ShellExecute does.
    virtual std::intptr_t Open(const ShellOpenRequest& request) = 0;
};

}  // namespace relay
