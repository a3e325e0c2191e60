// Hears that Windows is ending the session even while the window's thread is held (by speech, by
// EchoLink): a hidden top-level window on a thread of its own. Owns that thread and its window.
#pragma once

#include <functional>
#include <memory>

namespace hosts::win32 {

class SessionWatch {
public:
    // `ending` runs on the watch's thread when the session may end (WM_QUERYENDSESSION) and
    // again when it does (WM_ENDSESSION); it must be thread-safe and bounded. Windows waits for it.
    explicit SessionWatch(std::function<void()> ending);
    // Closes the window and ends the thread, waiting for an `ending` under way.
    ~SessionWatch();
    SessionWatch(const SessionWatch&) = delete;
    SessionWatch& operator=(const SessionWatch&) = delete;

    // The watch's window class, for tests that play Windows' part.
    static constexpr wchar_t kWindowClass[] = L"DizoChatSessionWatch";

    struct Shared;  // the callback and the window, in the .cpp

private:
    std::shared_ptr<Shared> shared_;
    void* thread_ = nullptr;
};

}  // namespace hosts::win32
