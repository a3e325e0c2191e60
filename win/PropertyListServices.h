// Window services whose windows each keep their named properties in a PropertyList: the three
// property calls written once over the list the service finds for a window. Owns no windows.
#pragma once

#include <cstdint>
#include <string_view>

#include "win/PropertyList.h"
#include "win/WindowServices.h"

namespace win {

class PropertyListServices : public WindowServices {
public:
    // An unknown window is refused, as the platform refuses it; so is an empty name, which the
    // control never uses (Wine takes one).
    bool SetPropA(HWND hwnd, std::string_view name, std::uintptr_t data) final;
    std::uintptr_t GetPropA(HWND hwnd, std::string_view name) final;
    std::uintptr_t RemovePropA(HWND hwnd, std::string_view name) final;

protected:
    // The window's list; null when there is no such window.
    virtual PropertyList* PropertiesOf(HWND hwnd) = 0;
};

}  // namespace win
