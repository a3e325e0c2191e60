#include "win/PropertyKey.h"

#include <cctype>

namespace win {

std::string PropertyKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

}  // namespace win
