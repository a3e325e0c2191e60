// The window services of a program without a screen (the render tool): windows are handles that
// carry properties and timers, there is no pointer and no message loop. Owns its windows' state.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "win/PropertyListServices.h"

namespace win {

class OffscreenWindowServices final : public PropertyListServices {
public:
    HWND CreateWindow();
    // Forgets the window's properties and timers.
    void DestroyWindow(HWND hwnd);

    HWND SetCapture(HWND hwnd) override;
    bool ReleaseCapture() override;
    // No message loop: nothing is ever delivered, so posting fails.
    bool PostMessageA(HWND hwnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    // No pointer: its position is unknown and no window is under it.
    bool GetCursorPos(gdi::POINT* point) override;
    bool ScreenToClient(HWND hwnd, gdi::POINT* point) override;
    HWND WindowFromPoint(gdi::POINT point) override;
    // Timers are kept (and replaced, and killed) but never run.
    std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs, TIMERPROC proc) override;
    bool KillTimer(HWND hwnd, std::uintptr_t id) override;

private:
    PropertyList* PropertiesOf(HWND hwnd) override;

    struct Window {
        PropertyList props;
        std::vector<std::uintptr_t> timers;
    };
    Window* Find(HWND hwnd);

    std::map<std::uintptr_t, Window> windows_;
    std::uintptr_t nextHwnd_ = 0x1000;
    HWND capture_{};
};

}  // namespace win
