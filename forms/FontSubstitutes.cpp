#include "forms/FontSubstitutes.h"

#include "forms/PropertyBag.h"

namespace forms {

namespace {

// fontconfig's own fallback for "MS Sans Serif" would be the much wider DejaVu Sans.
constexpr FontSubstitute Table[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
};

}  // namespace

std::span<const FontSubstitute> FontSubstitutes() { return Table; }

std::string_view SubstituteFor(std::string_view family) {
    for (const FontSubstitute& s : Table) {
        if (KeyEquals(s.Family, family)) return s.Substitute;
    }
    return family;
}

}  // namespace forms
