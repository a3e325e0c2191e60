// EchoLink's automation object reached through COM: the three operations through the default
// interface's function table, the two events through its connection point. Owns the object.
#pragma once

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
    std::unique_ptr<echolink::EchoLink> Create(echolink::ChatEvents& events) override;
};

}  // namespace hosts::com
