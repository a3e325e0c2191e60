#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "relay/QueuedLog.h"

namespace relay {
namespace {

// An output that blocks until released, as a terminal paused with Ctrl-S or a full pipe.
struct Gate {
    std::mutex m;
    std::condition_variable cv;
    bool open = false;
    bool entered = false;  // the writer is inside the output
    std::vector<std::string> written;
};

class GatedLog final : public Log {
public:
    explicit GatedLog(Gate& gate) : gate_(gate) {}
    void Line(std::string_view line) override {
        std::unique_lock lock(gate_.m);
        gate_.entered = true;
        gate_.cv.notify_all();
        gate_.cv.wait(lock, [this] { return gate_.open; });
        gate_.written.emplace_back(line);
        gate_.cv.notify_all();
    }

private:
    Gate& gate_;
};

// The caller never waits on a blocked output; what does not fit is dropped and counted.
TEST(QueuedLog, ABlockedOutputNeverHoldsTheCaller) {
    Gate gate;
    {
        QueuedLog log(std::make_unique<GatedLog>(gate), 4);
        log.Line("line 0");
        {
            std::unique_lock lock(gate.m);
            gate.cv.wait(lock, [&] { return gate.entered; });
        }
        for (int i = 1; i < 10; ++i) log.Line("line " + std::to_string(i));  // returns with the output shut
        {
            std::lock_guard lock(gate.m);
            gate.open = true;
        }
        gate.cv.notify_all();
        {
            std::unique_lock lock(gate.m);
            gate.cv.wait(lock, [&] { return gate.written.size() == 5; });  // what was queued is out
        }
        log.Line("after");
        std::unique_lock lock(gate.m);
        gate.cv.wait(lock, [&] { return !gate.written.empty() && gate.written.back() == "after"; });
    }
    // The writer held line 0; four waited; five were dropped and told before the next line.
    const std::vector<std::string> expected = {"line 0", "line 1", "line 2", "line 3", "line 4",
                                               "Dizo chat: 5 notice(s) dropped: the log's output was blocked",
                                               "after"};
    EXPECT_EQ(gate.written, expected);
}

}  // namespace
}  // namespace relay
