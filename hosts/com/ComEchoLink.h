// EchoLink's automation object reached through COM: the three operations through the default
// interface's function table, the two events through its connection point. Owns the object.
#pragma once

#include <chrono>
#include <memory>

#include "echolink/HResult.h"

#include "echolink/EchoLink.h"

namespace hosts::com {

class ComEchoLink;

// The factory the main window creates `oEchoLink` with. Creation and every call run on a worker
// thread of their own; the window's thread waits for each at most the call bound, and its message
// loop delivers the events. Null when the class is not registered, its server fails, or its events
// cannot be connected (their type library is missing or has no such names). An EchoLink that has
// not answered within the bound gives an object whose calls fail at once until it does; then it
// is connected, and the calls made meanwhile reach it in order.
class ComEchoLinkFactory final : public echolink::EchoLinkFactory {
public:
    // No call to EchoLink holds the window longer than this, as on Linux: a hung EchoLink costs
    // the operator a two-second wait per call, and the call fails with RPC_E_TIMEOUT.
    static constexpr std::chrono::milliseconds kCallTimeout{2000};
    // At the end, an unkeying EchoLink still owes an answer to (or a keying left standing) is
    // waited for this long: the transmitter matters more than a prompt exit.
    static constexpr std::chrono::milliseconds kEndTimeout{5000};

    ComEchoLinkFactory();
    ComEchoLinkFactory(std::chrono::milliseconds callTimeout, std::chrono::milliseconds endTimeout);
    ~ComEchoLinkFactory() override;
    std::unique_ptr<echolink::EchoLink> Create(echolink::ChatEvents& events) override;

    // SetTransmit(false) through the call worker of the object alive now, from any thread (the
    // transmit guard's): it needs neither the window's thread nor its messages, and waits at most
    // the call bound. kNoObject when no object is alive.
    echolink::HResult UnkeyFromAnyThread() const;

    struct GuardPath;  // what the object alive now lends the guard, in the .cpp

private:
    std::shared_ptr<GuardPath> guardPath_;
    std::chrono::milliseconds callTimeout_ = kCallTimeout;
    std::chrono::milliseconds endTimeout_ = kEndTimeout;
};

}  // namespace hosts::com
