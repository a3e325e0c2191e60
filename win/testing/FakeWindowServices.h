// A deterministic window system for tests: a virtual clock, a virtual cursor and a stack of
// windows. Owns its windows, their properties and timers; time moves only through AdvanceTime.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "win/PropertyListServices.h"

namespace win {

class FakeWindowServices : public PropertyListServices {
public:
    struct PostedMessage {
        HWND hwnd;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        friend bool operator==(const PostedMessage&, const PostedMessage&) = default;
    };

    // Windows are stacked in creation order (the newest on top); rect is in screen pixels.
    HWND CreateWindow(const gdi::RECT& screenRect, HWND parent = HWND{});
    // Removes the window with its children, properties and timers.
    void DestroyWindow(HWND hwnd);
    void MoveWindow(HWND hwnd, const gdi::RECT& screenRect);
    void BringToTop(HWND hwnd);
    bool IsWindow(HWND hwnd) const;

    void SetCursor(gdi::POINT screen) { cursor_ = screen; }
    // Runs every timer that falls due, in time order, and leaves the clock at now + ms.
    void AdvanceTime(std::uint32_t ms);
    std::uint32_t Now() const { return now_; }

    HWND Capture() const { return capture_; }
    const std::vector<PostedMessage>& Posted() const { return posted_; }
    bool HasTimer(HWND hwnd, std::uintptr_t id) const;
    std::size_t TimerCount() const { return timers_.size(); }
    std::size_t PropertyCount(HWND hwnd) const;
    // Counts cursor and window queries, so tests can see what a tick costs.
    std::uint64_t Queries() const { return queries_; }

    HWND SetCapture(HWND hwnd) override;
    bool ReleaseCapture() override;
    bool PostMessageA(HWND hwnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool GetCursorPos(gdi::POINT* point) override;
    bool ScreenToClient(HWND hwnd, gdi::POINT* point) override;
    HWND WindowFromPoint(gdi::POINT point) override;
    std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs, TIMERPROC proc) override;
    bool KillTimer(HWND hwnd, std::uintptr_t id) override;

private:
    PropertyList* PropertiesOf(HWND hwnd) override;

    struct Window {
        HWND hwnd;
        HWND parent;
        gdi::RECT rect;
        PropertyList props;
    };
    struct Timer {
        HWND hwnd;
        std::uintptr_t id;
        std::uint32_t interval;
        std::uint32_t due;
        TIMERPROC proc;
        std::uint64_t serial;  // identifies this setting of the timer across a replacement
    };
    Window* Find(HWND hwnd);
    const Window* Find(HWND hwnd) const;

    std::vector<Window> windows_;  // bottom to top
    std::vector<Timer> timers_;
    std::vector<PostedMessage> posted_;
    std::uintptr_t nextHwnd_ = 0x1000;
    std::uint64_t nextSerial_ = 1;
    std::uint32_t now_ = 0;
    gdi::POINT cursor_{};
    HWND capture_{};
    std::uint64_t queries_ = 0;
};

}  // namespace win
