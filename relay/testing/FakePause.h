// A pause that never sleeps: it records the wait and moves the shared virtual clock on, which is
// also the relay's clock.
#pragma once

#include <chrono>
#include <string>

#include "relay/Pause.h"
#include "relay/testing/EventLog.h"

namespace relay::fakes {

class FakePause final : public Pause {
public:
    explicit FakePause(EventLog& log) : log_(log) {}
    void Sleep(std::chrono::milliseconds duration) override {
        log_.Add("Sleep(" + std::to_string(duration.count()) + ")");
        log_.Advance(duration);
    }
    std::chrono::milliseconds Now() override { return log_.now; }

private:
    EventLog& log_;
};

}  // namespace relay::fakes
