// Text at the COM boundary: our UTF-8 strings become UTF-16 BSTRs and back, converted once.
// Owns nothing beyond the BSTR it returns, which the caller frees (or hands to a VARIANT).
#pragma once

#include <string>
#include <string_view>

#include <windows.h>
#include <oleauto.h>

namespace hosts::com {

// A BSTR holding `utf8` (NUL bytes kept, since a BSTR carries its length); bytes that are not
// UTF-8 become U+FFFD. Null only when memory runs out.
BSTR NewBstr(std::string_view utf8);

// UTF-16 (a BSTR's characters, its own length) as UTF-8; lone surrogates become U+FFFD.
std::string Utf8Of(const wchar_t* text, std::size_t length);
std::string Utf8Of(BSTR text);

// UTF-8 as UTF-16 for the wide Windows calls that take a null-terminated string.
std::wstring WideOf(std::string_view utf8);

}  // namespace hosts::com
