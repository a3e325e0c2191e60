#include "dialog/Accessible.h"

namespace dialog {

Role RoleOf(forms::ControlKind kind) {
    switch (kind) {
    case forms::ControlKind::Button: return Role::Button;
    case forms::ControlKind::TextBox: return Role::TextBox;
    case forms::ControlKind::Label: return Role::Label;
    case forms::ControlKind::Frame:
    case forms::ControlKind::PictureBox: return Role::Grouping;
    case forms::ControlKind::Image: return Role::Picture;
    case forms::ControlKind::AnimatedPicture: return Role::Animation;
    case forms::ControlKind::Line: return Role::Separator;
    }
    return Role::Label;
}

std::string SpokenCaption(std::string_view caption) {
    std::string spoken;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') spoken += caption[++i];
            continue;
        }
        if (caption[i] == '|' && i + 1 < caption.size() && caption[i + 1] == '|') {
            spoken += ' ';
            ++i;
            continue;
        }
        spoken += caption[i];
    }
    const auto first = spoken.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return spoken.substr(first, spoken.find_last_not_of(' ') - first + 1);
}

}  // namespace dialog
