// The shell's "open" of a web page or document, as the About window asks for it. The shell needs
// COM on the calling thread; it gets it for the call when the thread has none (no EchoLink, no
// voice yet), and the thread is left as it was found.
#pragma once

#include <cstdint>

#include "relay/ProgramHost.h"
#include "win/Hwnd.h"

namespace hosts::win32 {

// Returns the shell's answer: above 32 on success.
std::intptr_t ShellOpen(win::HWND parent, const relay::ShellOpenRequest& request);

}  // namespace hosts::win32
