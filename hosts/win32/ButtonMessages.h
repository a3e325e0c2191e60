// How the qkButtons_H window turns the platform's mouse, key and focus messages into the control's
// notifications; whether a release clicks is the control's to decide, from where it was let go.
// Pure: no window and no platform header, so it is tested anywhere.
#pragma once

#include <cstdint>

namespace hosts::win32 {

// The message numbers it reads, as the platform defines them.
namespace msg {
constexpr std::uint32_t SetFocus = 0x0007;
constexpr std::uint32_t KillFocus = 0x0008;
constexpr std::uint32_t KeyDown = 0x0100;
constexpr std::uint32_t KeyUp = 0x0101;
constexpr std::uint32_t Char = 0x0102;
constexpr std::uint32_t MouseMove = 0x0200;
constexpr std::uint32_t LButtonDown = 0x0201;
constexpr std::uint32_t LButtonUp = 0x0202;
constexpr std::uint32_t LButtonDblClk = 0x0203;
constexpr std::uint32_t RButtonDown = 0x0204;
constexpr std::uint32_t RButtonUp = 0x0205;
constexpr std::uint32_t RButtonDblClk = 0x0206;
constexpr std::uint32_t MButtonDown = 0x0207;
constexpr std::uint32_t MButtonUp = 0x0208;
constexpr std::uint32_t MButtonDblClk = 0x0209;
}  // namespace msg

// The control's notifications, as the window procedure delivers them.
class ButtonInputSink {
public:
    virtual ~ButtonInputSink() = default;
    virtual void MouseDown(std::int16_t button, std::int16_t shift, float x, float y) = 0;
    virtual void MouseMove(std::int16_t buttons, std::int16_t shift, float x, float y) = 0;
    // `over`: let go over the button's own shape.
    virtual void MouseUp(std::int16_t button, std::int16_t shift, float x, float y, bool over) = 0;
    virtual void DblClick() = 0;
    virtual void KeyDown(std::int16_t keyCode, std::int16_t shift) = 0;
    virtual void KeyPress(std::int16_t keyAscii) = 0;
    virtual void KeyUp(std::int16_t keyCode, std::int16_t shift) = 0;
    virtual void GotFocus() = 0;
    virtual void LostFocus() = 0;
};

// What the window procedure knows besides the message: the Shift argument (1 Shift, 2 Ctrl,
// 4 Alt, read from the keyboard state) and whether the pointer is over the button's own shape.
struct MessageContext {
    std::int16_t shift = 0;
    bool overButton = false;
};

// Delivers the message's notifications to `sink`; false when the message is not one of input or
// focus (the window procedure then passes it on). The sink may destroy the button (a Click
// handler that closes the window): nothing of it is read after a call into the sink.
bool TranslateButtonMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                            const MessageContext& context, ButtonInputSink& sink);

}  // namespace hosts::win32
