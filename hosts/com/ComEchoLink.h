// EchoLink's automation object reached through COM: the three operations through the default
// interface's function table, the two events through its connection point. Owns the object.
#pragma once

#include <chrono>
#include <memory>

#include "echolink/EchoLink.h"

namespace hosts::com {

class ComEchoLink;

// The factory the main window creates `oEchoLink` with. Creation runs on the window's thread,
// which it joins to a single-threaded apartment; that thread's message loop then delivers the
// events. Null when the class is not registered, its server fails, or its events cannot be
// connected (their type library is missing or has no such names).
class ComEchoLinkFactory final : public echolink::EchoLinkFactory {
public:
    // No call to EchoLink holds the window longer than this, as on Linux: a hung EchoLink costs
    // the operator a two-second wait per call, and the call fails with RPC_E_TIMEOUT.
    static constexpr std::chrono::milliseconds kCallTimeout{2000};

    ComEchoLinkFactory() = default;
    explicit ComEchoLinkFactory(std::chrono::milliseconds callTimeout) : callTimeout_(callTimeout) {}
    std::unique_ptr<echolink::EchoLink> Create(echolink::ChatEvents& events) override;

private:
    std::chrono::milliseconds callTimeout_ = kCallTimeout;
};

}  // namespace hosts::com
