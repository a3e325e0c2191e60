#include "hosts/win32/ProgramLog.h"

#include <string>

#include "hosts/wide/WideText.h"

#include <windows.h>

namespace hosts::win32 {

void DebugOutputLog::Line(std::string_view line) {
    // The wide call, so a sender's name keeps characters the ANSI code page lacks.
    std::string text = "dizo-chat: ";
    text.append(line);
    text += '\n';
    ::OutputDebugStringW(hosts::wide::Widen(text).c_str());
}

}  // namespace hosts::win32
