// Strict line-oriented parser of the description format: one statement a line, every error
// names the file, the line and (for a property) the key.
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>

#include "forms/Description.h"
#include "forms/Syntax.h"

namespace forms {
namespace {

using syntax::IsIdentChar;
using syntax::IsIdentStart;

std::string LowerCopy(std::string_view s) {
    std::string out(s);
    for (auto& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// A cursor over one line. Errors carry the line and the key being read.
class LineReader {
public:
    LineReader(std::string_view text, const std::string& file, int line) : text_(text), file_(file), line_(line) {}

    [[noreturn]] void Fail(const std::string& why) const { throw FormatError(file_, line_, key_, why); }
    void SetKey(std::string key) { key_ = std::move(key); }

    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos_ >= text_.size();
    }
    char Peek() {
        SkipBlanks();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    bool Accept(char c) {
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }
    void Expect(char c, const char* what) {
        if (!Accept(c)) Fail(std::string("expected ") + what);
    }
    std::string Identifier(const char* what) {
        SkipBlanks();
        if (pos_ >= text_.size() || !IsIdentStart(text_[pos_])) Fail(std::string("expected ") + what);
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }
    void ExpectEnd() {
        if (!AtEnd()) Fail("unexpected text after the statement: '" + std::string(text_.substr(pos_)) + "'");
    }

    std::string QuotedString() {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != '"') Fail("expected a quoted string");
        ++pos_;
        std::string out;
        while (true) {
            if (pos_ >= text_.size()) Fail("unterminated string (a line break inside a string is written \\r\\n)");
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) Fail("unterminated escape at the end of the line");
            const char e = text_[pos_++];
            switch (e) {
                case '\\': out += '\\'; break;
                case '"': out += '"'; break;
                case 'r': out += '\r'; break;
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'x': {
                    int value = 0;
                    for (int i = 0; i < 2; ++i) {
                        const int d = pos_ < text_.size() ? HexDigit(text_[pos_]) : -1;
                        if (d < 0) Fail("\\x needs two hex digits");
                        value = value * 16 + d;
                        ++pos_;
                    }
                    out += static_cast<char>(value);
                    break;
                }
                default: Fail(std::string("unknown escape \\") + e);
            }
        }
    }

    Value ParseValue() {
        const char c = Peek();
        if (c == '"') return QuotedString();
        if (c == '&') return HexNumber();
        if (c == '-' || (c >= '0' && c <= '9')) return DecimalNumber();
        if (!IsIdentStart(c)) Fail("expected a value (\"string\", number, &H...&, True, False, Font(...), Picture(...))");
        const std::string word = Identifier("a value");
        if (word == "True") return true;
        if (word == "False") return false;
        if (word == "Font") return FontCall();
        if (word == "Picture") {
            Expect('(', "'(' after Picture");
            PictureValue p{QuotedString()};
            if (p.File.empty()) Fail("a picture needs a file name");
            Expect(')', "')' to close Picture(");
            return p;
        }
        Fail("unknown value '" + word + "'");
    }

private:
    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    std::uint64_t Digits(int base, int maxDigits) {
        std::uint64_t value = 0;
        int count = 0;
        while (pos_ < text_.size()) {
            const int d = base == 16 ? HexDigit(text_[pos_]) : (text_[pos_] >= '0' && text_[pos_] <= '9' ? text_[pos_] - '0' : -1);
            if (d < 0) break;
            if (++count > maxDigits) Fail("number too long");
            value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
            ++pos_;
        }
        if (count == 0) Fail("expected digits");
        return value;
    }

    Value HexNumber() {
        ++pos_;  // '&'
        if (pos_ >= text_.size() || (text_[pos_] != 'H' && text_[pos_] != 'h')) Fail("expected &H");
        ++pos_;
        const std::uint64_t v = Digits(16, 8);
        if (pos_ < text_.size() && text_[pos_] == '&') {
            ++pos_;
            return ColourValue{static_cast<std::uint32_t>(v)};
        }
        if (pos_ < text_.size() && text_[pos_] == '%') {
            ++pos_;
            if (v > 0xFFFF) Fail("hex value does not fit a 16-bit integer");
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
        }
        Fail("a hex number ends in & (32-bit colour) or % (16-bit)");
    }

    Value DecimalNumber() {
        const bool negative = Accept('-');
        const std::uint64_t magnitude = Digits(10, 11);
        const std::int64_t v = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
        if (pos_ < text_.size() && text_[pos_] == '%') {
            ++pos_;
            if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) {
                Fail("value does not fit a 16-bit integer");
            }
            return static_cast<std::int16_t>(v);
        }
        if (pos_ < text_.size() && text_[pos_] == '&') ++pos_;
        if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) {
            Fail("value does not fit a 32-bit integer");
        }
        if (pos_ < text_.size() && (text_[pos_] == '.' || IsIdentChar(text_[pos_]))) Fail("malformed number");
        return static_cast<std::int32_t>(v);
    }

    // Points with at most four decimals, kept in ten-thousandths.
    std::int32_t FontSize() {
        SkipBlanks();
        const std::uint64_t whole = Digits(10, 4);
        std::uint64_t frac = 0;
        if (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            int digits = 0;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
                if (++digits > 4) Fail("a font size has at most four decimals");
                frac = frac * 10 + static_cast<std::uint64_t>(text_[pos_++] - '0');
            }
            if (digits == 0) Fail("expected digits after the decimal point");
            for (; digits < 4; ++digits) frac *= 10;
        }
        const std::uint64_t size = whole * 10000 + frac;
        if (size == 0 || size > 1000 * 10000) Fail("font size must be above 0 and at most 1000 points");
        return static_cast<std::int32_t>(size);
    }

    FontValue FontCall() {
        Expect('(', "'(' after Font");
        FontValue f;
        f.Name = QuotedString();
        if (f.Name.empty() || f.Name.size() > 31) Fail("a font name has 1 to 31 characters");
        Expect(',', "',' and the size in points");
        f.SizeTenThousandths = FontSize();
        bool weightGiven = false;
        std::set<std::string> seen;
        while (Accept(',')) {
            const std::string word = Identifier("a font style (Bold, Italic, Underline, Strikeout, Weight=, Charset=)");
            if (!seen.insert(LowerCopy(word)).second) Fail("font style '" + word + "' given twice");
            if (word == "Bold" || word == "Weight") {
                if (weightGiven) Fail("give either Bold or Weight=, once");
                weightGiven = true;
            }
            if (word == "Bold") {
                f.Weight = 700;
            } else if (word == "Italic") {
                f.Italic = true;
            } else if (word == "Underline") {
                f.Underline = true;
            } else if (word == "Strikeout") {
                f.Strikethrough = true;
            } else if (word == "Weight" || word == "Charset") {
                Expect('=', "'=' after Weight or Charset");
                const Value n = DecimalNumber();
                const std::int32_t v = std::get<std::int32_t>(n);
                if (word == "Weight") {
                    if (v < 1 || v > 1000) Fail("font weight must be 1 to 1000");
                    f.Weight = v;
                } else {
                    if (v < 0 || v > 255) Fail("charset must be 0 to 255");
                    f.Charset = static_cast<std::int16_t>(v);
                }
            } else {
                Fail("unknown font style '" + word + "'");
            }
        }
        Expect(')', "')' to close Font(");
        return f;
    }

    std::string_view text_;
    const std::string& file_;
    int line_;
    std::string key_;
    std::size_t pos_ = 0;
};

void ValidateCommonKeys(const Control& c, const std::string& file) {
    for (const auto& e : c.Properties.Entries()) {
        const auto fail = [&](const std::string& why) { throw FormatError(file, e.Line, e.Key, why); };
        const bool isInt = std::holds_alternative<std::int16_t>(e.Val) || std::holds_alternative<std::int32_t>(e.Val);
        if (KeyEquals(e.Key, "Left") || KeyEquals(e.Key, "Top") || KeyEquals(e.Key, "TabIndex")) {
            if (!isInt) fail("expected an integer");
        } else if (KeyEquals(e.Key, "Width") || KeyEquals(e.Key, "Height") || KeyEquals(e.Key, "ClientWidth") ||
                   KeyEquals(e.Key, "ClientHeight")) {
            if (!isInt) fail("expected an integer (twips)");
            if (c.Properties.ReadInt32(e.Key, 0) < 0) fail("a size cannot be negative");
        } else if (KeyEquals(e.Key, "Visible")) {
            if (!std::holds_alternative<bool>(e.Val)) fail("expected True or False");
        }
    }
}

}  // namespace

Document ParseDescription(std::string_view text, const std::string& fileName, const std::filesystem::path& baseDir) {
    std::vector<std::unique_ptr<Control>> stack;
    std::unique_ptr<Control> root;
    std::set<std::string> names;
    bool sawHeader = false;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t nl = text.find('\n', pos);
        std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
        if (nl == std::string_view::npos && line.empty() && lineNo > 0) break;  // after the final line break
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        LineReader r(line, fileName, lineNo);
        if (r.AtEnd() || r.Peek() == '#') continue;
        if (root) r.Fail("text after the final End");

        const std::string word = r.Identifier("Begin, End or a key");
        if (!sawHeader) {
            if (word != syntax::HeaderWord) r.Fail("a description starts with the line 'DizoForm 1'");
            const Value v = r.ParseValue();
            if (v != Value(std::int32_t{syntax::FormatVersion})) r.Fail("unsupported format version (this reader knows 1)");
            r.ExpectEnd();
            sawHeader = true;
            continue;
        }
        if (word == "Begin") {
            auto c = std::make_unique<Control>();
            c->Kind = r.Identifier("a control kind after Begin");
            c->Name = r.Identifier("a name after the kind");
            c->Line = lineNo;
            r.ExpectEnd();
            if (!IsKnownKind(c->Kind)) r.Fail("unknown control kind '" + c->Kind + "'");
            if (!stack.empty()) {
                if (c->Kind == FormKind) r.Fail("a Form can only be the outermost block");
                const Control& parent = *stack.back();
                if (parent.Kind != FormKind && !IsContainerKind(parent.Kind)) {
                    r.Fail("a " + parent.Kind + " cannot hold controls (only Form, Frame and PictureBox can)");
                }
            }
            if (!names.insert(LowerCopy(c->Name)).second) r.Fail("the name '" + c->Name + "' is used twice");
            c->Properties = PropertyBag(fileName, baseDir);
            stack.push_back(std::move(c));
            continue;
        }
        if (word == "End") {
            r.ExpectEnd();
            if (stack.empty()) r.Fail("End without Begin");
            std::unique_ptr<Control> done = std::move(stack.back());
            stack.pop_back();
            ValidateCommonKeys(*done, fileName);
            if (stack.empty()) {
                root = std::move(done);
            } else {
                stack.back()->Children.push_back(std::move(*done));
            }
            continue;
        }
        // key = value
        r.SetKey(word);
        if (stack.empty()) r.Fail("a property outside Begin ... End");
        r.Expect('=', "'=' after the key");
        Value v = r.ParseValue();
        r.ExpectEnd();
        Control& target = *stack.back();
        if (target.Properties.Contains(word)) r.Fail("key given twice in '" + target.Name + "'");
        target.Properties.Set(word, std::move(v), lineNo);
    }
    if (!sawHeader) throw FormatError(fileName, lineNo, "", "empty description (expected 'DizoForm 1')");
    if (!stack.empty()) {
        throw FormatError(fileName, lineNo, "",
                          "missing End for '" + stack.back()->Name + "' (Begin on line " +
                              std::to_string(stack.back()->Line) + ")");
    }
    if (!root) throw FormatError(fileName, lineNo, "", "no Begin ... End block");
    return Document{std::filesystem::path(), std::move(*root)};
}

namespace {

void CheckPictures(const Control& c, const std::string& file) {
    for (const auto& e : c.Properties.Entries()) {
        if (!std::holds_alternative<PictureValue>(e.Val)) continue;
        const auto path = c.Properties.ReadPicture(e.Key);
        std::error_code ec;
        if (!path || !std::filesystem::is_regular_file(*path, ec)) {
            throw FormatError(file, e.Line, e.Key, "picture file not found: " + (path ? path->string() : std::string()));
        }
    }
    for (const auto& child : c.Children) CheckPictures(child, file);
}

}  // namespace

Document LoadDescription(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw FormatError(file.string(), 0, "", "cannot open the description");
    std::ostringstream buf;
    buf << in.rdbuf();
    if (in.bad()) throw FormatError(file.string(), 0, "", "cannot read the description");
    Document doc = ParseDescription(buf.str(), file.string(), file.parent_path());
    CheckPictures(doc.Root, file.string());
    doc.File = file;
    return doc;
}

}  // namespace forms
