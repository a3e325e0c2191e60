// One log that every relay fake writes to, with a virtual clock, so a test can check the order
// and timing of EchoLink calls, pauses and speech together. Owned by the test.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace relay::fakes {

struct LogEntry {
    std::chrono::milliseconds at{0};
    std::string what;
};

class EventLog {
public:
    void Add(std::string what) {
        if (enabled) {
            entries.push_back({now, std::move(what)});
        }
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const LogEntry& e : entries) {
            out.push_back(e.what);
        }
        return out;
    }
    void Clear() { entries.clear(); }

    // Moves the virtual clock on by `d`; an alarm due within that time fires at its own moment,
    // as a thread of its own would while the caller is held.
    void Advance(std::chrono::milliseconds d) {
        const std::chrono::milliseconds target = now + d;
        while (alarm && alarmAt <= target) {
            now = std::max(now, alarmAt);
            std::function<void()> due = std::move(alarm);
            alarm = nullptr;
            due();
        }
        now = std::max(now, target);
    }

    bool enabled = true;  // benchmarks turn it off
    std::chrono::milliseconds now{0};
    std::vector<LogEntry> entries;
    // The one alarm of a virtual guard timer; fired by Advance.
    std::function<void()> alarm;
    std::chrono::milliseconds alarmAt{0};
};

}  // namespace relay::fakes
