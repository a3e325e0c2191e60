// Both ends of the channel against each other and against hostile peers: the secret gates every
// call, calls reach EchoLink in order, a keyed transmitter is unkeyed when its connection ends, and
// an answer that comes after its call was given up is never applied.
#include <gtest/gtest.h>

#include <chrono>

#include "echolink/testing/FakeEchoLink.h"
#include "hosts/bridge/BridgeSession.h"
#include "hosts/bridge/Secret.h"
#include "hosts/bridge/ServicePeer.h"

namespace hosts::bridge {
namespace {

using std::chrono::milliseconds;
using echolink::Operation;
using echolink::RecordedCall;

const std::string kSecret(kSecretSize, '\x5A');
constexpr milliseconds kBound{1600};
const ServicePeer::Clock::time_point kStart{};

Message Key(bool keyed) {
    Message m;
    m.kind = Kind::SetTransmit;
    m.keyed = keyed;
    return m;
}

Message Post(std::string text) {
    Message m;
    m.kind = Kind::PostChatLine;
    m.text = std::move(text);
    return m;
}

// The fake's events are raised by the tests through the session itself.
struct NoEvents final : echolink::ChatEvents {
    void ChatTextReceived(const std::string&) override {}
    void Closing() override {}
};

// The service and the bridge joined by hand: bytes cross only when a test moves them.
struct Channel {
    NoEvents events;
    echolink::FakeEchoLinkFactory factory;
    std::unique_ptr<echolink::EchoLink> link = factory.Create(events);
    std::optional<BridgeSession> bridge{std::in_place, kSecret, *link};
    ServicePeer service{kSecret, kBound};

    ServicePeer::Received ToService(const std::string& bytes) { return service.Receive(bytes); }
    BridgeSession::Reply ToBridge(const std::string& bytes) { return bridge->Receive(bytes); }
    // Hello and welcome.
    void Open() {
        const auto reply = ToBridge(service.Hello());
        ASSERT_FALSE(reply.end);
        ASSERT_EQ(ToService(reply.bytes).events.size(), 1u);
        ASSERT_TRUE(service.Welcomed());
    }
    // One call there and its answer back.
    ServicePeer::Received RoundTrip(const Message& call) {
        const auto out = service.Call(call, kStart);
        EXPECT_TRUE(out);
        return ToService(ToBridge(out->frame).bytes);
    }
};

TEST(ChannelEnds, CallsReachEchoLinkInOrderAndTheirAnswersComeBack) {
    Channel c;
    c.Open();
    c.factory.failPostChatLine = true;
    Message morse;
    morse.kind = Kind::SendMorse;
    morse.morse = echolink::Variant::FromString("cq test>");
    const auto keyed = c.RoundTrip(Key(true));
    c.RoundTrip(morse);
    const auto failed = c.RoundTrip(Post("á"));
    c.RoundTrip(Key(false));
    ASSERT_EQ(keyed.events.size(), 1u);
    EXPECT_EQ(keyed.events[0].kind, Kind::Answer);
    EXPECT_EQ(keyed.events[0].result, 0);
    ASSERT_EQ(failed.events.size(), 1u);
    EXPECT_EQ(failed.events[0].result, echolink::kFail.code);
    const std::vector<RecordedCall> expected = {
        {Operation::SetTransmit, true},
        {Operation::SendMorse, false, 0, echolink::Variant::FromString("cq test>")},
        {Operation::PostChatLine, false, 0, {}, "á"},
        {Operation::SetTransmit, false},
    };
    EXPECT_EQ(c.factory.calls, expected);
}

TEST(ChannelEnds, NothingReachesEchoLinkWithoutTheSecret) {
    Message wrong;
    wrong.kind = Kind::Hello;
    wrong.secret = std::string(kSecretSize, '\x5B');
    const std::string keyFrame = *Encode([] {
        Message m = Key(true);
        m.callId = 1;
        return m;
    }());
    const std::string openers[] = {*Encode(wrong), keyFrame, std::string("\x00\x00\x00\x05garbage", 11),
                                   std::string("\x7F\xFF\xFF\xFF", 4)};
    for (const std::string& opener : openers) {
        Channel c;
        const auto reply = c.ToBridge(opener + *Encode([] {
                                          Message hello;
                                          hello.kind = Kind::Hello;
                                          hello.secret = kSecret;
                                          return hello;
                                      }()) + keyFrame);
        EXPECT_TRUE(reply.end);
        EXPECT_TRUE(reply.bytes.empty()) << "no word to a peer that failed";
        EXPECT_TRUE(c.factory.calls.empty());
    }
}

TEST(ChannelEnds, AProtocolBreakEndsTheConnectionAndUnkeysWhatItKeyed) {
    struct Case {
        const char* what;
        std::string after;
    };
    Message secondHello;
    secondHello.kind = Kind::Hello;
    secondHello.secret = kSecret;
    Message answer;
    answer.kind = Kind::Answer;
    const Case cases[] = {
        {"second hello", *Encode(secondHello)},
        {"what only the bridge sends", *Encode(answer)},
        {"truncated field", std::string("\x00\x00\x00\x02\x03\x00", 6)},
        {"oversized", std::string("\x00\x10\x00\x00", 4)},
    };
    for (const Case& k : cases) {
        Channel c;
        c.Open();
        c.RoundTrip(Key(true));
        const auto reply = c.ToBridge(k.after + *Encode([] {
                                          Message m = Key(true);
                                          m.callId = 9;
                                          return m;
                                      }()));
        EXPECT_TRUE(reply.end) << k.what;
        c.bridge.reset();  // the connection is dropped
        const std::vector<RecordedCall> expected = {{Operation::SetTransmit, true}, {Operation::SetTransmit, false}};
        EXPECT_EQ(c.factory.calls, expected) << k.what;
    }
}

TEST(ChannelEnds, AConnectionThatUnkeyedLeavesTheTransmitterAlone) {
    Channel c;
    c.Open();
    c.RoundTrip(Key(true));
    c.RoundTrip(Key(false));
    c.bridge.reset();
    EXPECT_EQ(c.factory.calls.size(), 2u);
}

TEST(ChannelEnds, EventsCrossOnlyAfterTheWelcome) {
    Channel c;
    EXPECT_FALSE(c.bridge->ChatText("QD4RV>bom dia="));
    c.Open();
    const auto got = c.ToService(*c.bridge->ChatText("QD4RV>bom dia=") + *c.bridge->Closing());
    ASSERT_EQ(got.events.size(), 2u);
    EXPECT_EQ(got.events[0].kind, Kind::ChatText);
    EXPECT_EQ(got.events[0].text, "QD4RV>bom dia=");
    EXPECT_EQ(got.events[1].kind, Kind::Closing);
    EXPECT_FALSE(c.bridge->ChatText(std::string(kMaxPayload, 'x'))) << "too long to carry whole";
}

TEST(ChannelEnds, ALateAnswerIsNeverApplied) {
    Channel c;
    c.Open();
    const auto first = c.service.Call(Key(true), kStart);
    const auto second = c.service.Call(Key(false), kStart + milliseconds(100));
    EXPECT_EQ(c.service.NextDeadline(), kStart + kBound);
    EXPECT_TRUE(c.service.Expire(kStart + kBound - milliseconds(1)).empty());
    EXPECT_EQ(c.service.Expire(kStart + kBound), std::vector<std::uint32_t>{first->callId});
    const auto got = c.ToService(c.ToBridge(first->frame + second->frame).bytes);
    ASSERT_EQ(got.events.size(), 1u);
    EXPECT_EQ(got.events[0].callId, second->callId);
    EXPECT_EQ(c.service.LateAnswers(), 1u);
    EXPECT_FALSE(got.end);
}

TEST(ChannelEnds, TheServiceDropsABridgeThatBreaksTheProtocol) {
    Message welcome;
    welcome.kind = Kind::Welcome;
    Message answer;
    answer.kind = Kind::Answer;
    answer.callId = 5;  // never given out
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"second welcome", *Encode(welcome)},
        {"answer to no call", *Encode(answer)},
        {"a call", *Encode([] {
             Message m = Key(true);
             m.callId = 1;
             return m;
         }())},
        {"bad text", std::string("\x00\x00\x00\x02\x07\xC3", 6)},
    };
    for (const Case& k : cases) {
        Channel c;
        c.Open();
        EXPECT_TRUE(c.ToService(k.bytes).end) << k.what;
        EXPECT_FALSE(c.service.Call(Key(true), kStart)) << k.what;
    }
    Message closing;
    closing.kind = Kind::Closing;
    ServicePeer unwelcomed(kSecret, kBound);
    EXPECT_TRUE(unwelcomed.Receive(*Encode(closing)).end) << "anything before the welcome";
}

}  // namespace
}  // namespace hosts::bridge
