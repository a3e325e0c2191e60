// EchoLink's automation class as a client sees it: the class, interface and type library
// identifiers and the function-table positions of the three operations we call.
#pragma once

#include <windows.h>

namespace hosts::com {

inline constexpr CLSID kEchoLinkClass = {0xD1FB3C9A, 0xBB2D, 0x446A, {0xA7, 0x4A, 0xE7, 0x71, 0xF1, 0x34, 0xED, 0x56}};
inline constexpr IID kEchoLinkInterface = {0x7733112C, 0x4577, 0x4432, {0x9D, 0xB0, 0xA9, 0x39, 0x81, 0x84, 0xEA, 0xF6}};
inline constexpr IID kEchoLinkEvents = {0x6F55F7AF, 0x8DA6, 0x400F, {0x96, 0xEB, 0xC3, 0x71, 0xF0, 0x31, 0x16, 0x11}};
inline constexpr GUID kEchoLinkTypeLib = {0x4CF5B97B, 0xA0F5, 0x41F3, {0x84, 0x8C, 0x6E, 0x25, 0xFA, 0xB6, 0x2A, 0xD3}};

// Positions in the default interface's function table, counted from 0 with IUnknown's three and
// IDispatch's four entries included.
inline constexpr int kSetTransmitSlot = 12;
inline constexpr int kSendMorseSlot = 17;
inline constexpr int kPostChatLineSlot = 40;

// The event names whose DISPIDs are looked up in the registered type library.
inline constexpr wchar_t kChatTextReceivedName[] = L"ChatTextReceived";
inline constexpr wchar_t kClosingName[] = L"Closing";

}  // namespace hosts::com
