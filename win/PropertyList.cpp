#include "win/PropertyList.h"

#include <cctype>

namespace win {
namespace {

std::string Key(std::string_view name) {
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

}  // namespace

void PropertyList::Set(std::string_view name, std::uintptr_t data) { values_[Key(name)] = data; }

std::uintptr_t PropertyList::Get(std::string_view name) const {
    const auto it = values_.find(Key(name));
    return it == values_.end() ? 0 : it->second;
}

std::uintptr_t PropertyList::Remove(std::string_view name) {
    const auto it = values_.find(Key(name));
    if (it == values_.end()) return 0;
    const std::uintptr_t value = it->second;
    values_.erase(it);
    return value;
}

}  // namespace win
