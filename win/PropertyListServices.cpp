#include "win/PropertyListServices.h"

namespace win {

bool PropertyListServices::SetPropA(HWND hwnd, std::string_view name, std::uintptr_t data) {
    PropertyList* list = PropertiesOf(hwnd);
    if (!list || name.empty()) return false;
    list->Set(name, data);
    return true;
}

std::uintptr_t PropertyListServices::GetPropA(HWND hwnd, std::string_view name) {
    const PropertyList* list = PropertiesOf(hwnd);
    return list ? list->Get(name) : 0;
}

std::uintptr_t PropertyListServices::RemovePropA(HWND hwnd, std::string_view name) {
    PropertyList* list = PropertiesOf(hwnd);
    return list ? list->Remove(name) : 0;
}

}  // namespace win
