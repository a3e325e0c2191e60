// The platform's window services the button control calls: mouse capture, posted messages, the
// cursor, timers and named window properties. Hosts implement it; tests use win/testing's fake.
#pragma once

#include <cstdint>
#include <string_view>

#include "gdi/Types.h"
#include "win/Hwnd.h"

namespace win {

constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_TIMER = 0x0113;

constexpr std::uint16_t VK_SHIFT = 16;
constexpr std::uint16_t VK_SPACE = 32;
constexpr std::uint16_t VK_LEFT = 37;
constexpr std::uint16_t VK_UP = 38;
constexpr std::uint16_t VK_RIGHT = 39;
constexpr std::uint16_t VK_DOWN = 40;

class WindowServices;

// The timer-procedure form: window, message (WM_TIMER), timer identifier, time in milliseconds.
// Unlike the platform's, it is also handed the services that run it, so that a callback can
// read window properties without a process-wide global.
using TIMERPROC = void (*)(WindowServices& services, HWND hwnd, std::uint32_t message, std::uintptr_t id,
                           std::uint32_t time);

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // Returns the window that had the capture before, null if none.
    virtual HWND SetCapture(HWND hwnd) = 0;
    virtual bool ReleaseCapture() = 0;
    virtual bool PostMessageA(HWND hwnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

    virtual bool GetCursorPos(gdi::POINT* point) = 0;
    virtual bool ScreenToClient(HWND hwnd, gdi::POINT* point) = 0;
    virtual HWND WindowFromPoint(gdi::POINT point) = 0;

    // Returns the identifier (non-zero) on success; an existing timer with the same window and
    // identifier is replaced.
    virtual std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs, TIMERPROC proc) = 0;
    virtual bool KillTimer(HWND hwnd, std::uintptr_t id) = 0;

    // Named window properties (names compared without regard to case, as atoms are); a property
    // holds a pointer-sized value, 0 when absent. Destroying a window removes its properties.
    virtual bool SetPropA(HWND hwnd, std::string_view name, std::uintptr_t data) = 0;
    virtual std::uintptr_t GetPropA(HWND hwnd, std::string_view name) = 0;
    virtual std::uintptr_t RemovePropA(HWND hwnd, std::string_view name) = 0;
};

}  // namespace win
