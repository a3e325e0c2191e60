// Bytes from either end of the bridge's channel. The decoder accepts only what the encoder writes
// (what it accepts goes back to the same bytes); the bridge calls EchoLink only after the right
// secret, calls nothing once it refused, and never leaves the transmitter keyed when the
// connection ends; the service reports nothing before the welcome and never fails a call twice.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "echolink/testing/FakeEchoLink.h"
#include "fuzz/Require.h"
#include "hosts/bridge/BridgeSession.h"
#include "hosts/bridge/ServicePeer.h"
#include "hosts/bridge/Wire.h"

namespace {

using fuzz::Require;
using namespace hosts::bridge;

const std::string kSecret(kSecretSize, '\x42');

struct NoEvents final : echolink::ChatEvents {
    void ChatTextReceived(const std::string&) override {}
    void Closing() override {}
};

void CheckDecode(std::string_view payload) {
    const Decoded d = Decode(payload);
    Require(d.message.has_value() == (d.refusal == Refusal::None));
    if (!d.message) return;
    const auto again = Encode(*d.message);
    Require(again.has_value());
    Require(std::string_view(*again).substr(kHeaderSize) == payload);
}

// The stream cut at the sizes its own bytes give, so frames split everywhere.
template <typename Sink>
void Pieces(std::string_view data, std::uint8_t step, Sink sink) {
    const std::size_t size = step % 16 + 1;
    for (std::size_t at = 0; at < data.size(); at += size) {
        if (!sink(data.substr(at, size))) return;
    }
}

void CheckBridge(std::string_view data, bool opened, std::uint8_t step) {
    NoEvents events;
    echolink::FakeEchoLinkFactory factory;
    factory.failSetTransmit = (step & 0x80) != 0;
    auto link = factory.Create(events);
    {
        BridgeSession session(kSecret, *link);
        if (opened) {
            Message hello;
            hello.kind = Kind::Hello;
            hello.secret = kSecret;
            Require(!session.Receive(*Encode(hello)).end);
        }
        Pieces(data, step, [&](std::string_view piece) {
            const std::size_t before = factory.calls.size();
            const auto reply = session.Receive(piece);
            if (!session.Authenticated()) Require(factory.calls.empty() && reply.bytes.empty());
            if (reply.refusal != Refusal::None) Require(reply.end);
            if (reply.end) {
                const std::size_t after = factory.calls.size();
                Require(session.Receive(piece).end && factory.calls.size() == after);
                return false;
            }
            Require(factory.calls.size() >= before);
            return true;
        });
    }
    // Whatever came, the last word to the transmitter is never "keyed".
    bool keyed = false;
    for (const auto& call : factory.calls) {
        if (call.op == echolink::Operation::SetTransmit) keyed = call.keyed;
    }
    Require(!keyed);
}

void CheckService(std::string_view data, std::uint8_t step) {
    ServicePeer peer(kSecret, std::chrono::seconds(1));
    const auto now = ServicePeer::Clock::time_point{};
    std::set<std::uint32_t> waiting;
    bool welcomed = false;
    Pieces(data, step, [&](std::string_view piece) {
        if (peer.Welcomed()) {
            Message key;
            key.kind = Kind::SetTransmit;
            if (auto out = peer.Call(key, now)) waiting.insert(out->callId);
        }
        const auto got = peer.Receive(piece);
        if (got.refusal != Refusal::None) Require(got.end);
        for (const auto& event : got.events) {
            Require(welcomed || event.kind == Kind::Welcome);
            if (event.kind == Kind::Welcome) {
                Require(!welcomed);
                welcomed = true;
            }
            if (event.kind == Kind::Answer) Require(waiting.erase(event.callId) == 1);
        }
        return !got.end;
    });
    for (const std::uint32_t id : peer.DropAll()) Require(waiting.erase(id) == 1);
    Require(waiting.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 1) return 0;
    const std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
    const std::uint8_t mode = bytes[0];
    CheckDecode(data);
    FrameReader reader;
    Pieces(data, mode, [&](std::string_view piece) {
        reader.Feed(piece);
        while (auto payload = reader.Next()) {
            Require(!payload->empty() && payload->size() <= kMaxPayload);
            CheckDecode(*payload);
        }
        return reader.Refused() == Refusal::None;
    });
    CheckBridge(data, (mode & 0x40) != 0, mode);
    CheckService(data, mode);
    return 0;
}
