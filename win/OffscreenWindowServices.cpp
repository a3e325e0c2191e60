#include "win/OffscreenWindowServices.h"

#include <algorithm>

namespace win {

HWND OffscreenWindowServices::CreateWindow() {
    const HWND hwnd(nextHwnd_++);
    windows_[hwnd.value];
    return hwnd;
}

void OffscreenWindowServices::DestroyWindow(HWND hwnd) {
    windows_.erase(hwnd.value);
    if (capture_ == hwnd) capture_ = HWND{};
}

OffscreenWindowServices::Window* OffscreenWindowServices::Find(HWND hwnd) {
    const auto it = windows_.find(hwnd.value);
    return it == windows_.end() ? nullptr : &it->second;
}

HWND OffscreenWindowServices::SetCapture(HWND hwnd) {
    const HWND previous = capture_;
    capture_ = Find(hwnd) ? hwnd : HWND{};
    return previous;
}

bool OffscreenWindowServices::ReleaseCapture() {
    capture_ = HWND{};
    return true;
}

bool OffscreenWindowServices::PostMessageA(HWND, std::uint32_t, std::uintptr_t, std::intptr_t) { return false; }

bool OffscreenWindowServices::GetCursorPos(gdi::POINT*) { return false; }

bool OffscreenWindowServices::ScreenToClient(HWND, gdi::POINT*) { return false; }

HWND OffscreenWindowServices::WindowFromPoint(gdi::POINT) { return HWND{}; }

std::uintptr_t OffscreenWindowServices::SetTimer(HWND hwnd, std::uintptr_t id, std::uint32_t, TIMERPROC) {
    Window* w = Find(hwnd);
    if (!w || id == 0) return 0;
    if (std::find(w->timers.begin(), w->timers.end(), id) == w->timers.end()) w->timers.push_back(id);
    return id;
}

bool OffscreenWindowServices::KillTimer(HWND hwnd, std::uintptr_t id) {
    Window* w = Find(hwnd);
    return w && std::erase(w->timers, id) > 0;
}

PropertyList* OffscreenWindowServices::PropertiesOf(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? &w->props : nullptr;
}

}  // namespace win
