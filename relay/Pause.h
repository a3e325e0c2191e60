// The one-second pause before a chat line is spoken, behind an interface so tests never sleep.
// ThreadPause is the real one; the fake advances a virtual clock.
#pragma once

#include <chrono>
#include <thread>

namespace relay {

class Pause {
public:
    virtual ~Pause() = default;
    // Blocks the calling thread for `duration`.
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

class ThreadPause final : public Pause {
public:
    void Sleep(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

}  // namespace relay
