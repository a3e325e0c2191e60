#include "buttons/Input.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "buttons/Colors.h"
#include "buttons/OptionGroup.h"

namespace buttons {
namespace {

bool Has(const ButtonState& s, std::uint8_t flag) { return (s.Input.StateFlags & flag) != 0; }
void Set(ButtonState& s, std::uint8_t flag) { s.Input.StateFlags = static_cast<std::uint8_t>(s.Input.StateFlags | flag); }
void Clear(ButtonState& s, std::uint8_t flag) { s.Input.StateFlags = static_cast<std::uint8_t>(s.Input.StateFlags & ~flag); }

constexpr std::int32_t Command = ToInt(ButtonMode::ModeCommand);
constexpr std::int32_t Option = ToInt(ButtonMode::ModeOption);

bool IsArrow(std::int16_t key) { return key >= win::VK_LEFT && key <= win::VK_DOWN; }

// lParam of the forwarded key-down: repeat count 1, scan code in bits 16 to 23.
std::intptr_t ArrowKeyLParam(std::int16_t key) {
    switch (key) {
        case win::VK_LEFT: return 0x004B0001;
        case win::VK_UP: return 0x00480001;
        case win::VK_RIGHT: return 0x004D0001;
        default: return 0x00500001;
    }
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

ButtonInput::~ButtonInput() { Teardown(); }

void ButtonInput::Teardown() {
    if (tornDown_) return;
    tornDown_ = true;
    ButtonState& s = control_.State();
    if (s.Input.HoverLit) {
        control_.Windows().KillTimer(control_.Host().hWnd(), HoverTimerId);
        s.Input.HoverLit = false;
    }
    // A destroyed member must not stay in its group, whatever its mode was when it joined.
    for (int guard = 0; guard < 0x7FFF; ++guard) {
        const win::HWND container = ContainerWindow(control_);
        const std::uintptr_t before = control_.Windows().GetPropA(container, OptCountProperty);
        if (before == 0) break;
        OptionToggle(control_, OptionAction::Leave);
        if (control_.Windows().GetPropA(container, OptCountProperty) == before) break;
    }
}

void ButtonInput::MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    ButtonState& s = control_.State();
    s.Input.LastButton = button;
    s.Input.DoubleClickPress = false;
    if (button == LeftButton) {
        Set(s, HeldDown);
        s.Input.ButtonDown = true;
        s.Input.DelayFlag = false;
        control_.Refresh();
        control_.Windows().SetCapture(control_.Host().hWnd());
    }
    if (ButtonEvents* l = control_.Listener()) l->MouseDown(button, shift, x, y);
}

void ButtonInput::MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    ButtonState& s = control_.State();
    ButtonHost& host = control_.Host();
    const bool outside = x < 0 || y < 0 || x > host.ScaleWidth() || y > host.ScaleHeight();
    if (!s.Input.HoverLit && !outside) {
        // The pointer has just come onto the button.
        Set(s, MouseOver);
        const Alive alive = Watch();
        if (ButtonEvents* l = control_.Listener()) {
            bool onButton = true;
            l->MouseOnButton(onButton);
            if (alive.expired()) return;
        }
        StartHover();
        s.Input.DelayFlag = false;
        if (button == LeftButton) s.Input.ButtonDown = true;
        control_.Refresh();
    }
    if (ButtonEvents* l = control_.Listener()) l->MouseMove(button, shift, x, y);
}

void ButtonInput::MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    ButtonState& s = control_.State();
    s.Input.ButtonDown = false;
    if (button == LeftButton) {
        control_.Windows().ReleaseCapture();
        Clear(s, HeldDown);
        s.Input.DelayFlag = false;
        // A check or option button is redrawn by the Value change of the click that follows.
        if (s.Props.Mode == Command) control_.Refresh();
    }
    const Alive alive = Watch();
    if (ButtonEvents* l = control_.Listener()) l->MouseUp(button, shift, x, y);
    if (alive.expired()) return;
    // The release that ends a double click is no click of its own: the host's Click that follows
    // every release finds no left button and does nothing.
    const bool endsDoubleClick = s.Input.DoubleClickPress && button == LeftButton;
    s.Input.DoubleClickPress = false;
    s.Input.LastButton = endsDoubleClick ? std::int16_t{-1} : button;
}

void ButtonInput::Click() {
    ButtonState& s = control_.State();
    if (s.Input.LastButton != LeftButton) return;
    if (s.Props.Mode != Command) {
        if (s.Props.Mode == Option && control_.GetValue()) return;
        const Alive alive = Watch();
        control_.SetValue(!control_.GetValue());
        if (alive.expired()) return;
    }
    if (ButtonEvents* l = control_.Listener()) l->Click();
}

void ButtonInput::DblClick() {
    ButtonState& s = control_.State();
    gdi::POINT p{};
    control_.Windows().GetCursorPos(&p);
    control_.Windows().ScreenToClient(control_.Host().hWnd(), &p);
    float x = static_cast<float>(p.x);
    float y = static_cast<float>(p.y);
    const Alive alive = Watch();
    std::int16_t button = s.Input.LastButton;
    if (ButtonEvents* l = control_.Listener()) {
        l->DoubleClick(button);
        if (alive.expired()) return;
    }
    if (s.Input.LastButton == LeftButton) {
        std::int16_t left = LeftButton;
        std::int16_t shift = 0;
        MouseDown(left, shift, x, y);
        if (alive.expired()) return;
        s.Input.LastButton = -1;
        s.Input.DoubleClickPress = true;
    } else {
        std::int16_t shift = 0;
        std::int16_t last = s.Input.LastButton;
        if (ButtonEvents* l = control_.Listener()) l->MouseDown(last, shift, x, y);
    }
}

void ButtonInput::KeyDown(std::int16_t& keyCode, std::int16_t& shift) {
    ButtonState& s = control_.State();
    if (IsArrow(keyCode)) {
        const std::int16_t key = keyCode;
        keyCode = 0;
        control_.Windows().PostMessageA(ContainerWindow(control_), win::WM_KEYDOWN, static_cast<std::uintptr_t>(key),
                                        ArrowKeyLParam(key));
    }
    if (keyCode == win::VK_SPACE && !Has(s, HeldDown)) {
        Set(s, MouseOver);
        Set(s, HeldDown);
        s.Input.ButtonDown = true;
        control_.Refresh();
        if (!s.Input.HoverLit) Clear(s, MouseOver);
    }
    if (keyCode != 0)
        if (ButtonEvents* l = control_.Listener()) l->KeyDown(keyCode, shift);
}

void ButtonInput::KeyPress(std::int16_t& keyAscii) {
    if (ButtonEvents* l = control_.Listener()) l->KeyPress(keyAscii);
}

void ButtonInput::KeyUp(std::int16_t& keyCode, std::int16_t& shift) {
    ButtonState& s = control_.State();
    const Alive alive = Watch();
    s.Input.ButtonDown = false;
    if (keyCode == win::VK_SPACE && Has(s, HeldDown)) {
        s.Input.LastButton = LeftButton;
        Clear(s, HeldDown);
        if (s.Props.Mode == Command) {
            control_.Refresh();
        } else {
            if (ButtonEvents* l = control_.Listener()) {
                l->KeyUp(keyCode, shift);
                if (alive.expired()) return;
            }
            keyCode = 0;
        }
        Click();
        if (alive.expired()) return;
    }
    if (IsArrow(keyCode)) {
        keyCode = 0;
        if (s.Props.Mode == Option && !control_.GetValue()) {
            s.Input.LastButton = LeftButton;
            Click();
            if (alive.expired()) return;
        }
    }
    if (keyCode == win::VK_SHIFT) keyCode = 0;
    if (keyCode != 0)
        if (ButtonEvents* l = control_.Listener()) l->KeyUp(keyCode, shift);
}

void ButtonInput::AccessKeyPress(std::int16_t keyAscii) {
    ButtonState& s = control_.State();
    const bool enterOrEsc = keyAscii == 13 || keyAscii == 27;
    if (enterOrEsc && s.Props.Mode > Command) return;
    if (!enterOrEsc && !Has(s, DefaultLook)) control_.Refresh();
    s.Input.LastButton = LeftButton;
    Click();
}

void ButtonInput::GotFocus() {
    ButtonState& s = control_.State();
    if (s.Props.Mode != Option || control_.GetValue()) return;
    if (!OptionToggle(control_, OptionAction::Query)) {
        s.Input.LastButton = LeftButton;
        Click();
    }
}

void ButtonInput::AmbientChanged(std::string_view propertyName) {
    ButtonState& s = control_.State();
    ButtonHost& host = control_.Host();
    if (EqualsNoCase(propertyName, "DisplayAsDefault")) {
        if (s.Props.ShowFocusRect && host.DisplayAsDefault())
            Set(s, DefaultLook);
        else
            Clear(s, DefaultLook);
        control_.Refresh();
    } else if (EqualsNoCase(propertyName, "BackColor")) {
        s.Container.BackColor = ConvertSysColor(host.AmbientBackColor());
        // Only the oval shapes show the container's colour in their corners.
        if (s.Props.ButtonShape >= ToInt(ButtonShapeKind::ShapeOvalRim) &&
            s.Props.ButtonShape <= ToInt(ButtonShapeKind::ShapeOvalOutline))
            control_.Refresh();
    }
}

void ButtonInput::OLECompleteDrag(std::int32_t& effect) {
    if (ButtonEvents* l = control_.Listener()) l->OLECompleteDrag(effect);
}
void ButtonInput::OLEDragDrop(OleDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                              float& x, float& y) {
    if (ButtonEvents* l = control_.Listener()) l->OLEDragDrop(data, effect, button, shift, x, y);
}
void ButtonInput::OLEDragOver(OleDataObject* data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                              float& x, float& y, std::int16_t& state) {
    if (ButtonEvents* l = control_.Listener()) l->OLEDragOver(data, effect, button, shift, x, y, state);
}
void ButtonInput::OLEGiveFeedback(std::int32_t& effect, bool& defaultCursors) {
    if (ButtonEvents* l = control_.Listener()) l->OLEGiveFeedback(effect, defaultCursors);
}
void ButtonInput::OLESetData(OleDataObject* data, std::int16_t& dataFormat) {
    if (ButtonEvents* l = control_.Listener()) l->OLESetData(data, dataFormat);
}
void ButtonInput::OLEStartDrag(OleDataObject* data, std::int32_t& allowedEffects) {
    if (ButtonEvents* l = control_.Listener()) l->OLEStartDrag(data, allowedEffects);
}

}  // namespace buttons
