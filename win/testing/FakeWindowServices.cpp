#include "win/testing/FakeWindowServices.h"

#include <algorithm>
#include <limits>

namespace win {
namespace {

bool Contains(const gdi::RECT& r, gdi::POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

FakeWindowServices::Window* FakeWindowServices::Find(HWND hwnd) {
    for (auto& w : windows_)
        if (w.hwnd == hwnd) return &w;
    return nullptr;
}

const FakeWindowServices::Window* FakeWindowServices::Find(HWND hwnd) const {
    for (const auto& w : windows_)
        if (w.hwnd == hwnd) return &w;
    return nullptr;
}

HWND FakeWindowServices::CreateWindow(const gdi::RECT& screenRect, HWND parent) {
    HWND hwnd{nextHwnd_};
    nextHwnd_ += 4;
    windows_.push_back(Window{hwnd, parent, screenRect, {}});
    return hwnd;
}

void FakeWindowServices::DestroyWindow(HWND hwnd) {
    // Children go first, as the platform destroys them with their parent.
    std::vector<HWND> children;
    for (const auto& w : windows_)
        if (w.parent == hwnd) children.push_back(w.hwnd);
    for (HWND child : children) DestroyWindow(child);
    std::erase_if(timers_, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
    std::erase_if(windows_, [hwnd](const Window& w) { return w.hwnd == hwnd; });
    if (capture_ == hwnd) capture_ = HWND{};
}

void FakeWindowServices::MoveWindow(HWND hwnd, const gdi::RECT& screenRect) {
    if (Window* w = Find(hwnd)) w->rect = screenRect;
}

void FakeWindowServices::BringToTop(HWND hwnd) {
    auto it = std::find_if(windows_.begin(), windows_.end(), [hwnd](const Window& w) { return w.hwnd == hwnd; });
    if (it == windows_.end()) return;
    Window moved = std::move(*it);
    windows_.erase(it);
    windows_.push_back(std::move(moved));
}

bool FakeWindowServices::IsWindow(HWND hwnd) const { return Find(hwnd) != nullptr; }

void FakeWindowServices::AdvanceTime(std::uint32_t ms) {
    const std::uint32_t end = now_ + ms;
    for (;;) {
        // The earliest due timer; ties go to the one set first, as a message queue would order them.
        const Timer* next = nullptr;
        for (const auto& t : timers_)
            if (t.due <= end && (!next || t.due < next->due || (t.due == next->due && t.serial < next->serial)))
                next = &t;
        if (!next) break;
        now_ = next->due;
        const Timer fired = *next;
        for (auto& t : timers_)
            if (t.serial == fired.serial) t.due = now_ + std::max<std::uint32_t>(t.interval, 1);
        // The callback may kill or replace timers and destroy windows: it works on a copy.
        if (fired.proc) fired.proc(*this, fired.hwnd, WM_TIMER, fired.id, now_);
    }
    now_ = end;
}

bool FakeWindowServices::HasTimer(HWND hwnd, std::uintptr_t id) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

std::size_t FakeWindowServices::PropertyCount(HWND hwnd) const {
    const Window* w = Find(hwnd);
    return w ? w->props.Size() : 0;
}

HWND FakeWindowServices::SetCapture(HWND hwnd) {
    HWND previous = capture_;
    capture_ = IsWindow(hwnd) ? hwnd : HWND{};
    return previous;
}

bool FakeWindowServices::ReleaseCapture() {
    capture_ = HWND{};
    return true;
}

bool FakeWindowServices::PostMessageA(HWND hwnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!IsWindow(hwnd)) return false;
    posted_.push_back(PostedMessage{hwnd, message, wParam, lParam});
    return true;
}

bool FakeWindowServices::GetCursorPos(gdi::POINT* point) {
    ++queries_;
    if (!point) return false;
    *point = cursor_;
    return true;
}

bool FakeWindowServices::ScreenToClient(HWND hwnd, gdi::POINT* point) {
    const Window* w = Find(hwnd);
    if (!w || !point) return false;
    point->x -= w->rect.left;
    point->y -= w->rect.top;
    return true;
}

HWND FakeWindowServices::WindowFromPoint(gdi::POINT point) {
    ++queries_;
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (Contains(it->rect, point)) return it->hwnd;
    return HWND{};
}

std::uintptr_t FakeWindowServices::SetTimer(HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs, TIMERPROC proc) {
    if (!IsWindow(hwnd) || id == 0) return 0;
    KillTimer(hwnd, id);
    const std::uint32_t interval = std::max<std::uint32_t>(elapseMs, 1);
    timers_.push_back(Timer{hwnd, id, interval, now_ + interval, proc, nextSerial_++});
    return id;
}

bool FakeWindowServices::KillTimer(HWND hwnd, std::uintptr_t id) {
    return std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; }) > 0;
}

PropertyList* FakeWindowServices::PropertiesOf(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? &w->props : nullptr;
}

}  // namespace win
