#include <algorithm>
#include <array>

#include "forms/Description.h"

namespace forms {
namespace {

// Button is qkButtons_H; AnimatedPicture is the outside animated-picture control.
constexpr std::array<std::string_view, 12> kKinds = {"Form",     "Button", "Label",           "TextBox",
                                                     "Frame",    "Image",  "Line",            "AnimatedPicture",
                                                     "PictureBox", "Timer", "CheckBox",       "Shape"};

}  // namespace

bool IsKnownKind(std::string_view kind) { return std::find(kKinds.begin(), kKinds.end(), kind) != kKinds.end(); }

bool IsContainerKind(std::string_view kind) { return kind == "Frame" || kind == "PictureBox"; }

Geometry Control::Geom() const {
    return Geometry{Properties.ReadInt32("Left", 0), Properties.ReadInt32("Top", 0), Properties.ReadInt32("Width", 0),
                    Properties.ReadInt32("Height", 0)};
}

const Control* Control::FindByName(std::string_view name) const {
    if (KeyEquals(Name, name)) return this;
    for (const auto& c : Children) {
        if (const Control* found = c.FindByName(name)) return found;
    }
    return nullptr;
}

Control* Control::FindByName(std::string_view name) {
    return const_cast<Control*>(static_cast<const Control&>(*this).FindByName(name));
}

bool operator==(const Control& a, const Control& b) {
    return a.Kind == b.Kind && a.Name == b.Name && a.Properties == b.Properties && a.Children == b.Children;
}

}  // namespace forms
