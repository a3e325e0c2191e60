// The window handle that window services, hosts and the button control pass around.
// A borrowed value: windows belong to their host.
#pragma once

#include <cstdint>

namespace win {

struct HWND {
    std::uintptr_t value = 0;
    constexpr HWND() = default;
    constexpr explicit HWND(std::uintptr_t v) : value(v) {}
    constexpr explicit operator bool() const { return value != 0; }
    friend constexpr bool operator==(HWND, HWND) = default;
};

}  // namespace win
