#include "buttons/Input.h"

namespace buttons {

void ButtonInput::StartHover() {
    win::WindowServices& ws = control_.Windows();
    const win::HWND hwnd = control_.Host().hWnd();
    // The callback finds this object again through the window; no reference is taken.
    ws.SetPropA(hwnd, modQkTimer::ClassIdProperty, reinterpret_cast<std::uintptr_t>(this));
    ws.SetPropA(hwnd, modQkTimer::TimerIdProperty, HoverTimerId);
    ws.SetTimer(hwnd, HoverTimerId, HoverIntervalMs, modQkTimer::TimerProc);
}

void ButtonInput::HoverTick(std::uintptr_t timerId) {
    win::WindowServices& ws = control_.Windows();
    gdi::POINT cursor{};
    ws.GetCursorPos(&cursor);
    input::Notification n;
    n.kind = input::Kind::HoverTick;
    n.flag = ws.WindowFromPoint(cursor) == control_.Host().hWnd();
    n.timer = timerId;
    Run(n, {});
}

namespace modQkTimer {

void TimerProc(win::WindowServices& services, win::HWND hwnd, std::uint32_t, std::uintptr_t, std::uint32_t) {
    const std::uintptr_t object = services.GetPropA(hwnd, ClassIdProperty);
    if (object == 0) return;
    const std::uintptr_t timerId = services.GetPropA(hwnd, TimerIdProperty);
    reinterpret_cast<ButtonInput*>(object)->HoverTick(timerId);
}

}  // namespace modQkTimer
}  // namespace buttons
