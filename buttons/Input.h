// How qkButtons_H takes what its host delivers: mouse, keys, access keys, focus, ambient changes
// and the 50 ms hover poll. The rules are InputMachine's; this applies their steps.
// Owns no window resources beyond the hover timer and capture it starts; the control owns one.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "buttons/ButtonControl.h"
#include "buttons/InputMachine.h"

namespace buttons {

constexpr std::uintptr_t HoverTimerId = 237;
constexpr std::uint32_t HoverIntervalMs = 50;

// Mouse buttons as the host reports them.
constexpr std::int16_t LeftButton = 1;
constexpr std::int16_t RightButton = 2;
constexpr std::int16_t MiddleButton = 4;

// Where the mouse button was let go: over the button's own shape, or anywhere else.
enum class ReleasePlace : std::uint8_t { Elsewhere, OverButton };

class ButtonInput {
public:
    explicit ButtonInput(ButtonControl& control) : control_(control) {}
    ButtonInput(const ButtonInput&) = delete;
    ButtonInput& operator=(const ButtonInput&) = delete;
    // Stops the hover timer if it runs and leaves the option group, so that nothing the platform
    // or the registry keeps can reach a destroyed button. The control destroys its input engine
    // first thing in its teardown, while its state is whole.
    ~ButtonInput();

    void MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
    void MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y);
    // A left release over the button's shape after a left press on it is followed by Click.
    void MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y,
                 ReleasePlace place = ReleasePlace::Elsewhere);
    // The host's own Click (a platform that reports one apart from the release).
    void Click();
    void DblClick();
    void KeyDown(std::int16_t& keyCode, std::int16_t& shift);
    void KeyPress(std::int16_t& keyAscii);
    void KeyUp(std::int16_t& keyCode, std::int16_t& shift);
    void AccessKeyPress(std::int16_t keyAscii);
    void GotFocus();
    void AmbientChanged(std::string_view propertyName);

    // The ShowFocusRect setter at run time takes the default look away (the control redraws).
    void DropDefaultLook();

    // One tick of the hover poll (run by the modQkTimer callback).
    void HoverTick(std::uintptr_t timerId);

private:
    // A container's handler may destroy the button; every raise is followed by this check.
    using Alive = std::weak_ptr<const bool>;
    Alive Watch() const { return alive_; }

    // The host's by-reference arguments of the notification being handled; null where it has none.
    struct HostArgs {
        std::int16_t* button = nullptr;
        std::int16_t* shift = nullptr;
        float* x = nullptr;
        float* y = nullptr;
        std::int16_t* key = nullptr;
    };
    // Reacts to one notification: asks the rules, then applies their steps in order. Returns
    // false once a call into the container has destroyed the button.
    bool Run(const input::Notification& n, const HostArgs& args);
    void Raise(const input::Step& step, const HostArgs& args);
    input::View ViewOf();
    void StartHover();

    ButtonControl& control_;
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

// The module of the hover timer's callback: it finds the control through the window's properties.
namespace modQkTimer {
constexpr const char* ClassIdProperty = "qk_ClassID";
constexpr const char* TimerIdProperty = "qk_TimerID";
void TimerProc(win::WindowServices& services, win::HWND hwnd, std::uint32_t message, std::uintptr_t id,
               std::uint32_t time);
}  // namespace modQkTimer

}  // namespace buttons
