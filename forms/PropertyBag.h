// The typed, case-insensitive key/value store of one control or window in a stored description.
// Owns its entries in insertion order (so a written description diffs cleanly).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace forms {

// A font as a description stores it. The size is kept in ten-thousandths of a point, so that
// "15.75" survives a save and load exactly.
struct FontValue {
    std::string Name = "MS Sans Serif";
    std::int32_t SizeTenThousandths = 82500;  // 8.25 pt
    std::int32_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    std::int16_t Charset = 0;
    friend bool operator==(const FontValue&, const FontValue&) = default;
};

// A picture by reference: an image file, written relative to the description's folder.
struct PictureValue {
    std::string File;
    friend bool operator==(const PictureValue&, const PictureValue&) = default;
};

// A 32-bit colour; kept apart from plain integers only so that it is written in hex.
struct ColourValue {
    std::uint32_t Value = 0;
    friend bool operator==(const ColourValue&, const ColourValue&) = default;
};

using Value = std::variant<std::string, std::int16_t, std::int32_t, ColourValue, bool, FontValue, PictureValue>;

struct Entry {
    std::string Key;  // as first written; matched without regard to case
    Value Val;
    int Line = 0;     // where it was read from; 0 when set in memory
};

bool KeyEquals(std::string_view a, std::string_view b);

class PropertyBag {
public:
    PropertyBag() = default;
    // source names the description file in errors; baseDir resolves picture references.
    PropertyBag(std::string source, std::filesystem::path baseDir)
        : source_(std::move(source)), baseDir_(std::move(baseDir)) {}

    const std::vector<Entry>& Entries() const { return entries_; }
    const Entry* Find(std::string_view key) const;
    bool Contains(std::string_view key) const { return Find(key) != nullptr; }
    // Replaces an existing entry in place (keeping its position and spelling) or appends.
    void Set(std::string_view key, Value v, int line = 0);
    bool Remove(std::string_view key);
    const std::string& Source() const { return source_; }

    // Typed reads: the default when the key is absent. 16-bit, 32-bit, colour and Boolean values
    // convert into each other (True is -1); a value that cannot convert, or a 32-bit value that
    // does not fit 16 bits, throws FormatError naming the file, line and key.
    std::string ReadString(std::string_view key, const std::string& def) const;
    std::int16_t ReadInt16(std::string_view key, std::int16_t def) const;
    std::int32_t ReadInt32(std::string_view key, std::int32_t def) const;
    std::uint32_t ReadColour(std::string_view key, std::uint32_t def) const;
    bool ReadBool(std::string_view key, bool def) const;
    std::optional<FontValue> ReadFont(std::string_view key) const;
    // The picture file, resolved against the base directory; empty when absent.
    std::optional<std::filesystem::path> ReadPicture(std::string_view key) const;

    // Typed writes. With a default, a value equal to it is not stored (and a stored one is removed),
    // so the same default must be used when reading.
    void WriteString(std::string_view key, const std::string& v, std::optional<std::string> def = {});
    void WriteInt16(std::string_view key, std::int16_t v, std::optional<std::int16_t> def = {});
    void WriteInt32(std::string_view key, std::int32_t v, std::optional<std::int32_t> def = {});
    void WriteColour(std::string_view key, std::uint32_t v, std::optional<std::uint32_t> def = {});
    void WriteBool(std::string_view key, bool v, std::optional<bool> def = {});
    void WriteFont(std::string_view key, const FontValue& v);
    // Stored relative to the base directory when the file lies below it, else as given.
    void WritePicture(std::string_view key, const std::filesystem::path& file);

    friend bool operator==(const PropertyBag& a, const PropertyBag& b);

private:
    [[noreturn]] void Fail(const Entry& e, const std::string& why) const;
    std::int64_t Integer(const Entry& e) const;

    std::string source_;
    std::filesystem::path baseDir_;
    std::vector<Entry> entries_;
};

}  // namespace forms
