// One window's named properties: names compare without regard to case, as the platform's atoms
// do, and a property holds a pointer-sized value, 0 when absent. Shared by the implementations of
// the window services; owns the values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace win {

class PropertyList {
public:
    void Set(std::string_view name, std::uintptr_t data);
    std::uintptr_t Get(std::string_view name) const;
    // The value removed; 0 when there was none.
    std::uintptr_t Remove(std::string_view name);
    std::size_t Size() const { return values_.size(); }

private:
    std::map<std::string, std::uintptr_t> values_;  // names folded to upper case
};

}  // namespace win
