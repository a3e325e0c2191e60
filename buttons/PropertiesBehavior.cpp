// Setters of the button's behaviour: style, mode and value, enabled state, focus rectangle, pointer.
#include <limits>
#include <stdexcept>

#include "buttons/OptionGroup.h"
#include "buttons/Render.h"
#include "buttons/Shapes.h"
#include "buttons/qkButtons_H.h"

namespace buttons {

void qkButtons_H::SetButtonStyle(std::int32_t Style) {
    if (Style != ToInt(ButtonStyleKind::StyleStandard)) return;
    s_.Props.ButtonStyle = Style;
    Reshape(s_, buffer_, host_);
    Relayout(s_, buffer_, host_);
    RefreshCache("BackColor");
    if (!Redraw()) return;
    (void)Notify("BackStyle");
}

void qkButtons_H::SetMode(std::int32_t nMode) {
    if (nMode < 0 || nMode > 2) return;
    const std::int32_t option = ToInt(ButtonMode::ModeOption);
    const std::int32_t command = ToInt(ButtonMode::ModeCommand);
    const std::int32_t old = s_.Props.Mode;
    if (old == option && nMode != option) OptionToggle(*this, OptionAction::Leave);
    if (nMode == option && old != option) OptionToggle(*this, OptionAction::Join);
    if (nMode == command && old != command) {
        const std::weak_ptr<const bool> alive = alive_;
        SetValue(false);
        if (alive.expired()) return;
    }
    s_.Props.Mode = nMode;
    if (!Redraw()) return;
    (void)Notify("Mode");
}

void qkButtons_H::SetValue(bool bValue) {
    if (bValue && s_.Props.Mode == ToInt(ButtonMode::ModeCommand)) {
        (void)DesignTimeMessage(MsgValueOnCommand);
        return;
    }
    s_.Props.Value = bValue;
    if (bValue && s_.Props.Mode == ToInt(ButtonMode::ModeOption)) OptionToggle(*this, OptionAction::Select);
    if (!Redraw()) return;
    (void)Notify("Value");
}

void qkButtons_H::SetEnabled(bool bEnabled) {
    if (bEnabled == host_.Enabled()) return;
    host_.SetEnabled(bEnabled);
    if (!Redraw()) return;
    (void)Notify("Enabled");
}

void qkButtons_H::SetShowFocusRect(bool bShow) {
    s_.Props.ShowFocusRect = bShow;
    if ((s_.Input.StateFlags & DefaultLook) != 0) {
        if (host_.UserMode()) {
            s_.Input.StateFlags = static_cast<std::uint8_t>(s_.Input.StateFlags & ~DefaultLook);
            if (!Redraw()) return;
        } else if (!DesignTimeMessage(MsgFocusRectOnDefault)) {
            return;
        }
    } else if (!Redraw()) {
        return;
    }
    (void)Notify("Focus");
}

void qkButtons_H::SetMousePointer(std::int32_t nPointer) {
    // The value is taken as a 16-bit integer; one that does not fit is an overflow, as the host's
    // own conversion would report it.
    if (nPointer < std::numeric_limits<std::int16_t>::min() || nPointer > std::numeric_limits<std::int16_t>::max()) {
        throw std::out_of_range("Overflow: MousePointer " + std::to_string(nPointer));
    }
    host_.SetMousePointer(static_cast<std::int16_t>(nPointer));
    (void)Notify("mPointer");
}

void qkButtons_H::SetMouseIcon(PictureRef nIcon) {
    try {
        host_.SetMouseIcon(nIcon);
    } catch (const std::exception& e) {
        (void)DesignTimeMessage(e.what(), MouseIconErrorTitle);
        return;
    }
    if (!nIcon) return;
    const std::weak_ptr<const bool> alive = alive_;
    SetMousePointer(CustomMousePointer);
    if (alive.expired()) return;
    (void)Notify("mIcon");
}

}  // namespace buttons
