#include "hosts/win32/Win32WindowServices.h"

#include <string>

#include <windows.h>

namespace hosts::win32 {

namespace {

// The property that leads the platform's timer callback back to the services that set it.
constexpr char ServicesProperty[] = "dizo_WindowServices";

::HWND Native(win::HWND h) { return reinterpret_cast<::HWND>(h.value); }
win::HWND Ours(::HWND h) { return win::HWND(reinterpret_cast<std::uintptr_t>(h)); }

void CALLBACK TimerThunk(::HWND hwnd, UINT message, UINT_PTR id, DWORD time) {
    auto* services = reinterpret_cast<Win32WindowServices*>(::GetPropA(hwnd, ServicesProperty));
    if (services == nullptr) return;
    if (const win::TIMERPROC proc = services->TimerCallback(Ours(hwnd), id)) {
        proc(*services, Ours(hwnd), message, id, time);
    }
}

}  // namespace

Win32WindowServices::~Win32WindowServices() {
    for (const auto& [key, proc] : timers_) ::KillTimer(Native(win::HWND(key.first)), key.second);
}

win::HWND Win32WindowServices::SetCapture(win::HWND hwnd) { return Ours(::SetCapture(Native(hwnd))); }

bool Win32WindowServices::ReleaseCapture() { return ::ReleaseCapture() != FALSE; }

bool Win32WindowServices::PostMessageA(win::HWND hwnd, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    return ::PostMessageA(Native(hwnd), message, wParam, lParam) != FALSE;
}

bool Win32WindowServices::GetCursorPos(gdi::POINT* point) {
    ::POINT p{};
    if (point == nullptr || !::GetCursorPos(&p)) return false;
    point->x = p.x;
    point->y = p.y;
    return true;
}

bool Win32WindowServices::ScreenToClient(win::HWND hwnd, gdi::POINT* point) {
    if (point == nullptr) return false;
    ::POINT p{point->x, point->y};
    if (!::ScreenToClient(Native(hwnd), &p)) return false;
    point->x = p.x;
    point->y = p.y;
    return true;
}

win::HWND Win32WindowServices::WindowFromPoint(gdi::POINT point) {
    return Ours(::WindowFromPoint(::POINT{point.x, point.y}));
}

std::uintptr_t Win32WindowServices::SetTimer(win::HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                                             win::TIMERPROC proc) {
    if (proc == nullptr || !::IsWindow(Native(hwnd))) return 0;
    ::SetPropA(Native(hwnd), ServicesProperty, reinterpret_cast<HANDLE>(this));
    const UINT_PTR got = ::SetTimer(Native(hwnd), id, elapseMs, &TimerThunk);
    if (got == 0) return 0;
    timers_[{hwnd.value, got}] = proc;
    return got;
}

bool Win32WindowServices::KillTimer(win::HWND hwnd, std::uintptr_t id) {
    timers_.erase({hwnd.value, id});
    return ::KillTimer(Native(hwnd), id) != FALSE;
}

bool Win32WindowServices::SetPropA(win::HWND hwnd, std::string_view name, std::uintptr_t data) {
    return ::SetPropA(Native(hwnd), std::string(name).c_str(), reinterpret_cast<HANDLE>(data)) != FALSE;
}

std::uintptr_t Win32WindowServices::GetPropA(win::HWND hwnd, std::string_view name) {
    return reinterpret_cast<std::uintptr_t>(::GetPropA(Native(hwnd), std::string(name).c_str()));
}

std::uintptr_t Win32WindowServices::RemovePropA(win::HWND hwnd, std::string_view name) {
    return reinterpret_cast<std::uintptr_t>(::RemovePropA(Native(hwnd), std::string(name).c_str()));
}

void Win32WindowServices::ForgetWindow(win::HWND hwnd) {
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first == hwnd.value) {
            ::KillTimer(Native(hwnd), it->first.second);
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
    ::RemovePropA(Native(hwnd), ServicesProperty);
}

win::TIMERPROC Win32WindowServices::TimerCallback(win::HWND hwnd, std::uintptr_t id) const {
    const auto it = timers_.find({hwnd.value, id});
    return it == timers_.end() ? nullptr : it->second;
}

}  // namespace hosts::win32
