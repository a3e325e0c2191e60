// The desktop program's start-up, shared by dizo-chat and its end-to-end build with a short
// transmit limit: Qt application, desktop colours and fonts, the windows' files, the event loop.
#pragma once

#include <chrono>
#include <filesystem>

namespace hosts::qt {

struct DesktopOptions {
    // Where the descriptions are from the program's folder when none are beside it.
    std::filesystem::path dataFromProgram;
    std::chrono::milliseconds transmitLimit;
};

// Returns the program's exit status.
int RunDesktopProgram(int argc, char** argv, const DesktopOptions& options);

}  // namespace hosts::qt
