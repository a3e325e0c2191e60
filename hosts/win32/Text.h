// Text at the platform's edge: our UTF-8 strings to and from the wide strings of the window
// functions, and to the ANSI code page where an ANSI function takes them. Pure conversions.
#pragma once

#include <string>
#include <string_view>

namespace hosts::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// To the ANSI code page (Windows-1252 here); characters it lacks become its default character.
std::string ToAnsi(std::string_view utf8);

}  // namespace hosts::win32
