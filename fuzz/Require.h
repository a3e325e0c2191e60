// The fuzzers' check: a broken rule names its line on standard error and aborts, so libFuzzer
// keeps the input and the report says which rule it broke.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz {

// The caller's line by the compiler built-in, as this clang's library has no std::source_location.
inline void Require(bool ok, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (!ok) {
        std::fprintf(stderr, "broken rule at %s:%d\n", file, line);
        std::abort();
    }
}

}  // namespace fuzz
