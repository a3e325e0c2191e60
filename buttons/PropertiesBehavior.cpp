// Setters of the button's behaviour: style, mode and value, enabled state, focus rectangle, pointer.
#include <limits>
#include <stdexcept>

#include "buttons/OptionGroup.h"
#include "buttons/Render.h"
#include "buttons/Shapes.h"
#include "buttons/qkButtons_H.h"

namespace buttons {

void qkButtons_H::SetButtonStyle(std::int32_t style) {
    if (style != ToInt(ButtonStyleKind::StyleStandard)) return;
    s_.Props.ButtonStyle = style;
    Reshape(s_, buffer_, host_);
    Relayout(s_, buffer_, host_);
    RefreshCache("BackColor");
    if (!Redraw()) return;
    (void)Notify("BackStyle");
}

void qkButtons_H::SetMode(std::int32_t mode) {
    if (mode < 0 || mode > 2) return;
    const std::int32_t option = ToInt(ButtonMode::ModeOption);
    const std::int32_t command = ToInt(ButtonMode::ModeCommand);
    const std::int32_t old = s_.Props.Mode;
    if (old == option && mode != option) OptionToggle(*this, OptionAction::Leave);
    if (mode == option && old != option) OptionToggle(*this, OptionAction::Join);
    if (mode == command && old != command) {
        const std::weak_ptr<const bool> alive = alive_;
        SetValue(false);
        if (alive.expired()) return;
    }
    s_.Props.Mode = mode;
    if (!Redraw()) return;
    (void)Notify("Mode");
}

void qkButtons_H::SetValue(bool value) {
    if (value && s_.Props.Mode == ToInt(ButtonMode::ModeCommand)) {
        (void)DesignTimeMessage(MsgValueOnCommand);
        return;
    }
    s_.Props.Value = value;
    if (value && s_.Props.Mode == ToInt(ButtonMode::ModeOption)) OptionToggle(*this, OptionAction::Select);
    if (!Redraw()) return;
    (void)Notify("Value");
}

void qkButtons_H::SetEnabled(bool enabled) {
    if (enabled == host_.Enabled()) return;
    host_.SetEnabled(enabled);
    if (!Redraw()) return;
    (void)Notify("Enabled");
}

void qkButtons_H::SetShowFocusRect(bool show) {
    s_.Props.ShowFocusRect = show;
    if ((s_.Input.StateFlags & DefaultLook) != 0) {
        if (host_.UserMode()) {
            input_->DropDefaultLook();
            if (!Redraw()) return;
        } else if (!DesignTimeMessage(MsgFocusRectOnDefault)) {
            return;
        }
    } else if (!Redraw()) {
        return;
    }
    (void)Notify("Focus");
}

void qkButtons_H::SetMousePointer(std::int32_t pointer) {
    // The value is taken as a 16-bit integer; one that does not fit is an overflow, as the host's
    // own conversion would report it.
    if (pointer < std::numeric_limits<std::int16_t>::min() || pointer > std::numeric_limits<std::int16_t>::max()) {
        throw std::out_of_range("Overflow: MousePointer " + std::to_string(pointer));
    }
    host_.SetMousePointer(static_cast<std::int16_t>(pointer));
    (void)Notify("mPointer");
}

void qkButtons_H::SetMouseIcon(PictureRef icon) {
    try {
        host_.SetMouseIcon(icon);
    } catch (const std::exception& e) {
        (void)DesignTimeMessage(e.what(), MouseIconErrorTitle);
        return;
    }
    if (!icon) return;
    const std::weak_ptr<const bool> alive = alive_;
    SetMousePointer(CustomMousePointer);
    if (alive.expired()) return;
    (void)Notify("mIcon");
}

}  // namespace buttons
