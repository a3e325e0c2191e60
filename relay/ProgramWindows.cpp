#include "relay/ProgramWindows.h"

namespace relay {

bool ProgramWindows::Visible(Control control) const {
    const NamedControls* main = MainControls();
    return main != nullptr && main->Visible(ControlName(control));
}

void ProgramWindows::SetVisible(Control control, bool visible) {
    if (NamedControls* main = MainControls()) main->SetVisible(ControlName(control), visible);
}

std::string ProgramWindows::Text(Control control) const {
    const NamedControls* main = MainControls();
    return main != nullptr ? main->Text(ControlName(control)) : std::string();
}

void ProgramWindows::SetText(Control control, const std::string& text) {
    if (NamedControls* main = MainControls()) main->SetText(ControlName(control), text);
}

bool ProgramWindows::SetFocus(Control control) {
    NamedControls* main = MainControls();
    return main != nullptr && main->SetFocus(ControlName(control));
}

bool ProgramWindows::SetWidth(int twips) {
    NamedControls* main = MainControls();
    return main != nullptr && main->SetOuterWidth(twips);
}

bool ProgramWindows::SetHeight(int twips) {
    NamedControls* main = MainControls();
    return main != nullptr && main->SetOuterHeight(twips);
}

}  // namespace relay
