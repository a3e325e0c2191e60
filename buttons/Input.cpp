#include "buttons/Input.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "buttons/Colors.h"
#include "buttons/OptionGroup.h"

namespace buttons {
namespace {

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

ButtonInput::~ButtonInput() {
    ButtonState& s = control_.State();
    win::WindowServices& ws = control_.Windows();
    const win::HWND hwnd = control_.Host().hWnd();
    if (s.Input.HoverLit) {
        ws.KillTimer(hwnd, HoverTimerId);
        s.Input.HoverLit = false;
    }
    // The hover link names this object: a window that outlives it must not keep the address.
    if (ws.GetPropA(hwnd, modQkTimer::ClassIdProperty) == reinterpret_cast<std::uintptr_t>(this)) {
        ws.RemovePropA(hwnd, modQkTimer::ClassIdProperty);
        ws.RemovePropA(hwnd, modQkTimer::TimerIdProperty);
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

input::View ButtonInput::ViewOf() {
    const ButtonState& s = control_.State();
    input::View v;
    v.fields = s.Input;
    v.mode = s.Props.Mode;
    v.value = control_.GetValue();
    v.showFocusRect = s.Props.ShowFocusRect;
    v.shape = s.Props.ButtonShape;
    v.scaleWidth = control_.Host().ScaleWidth();
    v.scaleHeight = control_.Host().ScaleHeight();
    return v;
}

bool ButtonInput::Run(const input::Notification& n, const HostArgs& args) {
    using input::Op;
    input::Steps steps;
    input::React(ViewOf(), n, steps);
    if (steps.size() == 0) return true;
    // Watched from the first call out that has steps after it: a button destroyed by its last
    // step has nothing left to do, and most reactions need no watch at all.
    Alive alive;
    const input::Step* const last = steps.end() - 1;
    const auto watch = [&](const input::Step& step) {
        if (&step != last && alive.expired()) alive = Watch();
    };
    const auto survived = [&](const input::Step& step) { return &step == last || !alive.expired(); };
    Interaction& f = control_.State().Input;
    win::WindowServices& ws = control_.Windows();
    for (const input::Step& step : steps) {
        switch (step.op) {
            case Op::SetFlags: f.StateFlags = static_cast<std::uint8_t>(f.StateFlags | step.arg); break;
            case Op::ClearFlags: f.StateFlags = static_cast<std::uint8_t>(f.StateFlags & ~step.arg); break;
            case Op::SetHoverLit: f.HoverLit = step.arg != 0; break;
            case Op::SetButtonDown: f.ButtonDown = step.arg != 0; break;
            case Op::SetLastButton: f.LastButton = static_cast<std::int16_t>(step.arg); break;
            case Op::SetDelayFlag: control_.SetDrawingDelayed(step.arg != 0); break;
            case Op::SetDoubleClickPress: f.DoubleClickPress = step.arg != 0; break;
            case Op::Redraw: control_.Refresh(); break;
            case Op::Capture: ws.SetCapture(control_.Host().hWnd()); break;
            case Op::ReleaseCapture: ws.ReleaseCapture(); break;
            case Op::StartHover: StartHover(); break;
            case Op::StopHover: ws.KillTimer(control_.Host().hWnd(), step.timer); break;
            case Op::PostArrowKey: {
                const auto key = static_cast<std::int16_t>(step.arg);
                ws.PostMessageA(ContainerWindow(control_), win::WM_KEYDOWN, static_cast<std::uintptr_t>(key),
                                ArrowKeyLParam(key));
                break;
            }
            case Op::ZeroKeyCode:
                if (args.key) *args.key = 0;
                break;
            case Op::SetContainerBackColor:
                control_.State().Container.BackColor = ConvertSysColor(control_.Host().AmbientBackColor());
                break;
            // The calls out: the container's handlers, and the Value setter's notifications and
            // group walk, may destroy the button.
            case Op::SetValue:
                watch(step);
                control_.SetValue(step.arg != 0);
                if (!survived(step)) return false;
                break;
            case Op::Raise:
                watch(step);
                Raise(step, args);
                if (!survived(step)) return false;
                break;
            case Op::QueryGroup: {
                input::Notification answer;
                answer.kind = input::Kind::GroupAnswered;
                answer.flag = OptionToggle(control_, OptionAction::Query);
                watch(step);
                if (!Run(answer, args) || !survived(step)) return false;
                break;
            }
            case Op::Then: {
                input::Notification next;
                next.kind = static_cast<input::Kind>(step.arg);
                next.x = step.x;
                next.y = step.y;
                // After MouseUp the rules read the host's button as the container left it.
                if (next.kind == input::Kind::AfterMouseUp && args.button) next.button = *args.button;
                watch(step);
                if (!Run(next, args) || !survived(step)) return false;
                break;
            }
        }
    }
    return true;
}

void ButtonInput::Raise(const input::Step& step, const HostArgs& args) {
    ButtonEvents* l = control_.Listener();
    if (!l) return;
    // Own arguments live here for the call; the host's go by reference, so the container's changes reach it.
    std::int16_t ownButton = step.button;
    std::int16_t ownShift = 0;
    float ownX = step.x;
    float ownY = step.y;
    const bool own = step.own || !args.button;
    std::int16_t& button = own ? ownButton : *args.button;
    std::int16_t& shift = own || !args.shift ? ownShift : *args.shift;
    float& x = own ? ownX : *args.x;
    float& y = own ? ownY : *args.y;
    switch (step.event) {
        case input::Event::MouseDown: l->MouseDown(button, shift, x, y); break;
        case input::Event::MouseUp: l->MouseUp(button, shift, x, y); break;
        case input::Event::MouseMove: l->MouseMove(button, shift, x, y); break;
        case input::Event::MouseOnButton: {
            bool onButton = step.arg != 0;
            l->MouseOnButton(onButton);
            break;
        }
        case input::Event::KeyDown: l->KeyDown(*args.key, *args.shift); break;
        case input::Event::KeyPress: l->KeyPress(*args.key); break;
        case input::Event::KeyUp: l->KeyUp(*args.key, *args.shift); break;
        case input::Event::Click: l->Click(); break;
        case input::Event::DoubleClick: l->DoubleClick(ownButton); break;
    }
}

namespace {

input::Notification Mouse(input::Kind kind, std::int16_t button, float x, float y) {
    input::Notification n;
    n.kind = kind;
    n.button = button;
    n.x = x;
    n.y = y;
    return n;
}

input::Notification Key(input::Kind kind, std::int16_t key) {
    input::Notification n;
    n.kind = kind;
    n.key = key;
    return n;
}

}  // namespace

void ButtonInput::MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    Run(Mouse(input::Kind::MouseDown, button, x, y), {&button, &shift, &x, &y, nullptr});
}

void ButtonInput::MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    Run(Mouse(input::Kind::MouseMove, button, x, y), {&button, &shift, &x, &y, nullptr});
}

void ButtonInput::MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y, ReleasePlace place) {
    input::Notification n = Mouse(input::Kind::MouseUp, button, x, y);
    n.flag = place == ReleasePlace::OverButton;
    Run(n, {&button, &shift, &x, &y, nullptr});
}

void ButtonInput::Click() { Run(Key(input::Kind::Click, 0), {}); }

void ButtonInput::DblClick() {
    gdi::POINT p{};
    control_.Windows().GetCursorPos(&p);
    control_.Windows().ScreenToClient(control_.Host().hWnd(), &p);
    Run(Mouse(input::Kind::DoubleClick, 0, static_cast<float>(p.x), static_cast<float>(p.y)), {});
}

void ButtonInput::KeyDown(std::int16_t& keyCode, std::int16_t& shift) {
    Run(Key(input::Kind::KeyDown, keyCode), {nullptr, &shift, nullptr, nullptr, &keyCode});
}

void ButtonInput::KeyPress(std::int16_t& keyAscii) {
    Run(Key(input::Kind::KeyPress, keyAscii), {nullptr, nullptr, nullptr, nullptr, &keyAscii});
}

void ButtonInput::KeyUp(std::int16_t& keyCode, std::int16_t& shift) {
    Run(Key(input::Kind::KeyUp, keyCode), {nullptr, &shift, nullptr, nullptr, &keyCode});
}

void ButtonInput::AccessKeyPress(std::int16_t keyAscii) { Run(Key(input::Kind::AccessKey, keyAscii), {}); }

void ButtonInput::GotFocus() { Run(Key(input::Kind::GotFocus, 0), {}); }

void ButtonInput::DropDefaultLook() {
    Interaction& f = control_.State().Input;
    f.StateFlags = static_cast<std::uint8_t>(f.StateFlags & ~DefaultLook);
}

void ButtonInput::AmbientChanged(std::string_view propertyName) {
    input::Notification n;
    if (EqualsNoCase(propertyName, "DisplayAsDefault")) {
        n.kind = input::Kind::DisplayAsDefaultChanged;
        n.flag = control_.Host().DisplayAsDefault();
    } else if (EqualsNoCase(propertyName, "BackColor")) {
        n.kind = input::Kind::BackColorChanged;
    } else {
        return;
    }
    Run(n, {});
}

}  // namespace buttons
