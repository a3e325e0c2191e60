// The bridge's end of one connection: takes the secret, runs the service's calls on EchoLink in
// the order they came, and turns EchoLink's events into frames. Borrows the link; owns its reader.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "echolink/EchoLink.h"
#include "hosts/bridge/Wire.h"

namespace hosts::bridge {

class BridgeSession {
public:
    BridgeSession(std::string secret, echolink::EchoLink& link) : secret_(std::move(secret)), link_(link) {}
    // A transmitter this connection keyed is unkeyed when it ends, whoever ended it.
    ~BridgeSession();
    BridgeSession(const BridgeSession&) = delete;
    BridgeSession& operator=(const BridgeSession&) = delete;

    struct Reply {
        std::string bytes;           // to send back, in order
        bool end = false;            // drop the connection (after sending `bytes`)
        Refusal refusal = Refusal::None;  // why, when the input was malformed
        bool echoLinkGone = false;   // a call found EchoLink's object gone: the bridge ends
    };
    // Bytes from the service. Nothing is called on EchoLink before the right secret arrived, and
    // nothing at all once the connection is to end.
    Reply Receive(std::string_view bytes);

    // EchoLink's events as frames; nothing before the service proved itself, or for a line the
    // channel cannot carry whole.
    std::optional<std::string> ChatText(const std::string& line) const;
    std::optional<std::string> Closing() const;

    bool Authenticated() const { return authenticated_; }
    bool Keyed() const { return keyed_; }

private:
    // The answer's frame; false when the message may not come from the service.
    bool Run(const Message& call, Reply& reply);

    std::string secret_;
    echolink::EchoLink& link_;
    FrameReader reader_;
    bool authenticated_ = false;
    bool ended_ = false;
    bool keyed_ = false;
};

// HRESULTs that mean EchoLink's object is gone for good (its process ended or disconnected us).
bool MeansGone(echolink::HResult result);

}  // namespace hosts::bridge
