#include "hosts/wide/WideText.h"

#include <algorithm>
#include <climits>

#include <windows.h>
#include <oleauto.h>

namespace hosts::wide {

namespace {

// The platform counts in int; a string longer than that is converted in pieces rather than cut.
constexpr std::size_t Piece = INT_MAX / 4;

std::wstring ToWide(std::string_view bytes, UINT codePage) {
    std::wstring out;
    while (!bytes.empty()) {
        std::size_t n = std::min(bytes.size(), Piece);
        // Never split a UTF-8 sequence between two pieces.
        if (codePage == CP_UTF8 && n < bytes.size()) {
            while (n > 0 && (static_cast<unsigned char>(bytes[n]) & 0xC0) == 0x80) --n;
        }
        const int size = static_cast<int>(n);
        const int count = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(count));
        ::MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data() + at, count);
        bytes.remove_prefix(n);
    }
    return out;
}

std::string FromWide(std::wstring_view text, UINT codePage) {
    std::string out;
    while (!text.empty()) {
        std::size_t n = std::min(text.size(), Piece);
        // Never split a surrogate pair between two pieces.
        if (n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
        const int size = static_cast<int>(n);
        const int count = ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(count));
        ::WideCharToMultiByte(codePage, 0, text.data(), size, out.data() + at, count, nullptr, nullptr);
        text.remove_prefix(n);
    }
    return out;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(utf8, CP_UTF8); }
std::string Narrow(std::wstring_view utf16) { return FromWide(utf16, CP_UTF8); }
std::string ToAnsi(std::string_view utf8, unsigned codePage) { return FromWide(Widen(utf8), codePage); }
std::string FromAnsi(std::string_view ansi, unsigned codePage) { return Narrow(ToWide(ansi, codePage)); }

wchar_t* NewBstr(std::string_view utf8) {
    const std::wstring wide = Widen(utf8);
    return ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string NarrowBstr(wchar_t* bstr) {
    return bstr == nullptr ? std::string() : Narrow(std::wstring_view(bstr, ::SysStringLen(bstr)));
}

}  // namespace hosts::wide
