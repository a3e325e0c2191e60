#include <cstdio>
#include <fstream>

#include "forms/Description.h"
#include "forms/Syntax.h"

namespace forms {
namespace {

void WriteControl(const Control& c, int depth, std::string& out) {
    const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
    out += indent + "Begin " + c.Kind + " " + c.Name + "\n";
    for (const auto& e : c.Properties.Entries()) {
        out += indent + "    " + e.Key + " = " + syntax::FormatValue(e.Val) + "\n";
    }
    for (const auto& child : c.Children) WriteControl(child, depth + 1, out);
    out += indent + "End\n";
}

}  // namespace

std::string WriteDescription(const Control& root) {
    std::string out = std::string(syntax::HeaderWord) + " " + std::to_string(syntax::FormatVersion) + "\n";
    WriteControl(root, 0, out);
    return out;
}

void SaveDescription(const Document& doc) {
    const std::string text = WriteDescription(doc.Root);
    const std::filesystem::path tmp = doc.File.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw FormatError(doc.File.string(), 0, "", "cannot create " + tmp.string());
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) throw FormatError(doc.File.string(), 0, "", "cannot write " + tmp.string());
    }
    std::error_code ec;
    std::filesystem::rename(tmp, doc.File, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw FormatError(doc.File.string(), 0, "", "cannot replace the description: " + ec.message());
    }
}

}  // namespace forms
