// The window services the button control calls, over the platform's own: capture, posted
// messages, the cursor, timers and named window properties. Owns the table of timer callbacks;
// windows, their timers and their properties belong to the platform.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "win/WindowServices.h"

namespace hosts::win32 {

class Win32WindowServices final : public win::WindowServices {
public:
    Win32WindowServices() = default;
    Win32WindowServices(const Win32WindowServices&) = delete;
    Win32WindowServices& operator=(const Win32WindowServices&) = delete;
    ~Win32WindowServices() override;

    win::HWND SetCapture(win::HWND hwnd) override;
    bool ReleaseCapture() override;
    bool PostMessageA(win::HWND hwnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool GetCursorPos(gdi::POINT* point) override;
    bool ScreenToClient(win::HWND hwnd, gdi::POINT* point) override;
    win::HWND WindowFromPoint(gdi::POINT point) override;
    // The platform's timer with a callback of its own calling convention, which finds `proc`
    // and these services again through a property of the window.
    std::uintptr_t SetTimer(win::HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs, win::TIMERPROC proc) override;
    bool KillTimer(win::HWND hwnd, std::uintptr_t id) override;
    bool SetPropA(win::HWND hwnd, std::string_view name, std::uintptr_t data) override;
    std::uintptr_t GetPropA(win::HWND hwnd, std::string_view name) override;
    std::uintptr_t RemovePropA(win::HWND hwnd, std::string_view name) override;

    // A window being destroyed: its timers end with it; their callbacks are forgotten here.
    void ForgetWindow(win::HWND hwnd);
    // The callback of a running timer, null when there is none (for the platform's callback).
    win::TIMERPROC TimerCallback(win::HWND hwnd, std::uintptr_t id) const;
    std::size_t TimerCount() const { return timers_.size(); }

private:
    std::map<std::pair<std::uintptr_t, std::uintptr_t>, win::TIMERPROC> timers_;
};

}  // namespace hosts::win32
