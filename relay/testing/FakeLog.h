// The relay's notices written into the shared log as "Log('...')", in order with everything else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "relay/Log.h"
#include "relay/testing/EventLog.h"

namespace relay::fakes {

class FakeLog final : public Log {
public:
    explicit FakeLog(EventLog& log) : log_(log) {}
    void Line(std::string_view line) override {
        lines.emplace_back(line);
        log_.Add("Log('" + std::string(line) + "')");
    }
    std::vector<std::string> lines;

private:
    EventLog& log_;
};

}  // namespace relay::fakes
