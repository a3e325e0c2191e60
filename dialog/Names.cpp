#include "dialog/Names.h"

#include <algorithm>
#include <cctype>

namespace dialog {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::size_t Names::Add(std::string_view name) {
    const auto [it, added] = byLower_.emplace(Lower(name), count_);
    if (added) ++count_;
    return it->second;
}

std::optional<std::size_t> Names::Find(std::string_view name) const {
    const auto it = byLower_.find(Lower(name));
    if (it == byLower_.end()) return std::nullopt;
    return it->second;
}

}  // namespace dialog
