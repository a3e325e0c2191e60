#include "hosts/bridge/ServicePeer.h"

namespace hosts::bridge {

std::string ServicePeer::Hello() const {
    Message hello;
    hello.kind = Kind::Hello;
    hello.secret = secret_;
    return Encode(hello).value_or(std::string());
}

std::optional<ServicePeer::Outgoing> ServicePeer::Call(Message call, Clock::time_point now) {
    if (!welcomed_ || ended_) return std::nullopt;
    if (call.kind != Kind::SetTransmit && call.kind != Kind::SendMorse && call.kind != Kind::PostChatLine) {
        return std::nullopt;
    }
    call.callId = lastId_ + 1;
    auto frame = Encode(call);
    if (!frame) return std::nullopt;
    lastId_ = call.callId;
    waiting_[call.callId] = now + bound_;
    return Outgoing{call.callId, std::move(*frame)};
}

ServicePeer::Received ServicePeer::Receive(std::string_view bytes) {
    Received received;
    if (ended_) {
        received.end = true;
        return received;
    }
    received.refusal = ReadMessages(reader_, bytes, ended_, [&](const Message& m) { return Take(m, received); });
    received.end = ended_;
    return received;
}

bool ServicePeer::Take(const Message& m, Received& received) {
    if (!welcomed_) {
        if (m.kind != Kind::Welcome) return false;
        welcomed_ = true;
        received.events.push_back({Kind::Welcome});
        return true;
    }
    switch (m.kind) {
    case Kind::Answer: {
        // An id never given out is a fault; one given out and no longer waiting came too late.
        if (m.callId == 0 || m.callId > lastId_) return false;
        if (waiting_.erase(m.callId) == 0) {
            ++lateAnswers_;
            return true;
        }
        received.events.push_back({Kind::Answer, m.callId, m.result, {}});
        return true;
    }
    case Kind::ChatText: received.events.push_back({Kind::ChatText, 0, 0, m.text}); return true;
    case Kind::Closing: received.events.push_back({Kind::Closing}); return true;
    default: return false;  // a second welcome, or what only the service sends
    }
}

std::vector<std::uint32_t> ServicePeer::Expire(Clock::time_point now) {
    std::vector<std::uint32_t> expired;
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (it->second <= now) {
            expired.push_back(it->first);
            it = waiting_.erase(it);
        } else {
            ++it;
        }
    }
    return expired;
}

std::optional<ServicePeer::Clock::time_point> ServicePeer::NextDeadline() const {
    std::optional<Clock::time_point> next;
    for (const auto& [id, deadline] : waiting_) {
        if (!next || deadline < *next) next = deadline;
    }
    return next;
}

std::vector<std::uint32_t> ServicePeer::DropAll() {
    std::vector<std::uint32_t> dropped;
    for (const auto& [id, deadline] : waiting_) dropped.push_back(id);
    waiting_.clear();
    ended_ = true;
    return dropped;
}

}  // namespace hosts::bridge
