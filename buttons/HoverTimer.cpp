#include "buttons/Input.h"

namespace buttons {

void ButtonInput::StartHover() {
    win::WindowServices& ws = control_.Windows();
    const win::HWND hwnd = control_.Host().hWnd();
    // The callback finds this object again through the window; no reference is taken.
    ws.SetPropA(hwnd, modQkTimer::ClassIdProperty, reinterpret_cast<std::uintptr_t>(this));
    ws.SetPropA(hwnd, modQkTimer::TimerIdProperty, HoverTimerId);
    ws.SetTimer(hwnd, HoverTimerId, HoverIntervalMs, modQkTimer::TimerProc);
    control_.State().Input.HoverLit = true;
}

void ButtonInput::HoverTick(std::uintptr_t timerId) {
    win::WindowServices& ws = control_.Windows();
    const win::HWND hwnd = control_.Host().hWnd();
    gdi::POINT cursor{};
    ws.GetCursorPos(&cursor);
    if (ws.WindowFromPoint(cursor) == hwnd) return;

    ButtonState& s = control_.State();
    ws.KillTimer(hwnd, timerId);
    s.Input.StateFlags = static_cast<std::uint8_t>(s.Input.StateFlags & ~MouseOver);
    s.Input.HoverLit = false;
    s.Input.DelayFlag = false;
    const Alive alive = Watch();
    if (ButtonEvents* l = control_.Listener()) {
        bool onButton = false;
        l->MouseOnButton(onButton);
        if (alive.expired()) return;
    }
    // HeldDown stays: a left button still held brings the pressed look back when the pointer returns.
    s.Input.ButtonDown = false;
    control_.Refresh();
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
