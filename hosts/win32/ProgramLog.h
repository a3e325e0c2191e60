// Where the Windows program's notices go: the debugger's output (OutputDebugString), which a
// station's owner reads with a debugger or a debug-output viewer, since the program has no console.
#pragma once

#include <string_view>

#include "relay/Log.h"

namespace hosts::win32 {

class DebugOutputLog final : public relay::Log {
public:
    // One line, prefixed with the program's name so it stands out among other programs' output.
    void Line(std::string_view line) override;
};

}  // namespace hosts::win32
