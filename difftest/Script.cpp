#include "Script.h"

#include <array>
#include <cctype>
#include <fstream>
#include <limits>
#include <sstream>
#include <utility>

namespace difftest {

namespace {

// Argument signatures: i integer (or constant), n name, s quoted text, * integers to the end
// (at least two, an even count: x y pairs); what follows '|' may be left out.
struct Signature {
    std::string_view op;
    std::string_view args;
};

constexpr std::array kSignatures{
    Signature{"bitmap", "nii"},          Signature{"monobitmap", "nii"},
    Signature{"select", "n"},            Signature{"pen", "iii"},
    Signature{"brush", "i"},             Signature{"stockobject", "i"},
    Signature{"rectangle", "iiii"},      Signature{"ellipse", "iiii"},
    Signature{"arc", "iiiiiiii"},        Signature{"polyline", "*"},
    Signature{"moveto", "ii"},           Signature{"lineto", "ii"},
    Signature{"setpixel", "iii"},        Signature{"patblt", "iiiii"},
    Signature{"setpixel_result", "iii"},
    Signature{"bitblt", "iiiiniii"},     Signature{"stretchblt", "iiiiniiiii"},
    Signature{"setbkcolor", "i"},        Signature{"settextcolor", "i"},
    Signature{"setbkmode", "i"},         Signature{"setstretchbltmode", "i"},
    Signature{"createrectrgn", "niiii"},  Signature{"createellipticrgn", "niiii"},
    Signature{"createpolygonrgn", "ni*"}, Signature{"combinergn", "nnni"},
    Signature{"fillrgn", "n"},           Signature{"selectcliprgn", "n"},
    Signature{"getrgnbox", "n"},         Signature{"ptinregion", "nii"},
    Signature{"createicon", "nnn"},      Signature{"copyimage", "nnii"},
    Signature{"copybitmap", "nnii"},
    Signature{"drawiconex", "iiniii"},   Signature{"font", "sii|ii"},
    Signature{"drawtext", "siiiii"},     Signature{"drawtext_calcrect", "siiiii"},
    Signature{"textmetrics", ""},        Signature{"textextent", "s"},
    Signature{"deliberate", "sii"},
    Signature{"knownbug", "sii"},
};

struct Constant {
    std::string_view name;
    std::int64_t value;
};

// The numeric values are GDI's own, so scripts read like the calls they stand for.
constexpr std::array kConstants{
    Constant{"SRCCOPY", 0x00CC0020},     Constant{"SRCPAINT", 0x00EE0086},
    Constant{"SRCAND", 0x008800C6},      Constant{"SRCINVERT", 0x00660046},
    Constant{"SRCERASE", 0x00440328},    Constant{"NOTSRCCOPY", 0x00330008},
    Constant{"NOTSRCERASE", 0x001100A6}, Constant{"MERGECOPY", 0x00C000CA},
    Constant{"MERGEPAINT", 0x00BB0226},  Constant{"PATCOPY", 0x00F00021},
    Constant{"PATPAINT", 0x00FB0A09},    Constant{"PATINVERT", 0x005A0049},
    Constant{"DSTINVERT", 0x00550009},   Constant{"BLACKNESS", 0x00000042},
    Constant{"WHITENESS", 0x00FF0062},   Constant{"PS_SOLID", 0},
    Constant{"PS_DASH", 1},              Constant{"PS_DOT", 2},
    Constant{"PS_DASHDOT", 3},           Constant{"PS_DASHDOTDOT", 4},
    Constant{"PS_NULL", 5},              Constant{"PS_INSIDEFRAME", 6},
    Constant{"TRANSPARENT", 1},          Constant{"OPAQUE", 2},
    Constant{"BLACKONWHITE", 1},         Constant{"WHITEONBLACK", 2},
    Constant{"COLORONCOLOR", 3},         Constant{"HALFTONE", 4},
    Constant{"RGN_AND", 1},              Constant{"RGN_OR", 2},
    Constant{"RGN_XOR", 3},              Constant{"RGN_DIFF", 4},
    Constant{"RGN_COPY", 5},             Constant{"ALTERNATE", 1},
    Constant{"WINDING", 2},              Constant{"DT_TOP", 0x0000},
    Constant{"DT_LEFT", 0x0000},         Constant{"DT_CENTER", 0x0001},
    Constant{"DT_RIGHT", 0x0002},        Constant{"DT_VCENTER", 0x0004},
    Constant{"DT_BOTTOM", 0x0008},       Constant{"DT_WORDBREAK", 0x0010},
    Constant{"DT_SINGLELINE", 0x0020},   Constant{"DT_EXPANDTABS", 0x0040},
    Constant{"DT_NOCLIP", 0x0100},       Constant{"DT_CALCRECT", 0x0400},
    Constant{"DT_NOPREFIX", 0x0800},     Constant{"DI_MASK", 1},
    Constant{"DI_IMAGE", 2},             Constant{"DI_NORMAL", 3},
    Constant{"FW_NORMAL", 400},          Constant{"FW_BOLD", 700},
    Constant{"WHITE_BRUSH", 0},          Constant{"LTGRAY_BRUSH", 1},
    Constant{"GRAY_BRUSH", 2},           Constant{"DKGRAY_BRUSH", 3},
    Constant{"BLACK_BRUSH", 4},          Constant{"NULL_BRUSH", 5},
    Constant{"WHITE_PEN", 6},            Constant{"BLACK_PEN", 7},
    Constant{"NULL_PEN", 8},             Constant{"DEFAULT_QUALITY", 0},
    Constant{"NONANTIALIASED_QUALITY", 3}, Constant{"ANTIALIASED_QUALITY", 4},
};

std::string Where(const std::string& name, int line) { return name + ":" + std::to_string(line) + ": "; }

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '|'; }

bool ParseInteger(std::string_view word, std::int64_t& value) {
    bool negative = false;
    std::size_t i = 0;
    if (i < word.size() && (word[i] == '-' || word[i] == '+')) negative = word[i++] == '-';
    int base = 10;
    if (word.size() - i > 2 && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == word.size()) return false;
    std::int64_t v = 0;
    for (; i < word.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(word[i])));
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else return false;
        v = v * base + digit;
        // Colours are written as unsigned 32-bit hex, coordinates as signed values.
        if (v > std::int64_t{std::numeric_limits<std::uint32_t>::max()}) return false;
    }
    value = negative ? -v : v;
    return value >= std::numeric_limits<std::int32_t>::min();
}

struct Token {
    Argument arg;
    bool quoted = false;
};

// Splits one line into tokens; '#' outside quotes starts a comment. Texts take \" \\ \r \n \t.
std::vector<Token> Tokenise(std::string_view line, const std::string& where) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == '#') break;
        Token t;
        if (c == '"') {
            t.quoted = true;
            t.arg.kind = Argument::Kind::Text;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char ch = line[i++];
                if (ch == '"') {
                    closed = true;
                    break;
                }
                if (ch == '\\') {
                    if (i == line.size()) break;
                    const char e = line[i++];
                    switch (e) {
                        case 'n': ch = '\n'; break;
                        case 'r': ch = '\r'; break;
                        case 't': ch = '\t'; break;
                        case '"': case '\\': ch = e; break;
                        default: throw ScriptError(where + "unknown escape \\" + std::string(1, e));
                    }
                }
                t.arg.text += ch;
            }
            if (!closed) throw ScriptError(where + "unterminated text");
        } else {
            const std::size_t start = i;
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != '#') ++i;
            t.arg.text = std::string(line.substr(start, i - start));
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

void CheckInteger(Argument& a, const std::string& where) {
    std::int64_t v = 0;
    if (ParseInteger(a.text, v) || ResolveConstant(a.text, v)) {
        a.kind = Argument::Kind::Integer;
        a.integer = v;
        return;
    }
    throw ScriptError(where + "expected an integer or a constant, got '" + a.text + "'");
}

void CheckName(const Argument& a, const std::string& where) {
    const std::string& s = a.text;
    bool ok = !s.empty() && IsNameStart(s[0]);
    for (char c : s) ok = ok && c != '|' && IsNameChar(c);
    if (!ok) throw ScriptError(where + "expected a name, got '" + s + "'");
}

Command ParseCommand(std::vector<Token> tokens, const std::string& where, int lineNo) {
    Command cmd;
    cmd.line = lineNo;
    cmd.op = tokens.front().arg.text;
    const Signature* sig = nullptr;
    for (const Signature& s : kSignatures)
        if (s.op == cmd.op && !tokens.front().quoted) sig = &s;
    if (!sig) throw ScriptError(where + "unknown call '" + cmd.op + "'");

    std::size_t next = 1;
    bool optional = false;
    for (char want : sig->args) {
        if (want == '|') {
            optional = true;
            continue;
        }
        if (want == '*') {
            const std::size_t count = tokens.size() - next;
            if (count < 4 || count % 2 != 0)
                throw ScriptError(where + cmd.op + " needs at least two x y pairs");
            for (; next < tokens.size(); ++next) {
                CheckInteger(tokens[next].arg, where);
                cmd.args.push_back(tokens[next].arg);
            }
            break;
        }
        if (next >= tokens.size()) {
            if (optional) break;
            throw ScriptError(where + cmd.op + " has too few arguments");
        }
        Token& t = tokens[next++];
        if (want == 's') {
            if (!t.quoted) throw ScriptError(where + cmd.op + " expects a quoted text");
        } else if (t.quoted) {
            throw ScriptError(where + cmd.op + " got a text where it expects a value");
        } else if (want == 'i') {
            CheckInteger(t.arg, where);
        } else {
            CheckName(t.arg, where);
            t.arg.kind = Argument::Kind::Name;
        }
        cmd.args.push_back(t.arg);
    }
    if (next < tokens.size()) throw ScriptError(where + cmd.op + " has too many arguments");
    return cmd;
}

}  // namespace

bool ResolveConstant(std::string_view word, std::int64_t& value) {
    if (word.empty()) return false;
    std::int64_t total = 0;
    while (true) {
        const std::size_t bar = word.find('|');
        const std::string_view part = word.substr(0, bar);
        bool found = false;
        for (const Constant& c : kConstants)
            if (c.name == part) {
                total |= c.value;
                found = true;
            }
        if (!found) return false;
        if (bar == std::string_view::npos) break;
        word.remove_prefix(bar + 1);
    }
    value = total;
    return true;
}

Script ParseScript(std::string_view text, std::string name) {
    Script script;
    script.name = std::move(name);
    int lineNo = 0;
    bool marked = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNo;
        const std::string where = Where(script.name, lineNo);
        std::vector<Token> tokens = Tokenise(line, where);
        if (tokens.empty()) continue;
        Command cmd = ParseCommand(std::move(tokens), where, lineNo);
        if (cmd.op == "deliberate" || cmd.op == "knownbug") {
            if (marked) throw ScriptError(where + "a script carries one expectation mark at most");
            if (cmd.Str(0).empty()) throw ScriptError(where + cmd.op + " needs a reason");
            marked = true;
            script.expectation = cmd.op == "deliberate" ? Expectation::Deliberate : Expectation::KnownBug;
            script.reason = cmd.Str(0);
            if (cmd.Int(1) < 0 || cmd.Int(2) < 0) throw ScriptError(where + cmd.op + " needs counts of zero or more");
            script.allowedPixels = cmd.Int(1);
            script.allowedRecords = cmd.Int(2);
            continue;
        }
        script.commands.push_back(std::move(cmd));
    }
    if (script.commands.empty() || (script.commands.front().op != "bitmap" && script.commands.front().op != "monobitmap"))
        throw ScriptError(script.name + ": the first call must create the target with bitmap or monobitmap");
    return script;
}

Script LoadScript(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ScriptError(path + ": cannot open");
    std::ostringstream all;
    all << in.rdbuf();
    std::string name = path;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return ParseScript(all.str(), name);
}

}  // namespace difftest
