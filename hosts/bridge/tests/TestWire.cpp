// The channel's byte form: every message survives the trip, and malformed input is refused with
// its reason, whole or cut into pieces.
#include <gtest/gtest.h>

#include "hosts/bridge/Wire.h"

namespace hosts::bridge {
namespace {

std::string Payload(const Message& m) { return Encode(m).value().substr(kHeaderSize); }

Message Make(Kind kind) {
    Message m;
    m.kind = kind;
    return m;
}

std::vector<Message> EveryKind() {
    Message hello = Make(Kind::Hello);
    hello.secret = std::string(kSecretSize, '\xA5');
    Message key = Make(Kind::SetTransmit);
    key.callId = 0xFFFFFFFFu;
    key.keyed = true;
    Message morse = Make(Kind::SendMorse);
    morse.callId = 7;
    morse.morse = echolink::Variant::FromString("cq test>");
    Message morseInt = morse;
    morseInt.reserved = -5;
    morseInt.morse = echolink::Variant::FromInt32(-2);
    Message morseBool = morse;
    morseBool.morse = echolink::Variant::FromBool(true);
    Message morseEmpty = morse;
    morseEmpty.morse = {};
    Message post = Make(Kind::PostChatLine);
    post.callId = 3;
    post.text = std::string(" Dizo chat está ligado...") + '\0' + "x";  // NUL is a character too
    Message answer = Make(Kind::Answer);
    answer.callId = 3;
    answer.result = static_cast<std::int32_t>(0x80004005u);
    Message chat = Make(Kind::ChatText);
    chat.text = "QD4RV>bom dia=";
    Message empty = Make(Kind::ChatText);
    return {hello, Make(Kind::Welcome), key, morse, morseInt, morseBool, morseEmpty, post, answer, chat, empty,
            Make(Kind::Closing)};
}

TEST(Wire, EveryMessageComesBackAsItWasSent) {
    for (const Message& m : EveryKind()) {
        const Decoded back = Decode(Payload(m));
        ASSERT_TRUE(back.message) << Describe(back.refusal);
        EXPECT_EQ(*back.message, m) << static_cast<int>(m.kind);
    }
}

TEST(Wire, MalformedPayloadsAreRefusedWithTheirReason) {
    const std::string secret(kSecretSize, 's');
    struct Case {
        std::string payload;
        Refusal refusal;
    };
    const Case cases[] = {
        {"", Refusal::EmptyFrame},
        {"\x09", Refusal::UnknownKind},
        {std::string("\x00", 1), Refusal::UnknownKind},
        {"\x01", Refusal::Truncated},
        {"\x01\x02" + secret, Refusal::BadVersion},
        {"\x01\x01" + secret.substr(1), Refusal::BadSecretSize},
        {"\x01\x01" + secret + "x", Refusal::BadSecretSize},
        {"\x02", Refusal::Truncated},
        {"\x02\x01\x01", Refusal::TrailingBytes},
        {"\x03\x01\x02\x03", Refusal::Truncated},
        {std::string("\x03\x00\x00\x00\x01", 5), Refusal::Truncated},
        {std::string("\x03\x00\x00\x00\x01\x02", 6), Refusal::BadFlag},
        {std::string("\x03\x00\x00\x00\x01\x01\x00", 7), Refusal::TrailingBytes},
        {std::string("\x04\x00\x00\x00\x01\x00\x00\x00\x00", 9), Refusal::Truncated},
        {std::string("\x04\x00\x00\x00\x01\x00\x00\x00\x00\x09", 10), Refusal::BadVariantType},
        {std::string("\x04\x00\x00\x00\x01\x00\x00\x00\x00\x03\x00\x00", 12), Refusal::Truncated},
        {std::string("\x04\x00\x00\x00\x01\x00\x00\x00\x00\x03\x00\x00\x00\x01\x00", 15), Refusal::TrailingBytes},
        {std::string("\x04\x00\x00\x00\x01\x00\x00\x00\x00\x0B\x00\x00\x00\x01", 14), Refusal::BadFlag},
        {std::string("\x04\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00", 11), Refusal::TrailingBytes},
        {std::string("\x04\x00\x00\x00\x01\x00\x00\x00\x00\x08\xC3", 11), Refusal::BadUtf8},
        {std::string("\x05\x00\x00", 3), Refusal::Truncated},
        {std::string("\x05\x00\x00\x00\x01\xC0\xAF", 7), Refusal::BadUtf8},  // overlong '/'
        {std::string("\x06\x00\x00\x00\x01\x00", 6), Refusal::Truncated},
        {"\x07\xED\xA0\x80", Refusal::BadUtf8},  // a surrogate
        {"\x07\xF4\x90\x80\x80", Refusal::BadUtf8},  // past U+10FFFF
        {"\x07\xFF", Refusal::BadUtf8},
        {std::string("\x08\x00", 2), Refusal::TrailingBytes},
        {std::string(kMaxPayload + 1, '\x07'), Refusal::Oversized},
    };
    for (const Case& c : cases) {
        const Decoded d = Decode(c.payload);
        EXPECT_FALSE(d.message) << testing::PrintToString(c.payload);
        EXPECT_EQ(d.refusal, c.refusal) << testing::PrintToString(c.payload) << ": " << Describe(d.refusal);
    }
}

TEST(Wire, EncodeRefusesWhatTheOtherEndWouldRefuse) {
    Message badText = Make(Kind::ChatText);
    badText.text = "\xC3";
    Message shortSecret = Make(Kind::Hello);
    shortSecret.secret = "abc";
    Message huge = Make(Kind::ChatText);
    huge.text = std::string(kMaxPayload, 'a');  // with its kind byte, one over
    Message badMorse = Make(Kind::SendMorse);
    badMorse.morse = echolink::Variant::FromString("\xFF");
    for (const Message& m : {badText, shortSecret, huge, badMorse}) EXPECT_FALSE(Encode(m)) << static_cast<int>(m.kind);
    huge.text.pop_back();
    EXPECT_TRUE(Encode(huge));
}

TEST(FrameReader, YieldsWholePayloadsHoweverTheBytesArrive) {
    std::string stream;
    for (const Message& m : EveryKind()) stream += *Encode(m);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{7}, stream.size()}) {
        FrameReader reader;
        std::vector<Message> got;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            reader.Feed(std::string_view(stream).substr(at, piece));
            while (auto payload = reader.Next()) got.push_back(*Decode(*payload).message);
        }
        EXPECT_EQ(got, EveryKind()) << "pieces of " << piece;
        EXPECT_EQ(reader.Refused(), Refusal::None);
    }
}

TEST(FrameReader, RefusesABadLengthAtOnceAndForGood) {
    struct Case {
        std::string bytes;
        Refusal refusal;
    };
    const Case cases[] = {
        {std::string("\x00\x00\x00\x00", 4), Refusal::EmptyFrame},
        {std::string("\x00\x01\x00\x01", 4), Refusal::Oversized},  // refused before its payload came
        {std::string("\xFF\xFF\xFF\xFF", 4), Refusal::Oversized},
        {*Encode(Make(Kind::Closing)) + std::string("\x00\x00\x00\x00", 4), Refusal::EmptyFrame},
    };
    for (const Case& c : cases) {
        FrameReader reader;
        reader.Feed(c.bytes);
        while (reader.Next()) {
        }
        EXPECT_EQ(reader.Refused(), c.refusal);
        reader.Feed(*Encode(Make(Kind::Closing)));
        EXPECT_FALSE(reader.Next()) << "nothing after a refusal";
    }
}

}  // namespace
}  // namespace hosts::bridge
