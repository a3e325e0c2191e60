#include "buttons/InputMachine.h"

#include "win/WindowServices.h"

namespace buttons::input {
namespace {

constexpr std::int16_t Left = 1;
constexpr std::int32_t Command = ToInt(ButtonMode::ModeCommand);
constexpr std::int32_t Option = ToInt(ButtonMode::ModeOption);

bool IsArrow(std::int16_t key) { return key >= win::VK_LEFT && key <= win::VK_DOWN; }

Step Do(Op op, std::int32_t arg = 0) {
    Step s{};
    s.op = op;
    s.arg = arg;
    return s;
}

Step RaiseHost(Event event) {
    Step s = Do(Op::Raise);
    s.event = event;
    return s;
}

Step RaiseOwn(Event event, std::int32_t arg = 0, std::int16_t button = 0, float x = 0, float y = 0) {
    Step s = RaiseHost(event);
    s.own = true;
    s.arg = arg;
    s.button = button;
    s.x = x;
    s.y = y;
    return s;
}

Step Then(Kind kind, float x = 0, float y = 0) {
    Step s = Do(Op::Then, static_cast<std::int32_t>(kind));
    s.x = x;
    s.y = y;
    return s;
}

// The press steps; a double click's second press runs them with its own arguments.
void Press(std::int16_t button, Steps& out, const Step& raise) {
    out.Add(Do(Op::SetLastButton, button));
    out.Add(Do(Op::SetDoubleClickPress, 0));
    if (button == Left) {
        out.Add(Do(Op::SetFlags, HeldDown));
        out.Add(Do(Op::SetButtonDown, 1));
        out.Add(Do(Op::SetDelayFlag, 0));
        out.Add(Do(Op::Redraw));
        out.Add(Do(Op::Capture));
    }
    out.Add(raise);
}

void KeyDown(const View& v, std::int16_t key, Steps& out) {
    if (IsArrow(key)) {
        out.Add(Do(Op::ZeroKeyCode));
        out.Add(Do(Op::PostArrowKey, key));
        key = 0;
    }
    if (key == win::VK_SPACE && (v.fields.StateFlags & HeldDown) == 0) {
        out.Add(Do(Op::SetFlags, MouseOver | HeldDown));
        out.Add(Do(Op::SetButtonDown, 1));
        out.Add(Do(Op::Redraw));
        if (!v.fields.HoverLit) out.Add(Do(Op::ClearFlags, MouseOver));
    }
    if (key != 0) out.Add(RaiseHost(Event::KeyDown));
}

void KeyUp(const View& v, std::int16_t key, Steps& out) {
    out.Add(Do(Op::SetButtonDown, 0));
    if (key == win::VK_SPACE && (v.fields.StateFlags & HeldDown) != 0) {
        out.Add(Do(Op::SetLastButton, Left));
        out.Add(Do(Op::ClearFlags, HeldDown));
        if (v.mode == Command) {
            out.Add(Do(Op::Redraw));
        } else {
            // A check or option button reports the key before its click.
            out.Add(RaiseHost(Event::KeyUp));
            out.Add(Do(Op::ZeroKeyCode));
            key = 0;
        }
        out.Add(Then(Kind::Click));
    }
    if (IsArrow(key)) {
        out.Add(Do(Op::ZeroKeyCode));
        key = 0;
        // An option button reached with the arrow keys selects itself.
        if (v.mode == Option && !v.value) {
            out.Add(Do(Op::SetLastButton, Left));
            out.Add(Then(Kind::Click));
        }
    }
    if (key == win::VK_SHIFT) {
        out.Add(Do(Op::ZeroKeyCode));
        key = 0;
    }
    if (key != 0) out.Add(RaiseHost(Event::KeyUp));
}

}  // namespace

void React(const View& v, const Notification& n, Steps& out) {
    const Interaction& f = v.fields;
    switch (n.kind) {
        case Kind::MouseDown: Press(n.button, out, RaiseHost(Event::MouseDown)); break;
        case Kind::MouseMove: {
            // The edges count as inside.
            const bool outside = n.x < 0 || n.y < 0 || n.x > v.scaleWidth || n.y > v.scaleHeight;
            if (!f.HoverLit && !outside) {
                out.Add(Do(Op::SetFlags, MouseOver));
                out.Add(RaiseOwn(Event::MouseOnButton, 1));
                out.Add(Do(Op::StartHover));
                out.Add(Do(Op::SetHoverLit, 1));
                out.Add(Do(Op::SetDelayFlag, 0));
                if (n.button == Left) out.Add(Do(Op::SetButtonDown, 1));
                out.Add(Do(Op::Redraw));
            }
            out.Add(RaiseHost(Event::MouseMove));
            break;
        }
        case Kind::MouseUp: {
            // Click follows only a left press on this button and its release over the button's
            // shape: a release that ends a press made elsewhere clicks nothing.
            const bool clicks = n.button == Left && n.flag && (f.StateFlags & HeldDown) != 0;
            out.Add(Do(Op::SetButtonDown, 0));
            if (n.button == Left) {
                out.Add(Do(Op::ReleaseCapture));
                out.Add(Do(Op::ClearFlags, HeldDown));
                out.Add(Do(Op::SetDelayFlag, 0));
                // A check or option button is redrawn by the Value change of the click that follows.
                if (v.mode == Command) out.Add(Do(Op::Redraw));
            }
            out.Add(RaiseHost(Event::MouseUp));
            out.Add(Then(Kind::AfterMouseUp));
            if (clicks) out.Add(Then(Kind::Click));
            break;
        }
        case Kind::AfterMouseUp: {
            // The release that ends a double click is no click of its own: the host's Click that
            // follows every release finds no left button and does nothing.
            const bool endsDoubleClick = f.DoubleClickPress && n.button == Left;
            out.Add(Do(Op::SetDoubleClickPress, 0));
            out.Add(Do(Op::SetLastButton, endsDoubleClick ? -1 : n.button));
            break;
        }
        case Kind::Click:
            if (f.LastButton != Left) break;
            if (v.mode != Command) {
                if (v.mode == Option && v.value) break;
                out.Add(Do(Op::SetValue, v.value ? 0 : 1));
            }
            out.Add(RaiseOwn(Event::Click));
            break;
        case Kind::DoubleClick:
            out.Add(RaiseOwn(Event::DoubleClick, 0, f.LastButton));
            out.Add(Then(Kind::AfterDoubleClick, n.x, n.y));
            break;
        case Kind::AfterDoubleClick:
            if (f.LastButton == Left) {
                Press(Left, out, RaiseOwn(Event::MouseDown, 0, Left, n.x, n.y));
                out.Add(Do(Op::SetLastButton, -1));
                out.Add(Do(Op::SetDoubleClickPress, 1));
            } else {
                out.Add(RaiseOwn(Event::MouseDown, 0, f.LastButton, n.x, n.y));
            }
            break;
        case Kind::KeyDown: KeyDown(v, n.key, out); break;
        case Kind::KeyPress: out.Add(RaiseHost(Event::KeyPress)); break;
        case Kind::KeyUp: KeyUp(v, n.key, out); break;
        case Kind::AccessKey: {
            const bool enterOrEsc = n.key == 13 || n.key == 27;
            if (enterOrEsc && v.mode > Command) break;
            if (!enterOrEsc && (f.StateFlags & DefaultLook) == 0) out.Add(Do(Op::Redraw));
            out.Add(Do(Op::SetLastButton, Left));
            out.Add(Then(Kind::Click));
            break;
        }
        case Kind::GotFocus:
            if (v.mode == Option && !v.value) out.Add(Do(Op::QueryGroup));
            break;
        case Kind::GroupAnswered:
            if (!n.flag) {
                out.Add(Do(Op::SetLastButton, Left));
                out.Add(Then(Kind::Click));
            }
            break;
        case Kind::DisplayAsDefaultChanged:
            out.Add(Do(v.showFocusRect && n.flag ? Op::SetFlags : Op::ClearFlags, DefaultLook));
            out.Add(Do(Op::Redraw));
            break;
        case Kind::BackColorChanged:
            out.Add(Do(Op::SetContainerBackColor));
            // Only the oval shapes show the container's colour in their corners.
            if (v.shape >= ToInt(ButtonShapeKind::ShapeOvalRim) && v.shape <= ToInt(ButtonShapeKind::ShapeOvalOutline))
                out.Add(Do(Op::Redraw));
            break;
        case Kind::HoverTick: {
            if (n.flag) break;  // still over the button
            Step stop = Do(Op::StopHover);
            stop.timer = n.timer;
            out.Add(stop);
            out.Add(Do(Op::ClearFlags, MouseOver));
            out.Add(Do(Op::SetHoverLit, 0));
            out.Add(Do(Op::SetDelayFlag, 0));
            out.Add(RaiseOwn(Event::MouseOnButton, 0));
            // HeldDown stays: a left button still held brings the pressed look back when the pointer returns.
            out.Add(Do(Op::SetButtonDown, 0));
            out.Add(Do(Op::Redraw));
            break;
        }
    }
}

}  // namespace buttons::input
