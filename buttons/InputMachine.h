// The button's input rules as a pure function: a notification and the fields it finds give the
// steps to take in order (field changes, effects, events to raise). No window, clock or control inside.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "buttons/ButtonState.h"

namespace buttons::input {

// What the rules read; the control fills it from its state and host before each reaction.
struct View {
    Interaction fields;
    std::int32_t mode = 0;
    bool value = false;
    bool showFocusRect = true;
    std::int32_t shape = 0;
    double scaleWidth = 0;
    double scaleHeight = 0;
};

enum class Kind : std::uint8_t {
    MouseDown, MouseMove, MouseUp, Click, DoubleClick, KeyDown, KeyPress, KeyUp, AccessKey, GotFocus,
    DisplayAsDefaultChanged, BackColorChanged, HoverTick,
    // Follow-ups the control feeds back once what came before has run (a raise may change the
    // state they read): after MouseUp was raised, after DoubleClick was raised, the group's answer.
    AfterMouseUp, AfterDoubleClick, GroupAnswered,
};

struct Notification {
    Kind kind = Kind::Click;
    std::int16_t button = 0;   // mouse button; for AfterMouseUp the host's as the container left it
    std::int16_t key = 0;      // KeyCode, or KeyAscii for AccessKey
    float x = 0;
    float y = 0;
    // HoverTick: the pointer is still over the button; MouseUp: released over the button's shape;
    // DisplayAsDefaultChanged: the container's value; GroupAnswered: a member of the group is on.
    bool flag = false;
    std::uintptr_t timer = 0;  // HoverTick
};

enum class Op : std::uint8_t {
    SetFlags, ClearFlags,                                                          // StateFlags bits in arg
    SetHoverLit, SetButtonDown, SetLastButton, SetDelayFlag, SetDoubleClickPress,  // the value in arg
    Redraw, Capture, ReleaseCapture, StartHover, StopHover,
    PostArrowKey,           // WM_KEYDOWN for the arrow key in arg to the container's window
    ZeroKeyCode,            // the host's KeyCode becomes 0
    SetValue,               // through the Value property, arg 0 or 1
    SetContainerBackColor,  // from the host's ambient BackColor
    QueryGroup,             // ask the option group, then react to GroupAnswered
    Raise,                  // an event to the container
    Then,                   // react to a follow-up notification now, then go on
};

enum class Event : std::uint8_t { MouseDown, MouseUp, MouseMove, MouseOnButton, KeyDown, KeyPress, KeyUp, Click, DoubleClick };

// Trivial, so that a reaction's steps cost nothing until they are written.
struct Step {
    Op op;
    // Raise: the event, and whether it carries its own arguments (button, x, y with Shift 0; arg
    // for MouseOnButton) instead of the host's by-reference ones.
    Event event;
    bool own;
    std::int16_t button;
    std::int32_t arg;          // flags, field value, key; Then: the Kind to react to
    float x;                   // own arguments; Then: the follow-up's x and y
    float y;
    std::uintptr_t timer;      // StopHover
};

// A reaction: at most a handful of steps, kept without allocation.
class Steps {
public:
    // More steps than room is a fault in the rules, never the input's: stop rather than write past.
    void Add(const Step& step) {
        if (count_ == items_.size()) throw std::logic_error("input rules: a reaction has too many steps");
        items_[count_++] = step;
    }
    const Step* begin() const { return items_.data(); }
    const Step* end() const { return items_.data() + count_; }
    std::size_t size() const { return count_; }

private:
    std::array<Step, 16> items_;
    std::size_t count_ = 0;
};

void React(const View& view, const Notification& n, Steps& out);

}  // namespace buttons::input
