#include "hosts/win32/ButtonMessages.h"

namespace hosts::win32 {

namespace {

constexpr std::uintptr_t MkLButton = 0x0001;
constexpr std::uintptr_t MkRButton = 0x0002;
constexpr std::uintptr_t MkMButton = 0x0010;
constexpr std::uintptr_t VkTab = 9;

// Client coordinates are signed 16-bit halves of lParam (negative while captured outside).
float X(std::intptr_t lParam) { return static_cast<float>(static_cast<std::int16_t>(lParam & 0xFFFF)); }
float Y(std::intptr_t lParam) { return static_cast<float>(static_cast<std::int16_t>((lParam >> 16) & 0xFFFF)); }

std::int16_t HeldButtons(std::uintptr_t wParam) {
    std::int16_t b = 0;
    if (wParam & MkLButton) b |= 1;
    if (wParam & MkRButton) b |= 2;
    if (wParam & MkMButton) b |= 4;
    return b;
}

// The control's code of the button a message names: 1 left, 2 right, 4 middle; 0 for others.
std::int16_t ButtonOf(std::uint32_t message) {
    switch (message) {
    case msg::LButtonDown:
    case msg::LButtonUp:
    case msg::LButtonDblClk: return 1;
    case msg::RButtonDown:
    case msg::RButtonUp:
    case msg::RButtonDblClk: return 2;
    case msg::MButtonDown:
    case msg::MButtonUp:
    case msg::MButtonDblClk: return 4;
    default: return 0;
    }
}

}  // namespace

bool TranslateButtonMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                            const MessageContext& context, ButtonInputSink& sink) {
    const std::int16_t shift = context.shift;
    switch (message) {
    case msg::LButtonDown:
    case msg::RButtonDown:
    case msg::MButtonDown:
        sink.MouseDown(ButtonOf(message), shift, X(lParam), Y(lParam));
        return true;
    case msg::MouseMove: sink.MouseMove(HeldButtons(wParam), shift, X(lParam), Y(lParam)); return true;
    case msg::LButtonUp:
    case msg::RButtonUp:
    case msg::MButtonUp:
        sink.MouseUp(ButtonOf(message), shift, X(lParam), Y(lParam), context.overButton);
        return true;
    case msg::LButtonDblClk:
    case msg::RButtonDblClk:
    case msg::MButtonDblClk: sink.DblClick(); return true;
    case msg::KeyDown:
        if (wParam == VkTab) return false;  // the window's dialog rules move the focus
        sink.KeyDown(static_cast<std::int16_t>(wParam), shift);
        return true;
    case msg::KeyUp:
        if (wParam == VkTab) return false;
        sink.KeyUp(static_cast<std::int16_t>(wParam), shift);
        return true;
    case msg::Char:
        if (wParam == 0 || wParam > 0xFF || wParam == VkTab) return false;
        sink.KeyPress(static_cast<std::int16_t>(wParam));
        return true;
    case msg::SetFocus: sink.GotFocus(); return true;
    case msg::KillFocus: sink.LostFocus(); return true;
    default: return false;
    }
}

}  // namespace hosts::win32
