// The VARIANT argument of SendMorse: a small tagged value that records what it holds.
// Owns its string (UTF-8); the type codes match COM's VT_ values so a COM backend can map them 1:1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace echolink {

enum class VarType : std::uint16_t { Empty = 0, I4 = 3, Bstr = 8, Bool = 11 };

class Variant {
public:
    Variant() = default;

    static Variant FromString(std::string utf8) {
        Variant v;
        v.type_ = VarType::Bstr;
        v.text_ = std::move(utf8);
        return v;
    }
    static Variant FromInt32(std::int32_t i) {
        Variant v;
        v.type_ = VarType::I4;
        v.number_ = i;
        return v;
    }
    static Variant FromBool(bool b) {
        Variant v;
        v.type_ = VarType::Bool;
        v.number_ = b ? -1 : 0;  // VARIANT_TRUE is -1
        return v;
    }

    VarType Type() const { return type_; }
    bool HoldsString() const { return type_ == VarType::Bstr; }
    // The string held; empty when the variant holds something else.
    std::string_view String() const { return type_ == VarType::Bstr ? std::string_view(text_) : std::string_view(); }
    std::int32_t Int32() const { return type_ == VarType::Bstr ? 0 : number_; }

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    VarType type_ = VarType::Empty;
    std::string text_;
    std::int32_t number_ = 0;
};

}  // namespace echolink
