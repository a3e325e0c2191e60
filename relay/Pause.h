// The one-second pause before a chat line is spoken and the monotonic clock the transmit time-out
// is measured on, behind one interface so tests never sleep. ThreadPause is the real one.
#pragma once

#include <chrono>
#include <thread>

namespace relay {

// Milliseconds of the steady clock: the relay's time in the real program, on every thread.
inline std::chrono::milliseconds SteadyNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

class Pause {
public:
    virtual ~Pause() = default;
    // Blocks the calling thread for `duration`.
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
    // Time on a clock that never goes back; only differences mean anything.
    virtual std::chrono::milliseconds Now() { return SteadyNow(); }
};

class ThreadPause final : public Pause {
public:
    void Sleep(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

}  // namespace relay
