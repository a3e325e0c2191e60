#include "hosts/bridge/Wire.h"

namespace hosts::bridge {

namespace {

void PutU32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t GetU32(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    return value;
}

// Reads fields front to back; the first field that does not fit marks the whole payload truncated.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}
    bool U8(std::uint8_t& out) {
        if (rest_.empty()) return Short();
        out = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return true;
    }
    bool U32(std::uint32_t& out) {
        if (rest_.size() < 4) return Short();
        out = GetU32(rest_);
        rest_.remove_prefix(4);
        return true;
    }
    bool I32(std::int32_t& out) {
        std::uint32_t raw = 0;
        if (!U32(raw)) return false;
        out = static_cast<std::int32_t>(raw);
        return true;
    }
    // Everything left, as the message's last field.
    std::string_view Rest() {
        const std::string_view all = rest_;
        rest_ = {};
        return all;
    }
    bool Done() const { return rest_.empty(); }
    bool truncated = false;

private:
    bool Short() {
        truncated = true;
        return false;
    }
    std::string_view rest_;
};

Decoded Refuse(Refusal why) { return {std::nullopt, why}; }

Decoded DecodeVariant(Reader& in, Message& m) {
    std::uint8_t type = 0;
    if (!in.U8(type)) return Refuse(Refusal::Truncated);
    switch (static_cast<echolink::VarType>(type)) {
    case echolink::VarType::Empty: m.morse = {}; break;
    case echolink::VarType::I4:
    case echolink::VarType::Bool: {
        std::int32_t value = 0;
        if (!in.I32(value)) return Refuse(Refusal::Truncated);
        if (static_cast<echolink::VarType>(type) == echolink::VarType::I4) {
            m.morse = echolink::Variant::FromInt32(value);
        } else if (value == 0 || value == -1) {
            m.morse = echolink::Variant::FromBool(value != 0);
        } else {
            return Refuse(Refusal::BadFlag);
        }
        break;
    }
    case echolink::VarType::Bstr: {
        const std::string_view text = in.Rest();
        if (!IsUtf8(text)) return Refuse(Refusal::BadUtf8);
        m.morse = echolink::Variant::FromString(std::string(text));
        break;
    }
    default: return Refuse(Refusal::BadVariantType);
    }
    if (!in.Done()) return Refuse(Refusal::TrailingBytes);
    return {std::move(m), Refusal::None};
}

}  // namespace

const char* Describe(Refusal refusal) {
    switch (refusal) {
    case Refusal::None: return "accepted";
    case Refusal::EmptyFrame: return "empty frame";
    case Refusal::Oversized: return "frame larger than the limit";
    case Refusal::UnknownKind: return "unknown message kind";
    case Refusal::Truncated: return "message ends inside a field";
    case Refusal::TrailingBytes: return "bytes after the message's last field";
    case Refusal::BadFlag: return "boolean neither true nor false";
    case Refusal::BadVariantType: return "unknown variant type";
    case Refusal::BadUtf8: return "text is not UTF-8";
    case Refusal::BadVersion: return "unknown protocol version";
    case Refusal::BadSecretSize: return "secret of the wrong size";
    }
    return "unknown refusal";
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1Fu, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0Fu, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07u, least = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::optional<std::string> Encode(const Message& m) {
    std::string payload;
    payload += static_cast<char>(m.kind);
    switch (m.kind) {
    case Kind::Hello:
        if (m.secret.size() != kSecretSize) return std::nullopt;
        payload += static_cast<char>(m.version);
        payload += m.secret;
        break;
    case Kind::Welcome: payload += static_cast<char>(m.version); break;
    case Kind::SetTransmit:
        PutU32(payload, m.callId);
        payload += static_cast<char>(m.keyed ? 1 : 0);
        break;
    case Kind::SendMorse:
        PutU32(payload, m.callId);
        PutU32(payload, static_cast<std::uint32_t>(m.reserved));
        payload += static_cast<char>(m.morse.Type());
        if (m.morse.Type() == echolink::VarType::Bstr) {
            if (!IsUtf8(m.morse.String())) return std::nullopt;
            payload += m.morse.String();
        } else if (m.morse.Type() != echolink::VarType::Empty) {
            PutU32(payload, static_cast<std::uint32_t>(m.morse.Int32()));
        }
        break;
    case Kind::PostChatLine:
    case Kind::ChatText:
        if (!IsUtf8(m.text)) return std::nullopt;
        if (m.kind == Kind::PostChatLine) PutU32(payload, m.callId);
        payload += m.text;
        break;
    case Kind::Answer:
        PutU32(payload, m.callId);
        PutU32(payload, static_cast<std::uint32_t>(m.result));
        break;
    case Kind::Closing: break;
    default: return std::nullopt;
    }
    if (payload.size() > kMaxPayload) return std::nullopt;
    std::string frame;
    frame.reserve(kHeaderSize + payload.size());
    PutU32(frame, static_cast<std::uint32_t>(payload.size()));
    return frame + payload;
}

Decoded Decode(std::string_view payload) {
    if (payload.empty()) return Refuse(Refusal::EmptyFrame);
    if (payload.size() > kMaxPayload) return Refuse(Refusal::Oversized);
    Reader in(payload);
    std::uint8_t kind = 0;
    in.U8(kind);
    Message m;
    m.kind = static_cast<Kind>(kind);
    bool ok = true;
    switch (m.kind) {
    case Kind::Hello: {
        ok = in.U8(m.version);
        if (ok && m.version != kVersion) return Refuse(Refusal::BadVersion);
        if (!ok) break;
        const std::string_view secret = in.Rest();
        if (secret.size() != kSecretSize) return Refuse(Refusal::BadSecretSize);
        m.secret = std::string(secret);
        break;
    }
    case Kind::Welcome:
        ok = in.U8(m.version);
        if (ok && m.version != kVersion) return Refuse(Refusal::BadVersion);
        break;
    case Kind::SetTransmit: {
        std::uint8_t keyed = 0;
        ok = in.U32(m.callId) && in.U8(keyed);
        if (ok && keyed > 1) return Refuse(Refusal::BadFlag);
        m.keyed = keyed == 1;
        break;
    }
    case Kind::SendMorse:
        ok = in.U32(m.callId) && in.I32(m.reserved);
        if (ok) return DecodeVariant(in, m);
        break;
    case Kind::PostChatLine:
        ok = in.U32(m.callId);
        [[fallthrough]];
    case Kind::ChatText:
        if (!ok) break;
        m.text = std::string(in.Rest());
        if (!IsUtf8(m.text)) return Refuse(Refusal::BadUtf8);
        break;
    case Kind::Answer: ok = in.U32(m.callId) && in.I32(m.result); break;
    case Kind::Closing: break;
    default: return Refuse(Refusal::UnknownKind);
    }
    if (!ok) return Refuse(Refusal::Truncated);
    if (!in.Done()) return Refuse(Refusal::TrailingBytes);
    return {std::move(m), Refusal::None};
}

void FrameReader::Feed(std::string_view bytes) {
    if (refusal_ != Refusal::None) return;
    // What was taken already goes before the buffer grows, so it holds only what is still unread.
    if (start_ > 0) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kHeaderSize) {
        const std::uint32_t length = GetU32(buffer_);
        if (length == 0) refusal_ = Refusal::EmptyFrame;
        if (length > kMaxPayload) refusal_ = Refusal::Oversized;
    }
    if (refusal_ != Refusal::None) buffer_.clear();
}

std::optional<std::string> FrameReader::Next() {
    if (refusal_ != Refusal::None) return std::nullopt;
    const std::string_view rest = std::string_view(buffer_).substr(start_);
    if (rest.size() < kHeaderSize) return std::nullopt;
    const std::uint32_t length = GetU32(rest);
    if (length == 0 || length > kMaxPayload) {
        refusal_ = length == 0 ? Refusal::EmptyFrame : Refusal::Oversized;
        buffer_.clear();
        start_ = 0;
        return std::nullopt;
    }
    if (rest.size() - kHeaderSize < length) return std::nullopt;
    std::string payload(rest.substr(kHeaderSize, length));
    start_ += kHeaderSize + length;
    return payload;
}

}  // namespace hosts::bridge
