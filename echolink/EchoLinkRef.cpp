#include "echolink/EchoLinkRef.h"

namespace echolink {

HResult EchoLinkRef::Create(EchoLinkFactory& factory, ChatEvents& events) {
    // The object is created once per run; a second creation would connect the events twice.
    if (object_) {
        return kFail;
    }
    try {
        object_ = factory.Create(events);
    } catch (...) {
        object_.reset();
    }
    return object_ ? kOk : kNoObject;
}

HResult EchoLinkRef::SetTransmit(bool keyed) {
    return object_ ? object_->SetTransmit(keyed) : kNoObject;
}

HResult EchoLinkRef::SendMorse(std::int32_t reserved, const Variant& text) {
    return object_ ? object_->SendMorse(reserved, text) : kNoObject;
}

HResult EchoLinkRef::PostChatLine(const std::string& line) {
    return object_ ? object_->PostChatLine(line) : kNoObject;
}

}  // namespace echolink
