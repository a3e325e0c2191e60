#include "echolink/testing/FakeEchoLink.h"

namespace echolink {

std::string Describe(const RecordedCall& call) {
    switch (call.op) {
    case Operation::SetTransmit:
        return call.keyed ? "SetTransmit(True)" : "SetTransmit(False)";
    case Operation::SendMorse: {
        std::string out = "SendMorse(" + std::to_string(call.reserved) + ", ";
        out += call.text.HoldsString() ? "BSTR '" + std::string(call.text.String()) + "')"
                                       : "VT " + std::to_string(static_cast<int>(call.text.Type())) + ")";
        return out;
    }
    case Operation::PostChatLine:
        return "PostChatLine('" + call.line + "')";
    }
    return "?";
}

std::unique_ptr<EchoLink> FakeEchoLinkFactory::Create(ChatEvents& events) {
    if (!available) {
        return nullptr;
    }
    ++created;
    events_ = &events;
    return std::make_unique<FakeEchoLink>(*this);
}

HResult FakeEchoLinkFactory::Record(RecordedCall call, bool fail) {
    if (recordCalls) {
        calls.push_back(call);
        if (onCall) {
            onCall(calls.back());
        }
    }
    if (answer) {
        return answer(call);
    }
    return fail ? kFail : kOk;
}

HResult FakeEchoLink::SetTransmit(bool keyed) {
    RecordedCall call;
    call.op = Operation::SetTransmit;
    call.keyed = keyed;
    return owner_.Record(std::move(call), owner_.failSetTransmit);
}

HResult FakeEchoLink::SendMorse(std::int32_t reserved, const Variant& text) {
    RecordedCall call;
    call.op = Operation::SendMorse;
    call.reserved = reserved;
    call.text = text;
    return owner_.Record(std::move(call), owner_.failSendMorse);
}

HResult FakeEchoLink::PostChatLine(const std::string& line) {
    RecordedCall call;
    call.op = Operation::PostChatLine;
    call.line = line;
    return owner_.Record(std::move(call), owner_.failPostChatLine);
}

}  // namespace echolink
