#include <gtest/gtest.h>

#include <stdexcept>

#include "echolink/EchoLinkRef.h"
#include "echolink/testing/FakeEchoLink.h"

namespace echolink {
namespace {

struct NullEvents : ChatEvents {
    std::vector<std::string> lines;
    int closings = 0;
    void ChatTextReceived(const std::string& line) override { lines.push_back(line); }
    void Closing() override { ++closings; }
};

struct ThrowingFactory : EchoLinkFactory {
    std::unique_ptr<EchoLink> Create(ChatEvents&) override { throw std::runtime_error("no server"); }
};

// Every operation through an empty reference fails the same way, whatever made it empty.
TEST(EchoLinkRef, EmptyReferenceFailsEveryOperation) {
    FakeEchoLinkFactory absent;
    absent.available = false;
    ThrowingFactory throwing;
    NullEvents events;
    EchoLinkFactory* factories[] = {&absent, &throwing};
    for (EchoLinkFactory* factory : factories) {
        EchoLinkRef ref;
        EXPECT_EQ(ref.Create(*factory, events), kNoObject);
        EXPECT_TRUE(ref.Empty());
        EXPECT_EQ(ref.SetTransmit(true), kNoObject);
        EXPECT_EQ(ref.SendMorse(0, Variant::FromString("cq>")), kNoObject);
        EXPECT_EQ(ref.PostChatLine("x"), kNoObject);
    }
    EXPECT_TRUE(absent.calls.empty());
}

TEST(EchoLinkRef, ForwardsCallsInOrderWithTheirArguments) {
    FakeEchoLinkFactory factory;
    NullEvents events;
    EchoLinkRef ref;
    ASSERT_EQ(ref.Create(factory, events), kOk);
    EXPECT_EQ(ref.SetTransmit(true), kOk);
    EXPECT_EQ(ref.SendMorse(0, Variant::FromString("cq test>")), kOk);
    EXPECT_EQ(ref.SetTransmit(false), kOk);
    EXPECT_EQ(ref.PostChatLine(" Dizo chat está ligado..."), kOk);

    std::vector<std::string> described;
    for (const RecordedCall& call : factory.calls) {
        described.push_back(Describe(call));
    }
    EXPECT_EQ(described, (std::vector<std::string>{"SetTransmit(True)", "SendMorse(0, BSTR 'cq test>')",
                                                   "SetTransmit(False)",
                                                   "PostChatLine(' Dizo chat está ligado...')"}));
    EXPECT_EQ(factory.calls[1].text.Type(), VarType::Bstr);
}

TEST(EchoLinkRef, IsCreatedOnlyOnce) {
    FakeEchoLinkFactory factory;
    NullEvents events;
    EchoLinkRef ref;
    ASSERT_EQ(ref.Create(factory, events), kOk);
    EXPECT_EQ(ref.Create(factory, events), kFail);
    EXPECT_EQ(factory.created, 1);
}

TEST(EchoLinkRef, FailuresComeBackToTheCaller) {
    FakeEchoLinkFactory factory;
    factory.failSetTransmit = factory.failSendMorse = factory.failPostChatLine = true;
    NullEvents events;
    EchoLinkRef ref;
    ASSERT_EQ(ref.Create(factory, events), kOk);
    EXPECT_TRUE(ref.SetTransmit(true).Failed());
    EXPECT_TRUE(ref.SendMorse(0, Variant::FromString("x>")).Failed());
    EXPECT_TRUE(ref.PostChatLine("x").Failed());
    EXPECT_EQ(factory.calls.size(), 3u);  // attempted all the same
}

TEST(EchoLinkRef, EventsStopWhenTheObjectIsReleased) {
    FakeEchoLinkFactory factory;
    NullEvents events;
    {
        EchoLinkRef ref;
        ASSERT_EQ(ref.Create(factory, events), kOk);
        factory.RaiseChatTextReceived("QD4RV>oi=");
        factory.RaiseClosing();
    }
    factory.RaiseChatTextReceived("late>");
    EXPECT_EQ(events.lines, std::vector<std::string>{"QD4RV>oi="});
    EXPECT_EQ(events.closings, 1);
}

TEST(Variant, RecordsWhatItHolds) {
    struct Row {
        Variant v;
        VarType type;
        std::string_view text;
        std::int32_t number;
    };
    const Row rows[] = {
        {Variant(), VarType::Empty, "", 0},
        {Variant::FromString("cq>"), VarType::Bstr, "cq>", 0},
        {Variant::FromString(std::string("a\0b", 3)), VarType::Bstr, std::string_view("a\0b", 3), 0},
        {Variant::FromInt32(7), VarType::I4, "", 7},
        {Variant::FromBool(true), VarType::Bool, "", -1},
        {Variant::FromBool(false), VarType::Bool, "", 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.v.Type(), row.type);
        EXPECT_EQ(row.v.String(), row.text);
        EXPECT_EQ(row.v.Int32(), row.number);
    }
    EXPECT_NE(Variant::FromString(""), Variant());  // an empty string is still a string
}

}  // namespace
}  // namespace echolink
