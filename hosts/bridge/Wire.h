// The channel between the Linux service and the bridge inside EchoLink's Wine prefix: its messages,
// their byte form, and the strict reader that refuses anything malformed. Pure, no sockets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "echolink/Variant.h"

namespace hosts::bridge {

// A frame is a 4-byte big-endian payload length, then the payload. Nothing larger is read or
// written: a peer cannot make the other side hold more than this for one message.
inline constexpr std::size_t kHeaderSize = 4;
inline constexpr std::size_t kMaxPayload = 64 * 1024;
inline constexpr std::uint8_t kVersion = 1;
// The shared secret, raw; its file holds it as 64 hexadecimal digits.
inline constexpr std::size_t kSecretSize = 32;

// The payload's first byte. The service sends Hello and the three calls; the bridge sends the rest.
enum class Kind : std::uint8_t {
    Hello = 1,         // version, secret: the first message of the service, and only then
    Welcome = 2,       // version: the bridge took the secret and holds EchoLink's object
    SetTransmit = 3,   // call id, keyed
    SendMorse = 4,     // call id, reserved, variant
    PostChatLine = 5,  // call id, UTF-8 text
    Answer = 6,        // call id, HRESULT
    ChatText = 7,      // UTF-8 text
    Closing = 8,       // nothing
};

// One message; only the fields its kind names are meaningful, the rest stay at their defaults.
struct Message {
    Kind kind = Kind::Closing;
    std::uint32_t callId = 0;
    bool keyed = false;
    std::int32_t reserved = 0;
    echolink::Variant morse;
    std::string text;          // PostChatLine, ChatText: UTF-8
    std::int32_t result = 0;   // Answer: an HRESULT
    std::string secret;        // Hello: kSecretSize bytes
    std::uint8_t version = kVersion;  // Hello, Welcome
    friend bool operator==(const Message&, const Message&) = default;
};

// Why input was refused. Refused input is never acted on, and the connection that sent it ends.
enum class Refusal {
    None,
    EmptyFrame,      // a length of 0
    Oversized,       // a length above kMaxPayload
    UnknownKind,
    Truncated,       // the payload ends inside a field
    TrailingBytes,   // bytes after the last field
    BadFlag,         // a boolean that is neither 0 nor 1 (keyed) nor 0 nor -1 (VT_BOOL)
    BadVariantType,
    BadUtf8,
    BadVersion,
    BadSecretSize,
};

const char* Describe(Refusal refusal);

// The message alone, or nothing: kept apart from Decode's refusals for callers that only send.
struct Decoded {
    std::optional<Message> message;
    Refusal refusal = Refusal::None;
};

// The frame for `message`, header included; nothing when its text is not UTF-8 or the payload
// would pass kMaxPayload (the caller drops it: a cut line could end in a command it never had).
std::optional<std::string> Encode(const Message& message);

// One payload, header removed. Accepts exactly what Encode writes, nothing else.
Decoded Decode(std::string_view payload);

// True when `text` is well-formed UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
bool IsUtf8(std::string_view text);

// Cuts a byte stream into payloads. After the first refusal it stays refused and yields nothing.
class FrameReader {
public:
    // Takes bytes as they arrived; a length above the cap is refused at once, before its payload.
    void Feed(std::string_view bytes);
    // The next whole payload, if one has arrived.
    std::optional<std::string> Next();
    Refusal Refused() const { return refusal_; }

private:
    std::string buffer_;
    std::size_t start_ = 0;
    Refusal refusal_ = Refusal::None;
};

// Both ends read the same way: feeds `bytes` to `reader` and hands each whole message to `take`
// until input is refused or `take` returns false. Sets `ended` when the connection must end and
// returns the refusal that ended it (None when none did).
template <class Take>
Refusal ReadMessages(FrameReader& reader, std::string_view bytes, bool& ended, Take take) {
    Refusal refusal = Refusal::None;
    reader.Feed(bytes);
    while (!ended) {
        const std::optional<std::string> payload = reader.Next();
        if (!payload) break;
        const Decoded decoded = Decode(*payload);
        if (!decoded.message) {
            refusal = decoded.refusal;
            ended = true;
        } else if (!take(*decoded.message)) {
            ended = true;
        }
    }
    if (reader.Refused() != Refusal::None) {
        refusal = reader.Refused();
        ended = true;
    }
    return refusal;
}

}  // namespace hosts::bridge
