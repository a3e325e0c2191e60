// The main window's event-bound reference `oEchoLink`: holds the automation object or nothing.
// Owns the object; when empty every operation fails with kNoObject instead of crashing.
#pragma once

#include <memory>
#include <string>

#include "echolink/EchoLink.h"

namespace echolink {

class EchoLinkRef {
public:
    EchoLinkRef() = default;
    explicit EchoLinkRef(std::unique_ptr<EchoLink> object) : object_(std::move(object)) {}

    // Creates the object through `factory`, connecting `events`. A factory that fails (returns
    // null or throws) leaves the reference empty; the result says which way it went.
    HResult Create(EchoLinkFactory& factory, ChatEvents& events);

    bool Empty() const { return object_ == nullptr; }

    HResult SetTransmit(bool keyed);
    HResult SendMorse(std::int32_t reserved, const Variant& text);
    HResult PostChatLine(const std::string& line);

private:
    std::unique_ptr<EchoLink> object_;
};

}  // namespace echolink
