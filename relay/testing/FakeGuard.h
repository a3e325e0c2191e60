// The transmit guard's outside world for tests: a timer on the shared log's virtual clock, and the
// host's own unkeying and audio stop recorded in that log as "Guard: ...". Owned by the test.
#pragma once

#include <chrono>
#include <functional>
#include <utility>

#include "echolink/HResult.h"
#include "relay/TransmitGuard.h"
#include "relay/testing/EventLog.h"

namespace relay::fakes {

// The alarm lives in the log, so every fake that lets virtual time pass fires it at its moment.
class FakeGuardTimer final : public GuardTimer {
public:
    explicit FakeGuardTimer(EventLog& log) : log_(log) {}
    std::chrono::milliseconds Now() override { return log_.now; }
    void Set(std::chrono::milliseconds deadline, std::function<void()> due) override {
        log_.alarmAt = deadline;
        log_.alarm = std::move(due);
    }
    void Cancel() override { log_.alarm = nullptr; }

private:
    EventLog& log_;
};

class FakeGuardPath {
public:
    explicit FakeGuardPath(EventLog& log) : log_(log) {}

    GuardActions Actions(Log* notices) {
        return GuardActions{[this] {
                                log_.Add("Guard: SetTransmit(False)");
                                ++unkeys;
                                if (onUnkey) onUnkey();
                                return unkeyResult;
                            },
                            [this] {
                                log_.Add("Guard: StopAudio");
                                ++audioStops;
                            },
                            notices};
    }

    echolink::HResult unkeyResult = echolink::kOk;
    std::function<void()> onUnkey;  // e.g. the station's record of its state
    int unkeys = 0;
    int audioStops = 0;

private:
    EventLog& log_;
};

}  // namespace relay::fakes
