// The controls of one window by name, found without regard to case as the stored descriptions
// name them. Owns the names only; hosts keep their widgets in the same order.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dialog {

class Names {
public:
    // The index of the name just added (0, 1, ... in the order of adding); a name given again
    // keeps its first index, since a window's controls are unique by name.
    std::size_t Add(std::string_view name);
    std::optional<std::size_t> Find(std::string_view name) const;
    std::size_t Size() const { return count_; }

private:
    std::unordered_map<std::string, std::size_t> byLower_;
    std::size_t count_ = 0;
};

std::string Lower(std::string_view s);

}  // namespace dialog
