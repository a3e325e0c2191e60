// Setters of the colours and the hover colour locks, which keep locked hover colours equal to the
// normal ones (the hover back colour follows GradientColor instead while a gradient is on).
#include "buttons/Colors.h"
#include "buttons/Render.h"
#include "buttons/qkButtons_H.h"

namespace buttons {
namespace {

constexpr std::int32_t GradientNone = ToInt(GradientDirection::GradientNone);

// Only the four named lock values lock anything; an unchecked stored value frees both colours.
bool BackLocked(std::int32_t lock) {
    return lock == ToInt(HoverColorLock::LockBoth) || lock == ToInt(HoverColorLock::LockBackOnly);
}
bool ForeLocked(std::int32_t lock) {
    return lock == ToInt(HoverColorLock::LockBoth) || lock == ToInt(HoverColorLock::LockForeOnly);
}

}  // namespace

void qkButtons_H::SetForeColor(OleColor colour) {
    if (colour == host_.ForeColor()) return;
    host_.SetForeColor(colour);
    if (ForeLocked(s_.Props.HoverColorLocks)) {
        const std::weak_ptr<const bool> alive = alive_;
        SetHoverForeColor(host_.ForeColor());
        if (alive.expired()) return;
    }
    // This setter ends a pending delay and draws at once.
    SetDrawingDelayed(false);
    if (!Redraw()) return;
    (void)Notify("cFore");
}

// The HoverBackColor setter's work without its lock change, for the colours that drag a locked
// hover back colour along.
void qkButtons_H::SetHoverBackFollowing(OleColor colour) {
    if (colour == s_.Props.HoverBackColor) return;
    s_.Props.HoverBackColor = colour;
    RefreshCache("BackColor");
    (void)Notify("cBHover");
}

void qkButtons_H::SetBackColor(OleColor colour) {
    s_.Props.BackColor = ConvertSysColor(colour);
    const std::weak_ptr<const bool> alive = alive_;
    if (BackLocked(s_.Props.HoverColorLocks)) {
        SetHoverBackFollowing(s_.Props.GradientMode != GradientNone ? s_.Props.GradientColor : colour);
        if (alive.expired()) return;
    }
    RefreshCache("BackColor");
    if (!Redraw()) return;
    (void)Notify("cBack");
}

void qkButtons_H::SetGradientColor(OleColor colour) {
    if (BackLocked(s_.Props.HoverColorLocks) && s_.Props.GradientMode != GradientNone) s_.Props.HoverBackColor = colour;
    s_.Props.GradientColor = colour;
    RefreshCache("BackColor");
    if (s_.Props.GradientMode != GradientNone && !Redraw()) return;
    (void)Notify("cGradient");
}

void qkButtons_H::SetGradientMode(std::int32_t mode) {
    if (mode < 0 || mode > 4) return;
    s_.Props.GradientMode = mode;
    if (BackLocked(s_.Props.HoverColorLocks)) {
        s_.Props.HoverBackColor = mode == GradientNone ? s_.Props.BackColor : s_.Props.GradientColor;
        RefreshCache("BackColor");
    }
    if (!Redraw()) return;
    (void)Notify("Gradient");
}

void qkButtons_H::SetResetDefaultColors(bool reset) {
    if (!reset || host_.UserMode()) return;
    const std::weak_ptr<const bool> alive = alive_;
    DelayDrawing(true);
    s_.Props.BackColor = SysButtonFace;
    SetForeColor(SysButtonText);
    if (alive.expired()) return;
    SetGradientColor(SysButtonFace);
    if (alive.expired()) return;
    SetGradientMode(GradientNone);
    if (alive.expired()) return;
    SetHoverColorLocks(ToInt(HoverColorLock::LockBoth));
    if (alive.expired()) return;
    RefreshCache("BackColor");
    DelayDrawing(false);
    if (alive.expired()) return;
    if (!Notify("cGradient")) return;
    (void)Notify("cBack");
}

void qkButtons_H::SetHoverColorLocks(std::int32_t lock) {
    s_.Props.HoverColorLocks = lock;
    if (BackLocked(lock)) {
        s_.Props.HoverBackColor = s_.Props.GradientMode != GradientNone ? s_.Props.GradientColor : s_.Props.BackColor;
        if (!Notify("cBHover")) return;
    }
    if (ForeLocked(lock)) {
        s_.Props.HoverForeColor = host_.ForeColor();
        if (!Notify("cFHover")) return;
    }
    RefreshCache("BackColor");
    (void)Notify("LockHover");
}

void qkButtons_H::SetHoverForeColor(OleColor colour) {
    if (colour == s_.Props.HoverForeColor) return;
    s_.Props.HoverForeColor = colour;
    if (colour != host_.ForeColor()) {
        if (s_.Props.HoverColorLocks == ToInt(HoverColorLock::LockBoth)) {
            s_.Props.HoverColorLocks = ToInt(HoverColorLock::LockBackOnly);
        } else if (s_.Props.HoverColorLocks == ToInt(HoverColorLock::LockForeOnly)) {
            s_.Props.HoverColorLocks = ToInt(HoverColorLock::LockNone);
        }
    }
    (void)Notify("cFHover");
}

void qkButtons_H::SetHoverBackColor(OleColor colour) {
    if (colour == s_.Props.HoverBackColor) return;
    s_.Props.HoverBackColor = colour;
    if (colour != s_.Props.BackColor) {
        if (s_.Props.HoverColorLocks == ToInt(HoverColorLock::LockBoth)) {
            s_.Props.HoverColorLocks = ToInt(HoverColorLock::LockForeOnly);
        } else if (s_.Props.HoverColorLocks == ToInt(HoverColorLock::LockBackOnly)) {
            s_.Props.HoverColorLocks = ToInt(HoverColorLock::LockNone);
        }
    }
    RefreshCache("BackColor");
    (void)Notify("cBHover");
}

}  // namespace buttons
