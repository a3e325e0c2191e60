#include "hosts/qt/KeyCodes.h"

#include <QList>

#include "gdi/Text.h"

namespace hosts::qt {

namespace {

struct KeyPair {
    int qt;
    std::uint8_t vk;
};

// The first pair of a code is the way back from it. Punctuation is placed as on the US layout,
// where the platform's OEM codes are defined; the shifted symbol shares its key's code.
constexpr KeyPair Keys[] = {
    {Qt::Key_Cancel, 0x03}, {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C}, {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D}, {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12}, {Qt::Key_AltGr, 0x12}, {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14}, {Qt::Key_Hangul, 0x15}, {Qt::Key_Kanji, 0x19}, {Qt::Key_Escape, 0x1B},
    {Qt::Key_Henkan, 0x1C}, {Qt::Key_Muhenkan, 0x1D}, {Qt::Key_Space, 0x20}, {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23}, {Qt::Key_Home, 0x24}, {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26}, {Qt::Key_Right, 0x27}, {Qt::Key_Down, 0x28}, {Qt::Key_Select, 0x29},
    {Qt::Key_Printer, 0x2A}, {Qt::Key_Execute, 0x2B}, {Qt::Key_Print, 0x2C}, {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E}, {Qt::Key_Help, 0x2F},
    // Shifted digits on the US layout.
    {Qt::Key_ParenRight, '0'}, {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'}, {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
    {Qt::Key_Meta, 0x5B}, {Qt::Key_Super_L, 0x5B}, {Qt::Key_Super_R, 0x5C}, {Qt::Key_Menu, 0x5D},
    {Qt::Key_Sleep, 0x5F}, {Qt::Key_NumLock, 0x90}, {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Back, 0xA6}, {Qt::Key_Forward, 0xA7}, {Qt::Key_Refresh, 0xA8}, {Qt::Key_Stop, 0xA9},
    {Qt::Key_Search, 0xAA}, {Qt::Key_Favorites, 0xAB}, {Qt::Key_HomePage, 0xAC}, {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeDown, 0xAE}, {Qt::Key_VolumeUp, 0xAF}, {Qt::Key_MediaNext, 0xB0}, {Qt::Key_MediaPrevious, 0xB1},
    {Qt::Key_MediaStop, 0xB2}, {Qt::Key_MediaTogglePlayPause, 0xB3}, {Qt::Key_MediaPlay, 0xB3},
    {Qt::Key_LaunchMail, 0xB4}, {Qt::Key_LaunchMedia, 0xB5}, {Qt::Key_Launch0, 0xB6}, {Qt::Key_Launch1, 0xB7},
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC}, {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE}, {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC}, {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_QuoteDbl, 0xDE},
    // The Brazilian layout's own keys (the program's users): Ç, and the acute and tilde dead keys.
    {Qt::Key_Ccedilla, 0xBA}, {Qt::Key_Dead_Acute, 0xDB}, {Qt::Key_Dead_Grave, 0xDB},
    {Qt::Key_Dead_Tilde, 0xDE}, {Qt::Key_Dead_Circumflex, 0xDE},
    {Qt::Key_Play, 0xFA}, {Qt::Key_Zoom, 0xFB},
};

// Keypad keys as Qt reports them (with KeypadModifier) and their own codes. The decimal key is
// VK_DECIMAL whatever mark the layout prints on it. Without Num Lock the keypad reports movement
// keys, which keep the movement codes.
constexpr KeyPair KeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B}, {Qt::Key_Minus, 0x6D}, {Qt::Key_Period, 0x6E},
    {Qt::Key_Comma, 0x6E},    {Qt::Key_Slash, 0x6F}, {Qt::Key_Enter, 0x0D},
};

constexpr int FirstFunctionVk = 0x70;  // F1; F24 is 0x87

}  // namespace

std::int16_t VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<std::int16_t>(0x60 + (qtKey - Qt::Key_0));
        for (const KeyPair& k : KeypadKeys) {
            if (k.qt == qtKey) return k.vk;
        }
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return static_cast<std::int16_t>(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<std::int16_t>(FirstFunctionVk + (qtKey - Qt::Key_F1));
    }
    for (const KeyPair& k : Keys) {
        if (k.qt == qtKey) return k.vk;
    }
    return 0;
}

int QtKeyFromVirtualKey(std::uintptr_t vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return static_cast<int>(vk);
    if (vk >= FirstFunctionVk && vk < FirstFunctionVk + 24) return Qt::Key_F1 + static_cast<int>(vk - FirstFunctionVk);
    for (const KeyPair& k : Keys) {
        if (k.vk == vk) return k.qt;
    }
    return 0;
}

std::int16_t KeyAsciiOf(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    if (codePoints.size() != 1 || codePoints[0] == 0) return 0;
    for (int b = 1; b < 256; ++b) {
        if (gdi::AnsiToCodePoint(static_cast<unsigned char>(b)) == codePoints[0]) return static_cast<std::int16_t>(b);
    }
    return 0;
}

}  // namespace hosts::qt
