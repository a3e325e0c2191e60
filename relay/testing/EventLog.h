// One log that every relay fake writes to, with a virtual clock, so a test can check the order
// and timing of EchoLink calls, pauses and speech together. Owned by the test.
#pragma once

#include <chrono>
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

    bool enabled = true;  // benchmarks turn it off
    std::chrono::milliseconds now{0};
    std::vector<LogEntry> entries;
};

}  // namespace relay::fakes
