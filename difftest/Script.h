// Drawing scripts: a line-per-call text format of GDI calls, shared by our replayer and Wine's.
// Owns only the parsed commands; it knows nothing of either drawing layer, so both sides compile it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace difftest {

// One call. Arguments keep the order of the line; each is an integer, a name or a quoted text.
struct Argument {
    enum class Kind { Integer, Name, Text };
    Kind kind = Kind::Integer;
    std::int64_t integer = 0;
    std::string text;  // the name or the text
};

struct Command {
    int line = 0;
    std::string op;
    std::vector<Argument> args;

    std::int32_t Int(std::size_t i) const { return static_cast<std::int32_t>(args.at(i).integer); }
    const std::string& Str(std::size_t i) const { return args.at(i).text; }
};

// How a script's result is judged against Wine's.
enum class Expectation {
    Match,       // pixel for pixel and record for record
    Deliberate,  // we differ on purpose; the reason says why
    KnownBug,    // a fault of ours not mended yet; the reason names it
};

struct Script {
    std::string name;
    std::vector<Command> commands;
    Expectation expectation = Expectation::Match;
    std::string reason;
    // A marked script records how far it differs today (pixels, records); more is a failure.
    int allowedPixels = 0;
    int allowedRecords = 0;
};

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws ScriptError naming the line for an unknown call, a bad argument or a wrong count.
Script ParseScript(std::string_view text, std::string name);
Script LoadScript(const std::string& path);

// The value of a symbolic constant (SRCCOPY, DT_CALCRECT, RGN_DIFF, ...) or of an
// OR of them joined by '|'; false when a part is unknown.
bool ResolveConstant(std::string_view word, std::int64_t& value);

}  // namespace difftest
