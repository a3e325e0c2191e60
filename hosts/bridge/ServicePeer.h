// The Linux service's end of the channel without its socket or bus: says hello, numbers the calls,
// keeps each one's deadline, and matches the bridge's answers to the calls still waiting. Pure.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/bridge/Wire.h"

namespace hosts::bridge {

class ServicePeer {
public:
    using Clock = std::chrono::steady_clock;

    // `bound`: how long a call waits for its answer before it is given up.
    ServicePeer(std::string secret, Clock::duration bound) : secret_(std::move(secret)), bound_(bound) {}

    // The first frame to send.
    std::string Hello() const;

    struct Outgoing {
        std::uint32_t callId = 0;
        std::string frame;
    };
    // A call (SetTransmit, SendMorse or PostChatLine; its id is given here) to send now, waiting
    // until `now` plus the bound. Nothing when it cannot be carried (text too long) or the bridge
    // has not welcomed us.
    std::optional<Outgoing> Call(Message call, Clock::time_point now);

    struct Event {
        Kind kind = Kind::Welcome;  // Welcome, Answer, ChatText or Closing
        std::uint32_t callId = 0;   // Answer
        std::int32_t result = 0;    // Answer
        std::string text;           // ChatText
    };
    struct Received {
        std::vector<Event> events;   // in order; those before a fault are still good
        bool end = false;            // the bridge broke the protocol: drop it
        Refusal refusal = Refusal::None;
    };
    // Bytes from the bridge. An answer to a call already given up is dropped here, never applied.
    Received Receive(std::string_view bytes);

    // The calls whose bound has passed, given up from now on.
    std::vector<std::uint32_t> Expire(Clock::time_point now);
    std::optional<Clock::time_point> NextDeadline() const;
    // Every call still waiting, given up because the channel is gone.
    std::vector<std::uint32_t> DropAll();

    bool Welcomed() const { return welcomed_; }
    std::size_t LateAnswers() const { return lateAnswers_; }

private:
    bool Take(const Message& message, Received& received);

    std::string secret_;
    Clock::duration bound_;
    FrameReader reader_;
    std::map<std::uint32_t, Clock::time_point> waiting_;
    std::uint32_t lastId_ = 0;
    bool welcomed_ = false;
    bool ended_ = false;
    std::size_t lateAnswers_ = 0;
};

}  // namespace hosts::bridge
