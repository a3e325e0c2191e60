// The few notices the program leaves for the station's owner (never shown in the window): standard
// error by default; a host may send them elsewhere, e.g. to the debugger's output on Windows.
#pragma once

#include <string_view>

namespace relay {

class Log {
public:
    virtual ~Log() = default;
    // One line of text, UTF-8, without its line end.
    virtual void Line(std::string_view line) = 0;
};

class StandardErrorLog final : public Log {
public:
    void Line(std::string_view line) override;
};

}  // namespace relay
