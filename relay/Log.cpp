#include "relay/Log.h"

#include <cstdio>
#include <string>

namespace relay {

void StandardErrorLog::Line(std::string_view line) {
    // One write per line, so lines from other threads never interleave inside it.
    std::string text(line);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace relay
