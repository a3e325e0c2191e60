// What the chat relay needs of EchoLink's automation object: three operations, two events, creation.
// Backends (COM on Windows, D-Bus on Linux) and the test fake implement these; the main window owns the object.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "echolink/HResult.h"
#include "echolink/Variant.h"

namespace echolink {

// EchoLink's event interface. Backends deliver both events on the main window's user-interface
// thread, from its message loop, never from inside one of the operations below.
class ChatEvents {
public:
    virtual ~ChatEvents() = default;
    // One chat line as EchoLink shows it: the sender's name, ">" and the message. UTF-8, untrusted:
    // any length, any characters (NUL included).
    virtual void ChatTextReceived(const std::string& line) = 0;
    // The same line, stamped when it reached the program (milliseconds of the steady clock), for a
    // backend that takes lines in off the window's thread: a line that waited while the window's
    // thread was busy is known to be old. Still delivered on the window's thread.
    virtual void ChatTextArrived(const std::string& line, std::chrono::milliseconds arrivedAt) {
        (void)arrivedAt;
        ChatTextReceived(line);
    }
    // EchoLink is closing.
    virtual void Closing() = 0;
};

// The automation object. Every call reports its result and none throws; a failure leaves nothing
// half done that the caller must undo. Destroying the object disconnects its events.
class EchoLink {
public:
    virtual ~EchoLink() = default;
    // True keys the transmitter until it is unkeyed (COM passes -1 or 0 in a 32-bit slot).
    virtual HResult SetTransmit(bool keyed) = 0;
    // EchoLink sends the text as Morse with its own ident settings; `reserved` is always 0 and
    // `text` a variant holding a string (VarType::Bstr).
    virtual HResult SendMorse(std::int32_t reserved, const Variant& text) = 0;
    // Shows the line in EchoLink's text chat and sends it to the stations connected.
    virtual HResult PostChatLine(const std::string& line) = 0;
};

// Creates the one automation object and connects its events to `events`, which must outlive it.
// Returns null when EchoLink cannot be reached; the caller then holds an empty reference.
class EchoLinkFactory {
public:
    virtual ~EchoLinkFactory() = default;
    virtual std::unique_ptr<EchoLink> Create(ChatEvents& events) = 0;
};

}  // namespace echolink
