// Text at the Windows edge, for every Windows host: our UTF-8 strings to and from UTF-16 (the wide
// window functions, BSTRs) and the ANSI code page, each converted exactly once. Pure conversions.
#pragma once

#include <string>
#include <string_view>

namespace hosts::wide {

// Bytes that are not UTF-8 become U+FFFD; NUL characters are kept, since lengths are explicit.
std::wstring Widen(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

// To and from an ANSI code page: 0 (CP_ACP) is the machine's own, Windows-1252 on the stations.
// Characters the code page lacks become its default character.
std::string ToAnsi(std::string_view utf8, unsigned codePage = 0);
std::string FromAnsi(std::string_view ansi, unsigned codePage = 0);

// BSTRs (wchar_t*, so that this header needs no windows.h in front of our own headers). NewBstr
// returns one holding `utf8`, which the caller frees or hands to a VARIANT; null only when memory
// runs out. NarrowBstr reads a BSTR by its own length; null is the empty string.
wchar_t* NewBstr(std::string_view utf8);
std::string NarrowBstr(wchar_t* bstr);

}  // namespace hosts::wide
