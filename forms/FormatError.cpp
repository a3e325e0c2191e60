#include "forms/FormatError.h"

namespace forms {
namespace {

std::string Describe(const std::string& file, int line, const std::string& key, const std::string& what) {
    std::string text = file.empty() ? std::string("<description>") : file;
    if (line > 0) text += ":" + std::to_string(line);
    text += ": ";
    if (!key.empty()) text += "key '" + key + "': ";
    return text + what;
}

}  // namespace

FormatError::FormatError(std::string file, int line, std::string key, const std::string& what)
    : std::runtime_error(Describe(file, line, key, what)),
      file_(std::move(file)),
      line_(line),
      key_(std::move(key)),
      reason_(what) {}

}  // namespace forms
