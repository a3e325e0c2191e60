// Qt's keys as the platform's virtual-key codes and its characters as KeyPress codes of the ANSI
// code page (Windows-1252), for the button's key events. Pure functions over one table.
#pragma once

#include <QString>
#include <Qt>

#include <cstdint>

namespace hosts::qt {

// The virtual-key code of a Qt key (keypad keys by their own codes); 0 when there is none.
std::int16_t VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers = {});
// Qt's key code for a virtual-key code; 0 when there is none.
int QtKeyFromVirtualKey(std::uintptr_t vk);
// The KeyPress code of the text a key produced: its one Windows-1252 byte; 0 when the text is not
// a single character of that code page.
std::int16_t KeyAsciiOf(const QString& text);

}  // namespace hosts::qt
