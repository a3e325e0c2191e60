// The Windows program's start and end around its windows: DPI awareness, desktop colours, GDI+,
// icons, the program's files put in place in memory, then the windows' message loop. Owns nothing past its return.
#pragma once

#include "hosts/win32/ProgramServices.h"

namespace hosts::win32 {

// Runs the program with the given outside services and returns its exit code. `instance` is the
// program's HINSTANCE, whose resources hold the icon, descriptions and artwork.
int RunProgram(void* instance, ProgramServices& services);

}  // namespace hosts::win32
