#include "forms/FormatError.h"

namespace forms {
namespace {

std::string Describe(const std::string& file, int line, const std::string& key, const std::string& what) {
    // Built by appending: GCC 12 at -O3 reports a false -Wrestrict on chained operator+ here.
    std::string text = file.empty() ? std::string("<description>") : file;
    if (line > 0) {
        text.append(":");
        text.append(std::to_string(line));
    }
    text.append(": ");
    if (!key.empty()) {
        text.append("key '");
        text.append(key);
        text.append("': ");
    }
    text.append(what);
    return text;
}

}  // namespace

FormatError::FormatError(std::string file, int line, std::string key, const std::string& what)
    : std::runtime_error(Describe(file, line, key, what)),
      file_(std::move(file)),
      line_(line),
      key_(std::move(key)),
      reason_(what) {}

}  // namespace forms
