#include "forms/PropertyBag.h"

#include <algorithm>
#include <limits>

#include "forms/FormatError.h"

namespace forms {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

const char* TypeName(const Value& v) {
    switch (v.index()) {
        case 0: return "string";
        case 1: return "16-bit integer";
        case 2: return "32-bit integer";
        case 3: return "colour";
        case 4: return "Boolean";
        case 5: return "font";
        default: return "picture";
    }
}

}  // namespace

bool KeyEquals(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

const Entry* PropertyBag::Find(std::string_view key) const {
    for (const auto& e : entries_) {
        if (KeyEquals(e.Key, key)) return &e;
    }
    return nullptr;
}

void PropertyBag::Set(std::string_view key, Value v, int line) {
    for (auto& e : entries_) {
        if (KeyEquals(e.Key, key)) {
            e.Val = std::move(v);
            e.Line = line;
            return;
        }
    }
    entries_.push_back(Entry{std::string(key), std::move(v), line});
}

bool PropertyBag::Remove(std::string_view key) {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return KeyEquals(e.Key, key); });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

void PropertyBag::Fail(const Entry& e, const std::string& why) const { throw FormatError(source_, e.Line, e.Key, why); }

std::int64_t PropertyBag::Integer(const Entry& e) const {
    if (const auto* p = std::get_if<std::int16_t>(&e.Val)) return *p;
    if (const auto* p = std::get_if<std::int32_t>(&e.Val)) return *p;
    if (const auto* p = std::get_if<ColourValue>(&e.Val)) return static_cast<std::int32_t>(p->Value);
    if (const auto* p = std::get_if<bool>(&e.Val)) return *p ? -1 : 0;
    Fail(e, std::string("expected a number, found a ") + TypeName(e.Val));
}

std::string PropertyBag::ReadString(std::string_view key, const std::string& def) const {
    const Entry* e = Find(key);
    if (!e) return def;
    if (const auto* s = std::get_if<std::string>(&e->Val)) return *s;
    Fail(*e, std::string("expected a string, found a ") + TypeName(e->Val));
}

std::int16_t PropertyBag::ReadInt16(std::string_view key, std::int16_t def) const {
    const Entry* e = Find(key);
    if (!e) return def;
    const std::int64_t v = Integer(*e);
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) {
        Fail(*e, "value " + std::to_string(v) + " does not fit a 16-bit integer");
    }
    return static_cast<std::int16_t>(v);
}

std::int32_t PropertyBag::ReadInt32(std::string_view key, std::int32_t def) const {
    const Entry* e = Find(key);
    if (!e) return def;
    return static_cast<std::int32_t>(Integer(*e));
}

std::uint32_t PropertyBag::ReadColour(std::string_view key, std::uint32_t def) const {
    const Entry* e = Find(key);
    if (!e) return def;
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(Integer(*e)));
}

bool PropertyBag::ReadBool(std::string_view key, bool def) const {
    const Entry* e = Find(key);
    if (!e) return def;
    return Integer(*e) != 0;
}

std::optional<FontValue> PropertyBag::ReadFont(std::string_view key) const {
    const Entry* e = Find(key);
    if (!e) return std::nullopt;
    if (const auto* f = std::get_if<FontValue>(&e->Val)) return *f;
    Fail(*e, std::string("expected a font, found a ") + TypeName(e->Val));
}

std::optional<std::filesystem::path> PropertyBag::ReadPicture(std::string_view key) const {
    const Entry* e = Find(key);
    if (!e) return std::nullopt;
    if (const auto* p = std::get_if<PictureValue>(&e->Val)) {
        const std::filesystem::path file(p->File);
        return file.is_absolute() ? file : baseDir_ / file;
    }
    Fail(*e, std::string("expected a picture, found a ") + TypeName(e->Val));
}

void PropertyBag::WriteString(std::string_view key, const std::string& v, std::optional<std::string> def) {
    if (def && *def == v) {
        Remove(key);
        return;
    }
    Set(key, v);
}

void PropertyBag::WriteInt16(std::string_view key, std::int16_t v, std::optional<std::int16_t> def) {
    if (def && *def == v) {
        Remove(key);
        return;
    }
    Set(key, v);
}

void PropertyBag::WriteInt32(std::string_view key, std::int32_t v, std::optional<std::int32_t> def) {
    if (def && *def == v) {
        Remove(key);
        return;
    }
    Set(key, v);
}

void PropertyBag::WriteColour(std::string_view key, std::uint32_t v, std::optional<std::uint32_t> def) {
    if (def && *def == v) {
        Remove(key);
        return;
    }
    Set(key, ColourValue{v});
}

void PropertyBag::WriteBool(std::string_view key, bool v, std::optional<bool> def) {
    if (def && *def == v) {
        Remove(key);
        return;
    }
    Set(key, v);
}

void PropertyBag::WriteFont(std::string_view key, const FontValue& v) { Set(key, v); }

void PropertyBag::WritePicture(std::string_view key, const std::filesystem::path& file) {
    std::filesystem::path stored = file;
    if (!baseDir_.empty() && file.is_absolute()) {
        std::error_code ec;
        const auto rel = std::filesystem::relative(file, baseDir_, ec);
        if (!ec && !rel.empty() && rel.generic_string().rfind("..", 0) != 0) stored = rel;
    }
    Set(key, PictureValue{stored.generic_string()});
}

bool operator==(const PropertyBag& a, const PropertyBag& b) {
    return std::equal(a.entries_.begin(), a.entries_.end(), b.entries_.begin(), b.entries_.end(),
                      [](const Entry& x, const Entry& y) { return KeyEquals(x.Key, y.Key) && x.Val == y.Val; });
}

}  // namespace forms
