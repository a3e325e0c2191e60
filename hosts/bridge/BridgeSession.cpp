#include "hosts/bridge/BridgeSession.h"

#include "hosts/bridge/Secret.h"

namespace hosts::bridge {

bool MeansGone(echolink::HResult result) {
    switch (static_cast<std::uint32_t>(result.code)) {
    case 0x80010108u:  // RPC_E_DISCONNECTED
    case 0x80010007u:  // RPC_E_SERVER_DIED
    case 0x80010012u:  // RPC_E_SERVER_DIED_DNE
    case 0x800706BAu:  // the RPC server is unavailable
    case 0x800706BEu:  // the remote procedure call failed
    case 0x800401FDu:  // CO_E_OBJNOTCONNECTED
        return true;
    default: return false;
    }
}

BridgeSession::~BridgeSession() {
    if (keyed_) (void)link_.SetTransmit(false);
}

BridgeSession::Reply BridgeSession::Receive(std::string_view bytes) {
    Reply reply;
    if (ended_) {
        reply.end = true;
        return reply;
    }
    reply.refusal = ReadMessages(reader_, bytes, ended_, [&](const Message& m) { return Run(m, reply); });
    reply.end = ended_;
    return reply;
}

bool BridgeSession::Run(const Message& call, Reply& reply) {
    if (!authenticated_) {
        // The only first message is the right secret; a wrong one gets no word back.
        if (call.kind != Kind::Hello || !SameSecret(call.secret, secret_)) return false;
        authenticated_ = true;
        Message welcome;
        welcome.kind = Kind::Welcome;
        reply.bytes += *Encode(welcome);
        return true;
    }
    echolink::HResult result;
    switch (call.kind) {
    case Kind::SetTransmit:
        result = link_.SetTransmit(call.keyed);
        // A call given up at its bound may still key later, so only a sure unkeying clears this.
        if (call.keyed) keyed_ = true;
        else if (!result.Failed()) keyed_ = false;
        break;
    case Kind::SendMorse: result = link_.SendMorse(call.reserved, call.morse); break;
    case Kind::PostChatLine: result = link_.PostChatLine(call.text); break;
    default: return false;  // a second hello, or what only the bridge sends
    }
    Message answer;
    answer.kind = Kind::Answer;
    answer.callId = call.callId;
    answer.result = result.code;
    reply.bytes += *Encode(answer);
    if (MeansGone(result)) {
        reply.echoLinkGone = true;
        keyed_ = false;  // nothing is left to unkey
        return false;
    }
    return true;
}

std::optional<std::string> BridgeSession::ChatText(const std::string& line) const {
    if (!authenticated_ || ended_) return std::nullopt;
    Message event;
    event.kind = Kind::ChatText;
    event.text = line;
    return Encode(event);
}

std::optional<std::string> BridgeSession::Closing() const {
    if (!authenticated_ || ended_) return std::nullopt;
    Message event;
    event.kind = Kind::Closing;
    return Encode(event);
}

}  // namespace hosts::bridge
