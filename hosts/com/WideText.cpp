#include "hosts/com/WideText.h"

#include <climits>

namespace hosts::com {

std::wstring WideOf(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return {};
    const int size = static_cast<int>(utf8.size());
    const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), count);
    return wide;
}

BSTR NewBstr(std::string_view utf8) {
    const std::wstring wide = WideOf(utf8);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string Utf8Of(const wchar_t* text, std::size_t length) {
    if (text == nullptr || length == 0 || length > INT_MAX) return {};
    const int size = static_cast<int>(length);
    const int count = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, utf8.data(), count, nullptr, nullptr);
    return utf8;
}

std::string Utf8Of(BSTR text) { return Utf8Of(text, text ? SysStringLen(text) : 0); }

}  // namespace hosts::com
