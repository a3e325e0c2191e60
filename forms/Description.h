// A window's stored description: the window with its properties and every control it holds, as
// read from and written to our text format (see forms/README.md). Owns the parsed tree.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "forms/FormatError.h"
#include "forms/PropertyBag.h"

namespace forms {

// The kinds a description may hold. Frame and PictureBox are containers; a Form is only ever the root.
constexpr std::string_view FormKind = "Form";
constexpr std::string_view ButtonKind = "Button";  // qkButtons_H
bool IsKnownKind(std::string_view kind);
bool IsContainerKind(std::string_view kind);

// Geometry and the common host keys, in twips; validated by the parser when present.
struct Geometry {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// One window or control. Properties hold every key, including Left/Top/Width/Height, TabIndex and
// Visible; the accessors below read the common ones with their defaults.
struct Control {
    std::string Kind;
    std::string Name;
    int Line = 0;  // the line of its Begin, for error messages
    PropertyBag Properties;
    std::vector<Control> Children;

    Geometry Geom() const;
    std::int32_t TabIndex() const { return Properties.ReadInt32("TabIndex", -1); }
    bool Visible() const { return Properties.ReadBool("Visible", true); }

    // Depth-first search by name (case-insensitive), this control included; null when absent.
    const Control* FindByName(std::string_view name) const;
    Control* FindByName(std::string_view name);

    friend bool operator==(const Control& a, const Control& b);
};

// The root is a Form for a whole window, or a single control (e.g. one Button) on its own.
struct Document {
    std::filesystem::path File;  // where it was read from or is to be written
    Control Root;
};

// Parses a whole text; fileName appears in errors, baseDir resolves picture references.
// Throws FormatError; nothing is returned half-built.
Document ParseDescription(std::string_view text, const std::string& fileName, const std::filesystem::path& baseDir);
Document LoadDescription(const std::filesystem::path& file);

// The canonical text of a document: parsing it gives back an equal document.
std::string WriteDescription(const Control& root);
// Writes atomically (a temporary file beside it, then a rename); throws FormatError on failure.
void SaveDescription(const Document& doc);

}  // namespace forms
