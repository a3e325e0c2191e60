// Each part of the button's state has the writers ButtonState.h names, and no others: every
// assignment to a part (or one of its fields) in the module's own sources, and every mutable
// reference taken to one, must come from one of the part's files.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

namespace {

struct Part {
    const char* name;
    std::string_view member;  // as ButtonState names it
    const char* type;
    std::set<std::string> writers;
};

// Frame.cpp copies the state into a frame; its assignments write the frame, not the state.
const std::set<std::string> Skipped{"Frame.cpp"};

const Part Parts[] = {
    {"ButtonProperties", "Props", "ButtonProperties",
     {"Persistence.cpp", "PropertiesAppearance.cpp", "PropertiesBehavior.cpp", "PropertiesColors.cpp",
      "FaceState.cpp"}},
    {"ContainerLink", "Container", "ContainerLink", {"Persistence.cpp", "qkButtons_H.cpp", "Input.cpp"}},
    {"DerivedColours", "Colours", "DerivedColours", {"qkButtons_H.cpp"}},
    {"ShapeGeometry", "Shape", "ShapeGeometry", {"Render.cpp"}},
    {"CaptionGeometry", "Layout", "CaptionGeometry", {"Render.cpp"}},
    {"PictureMeasure", "Measured", "PictureMeasure", {"qkButtons_H.cpp"}},
    {"Interaction", "Input", "Interaction", {"Input.cpp", "FaceState.cpp"}},
    {"DrawingSwitch", "Drawing", "DrawingSwitch", {"qkButtons_H.h", "Render.cpp"}},
};

bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// "member = ", "member.field = " (or |=, &=, +=, -=), as a whole word, or "Type& " without const.
bool Writes(const std::string& source, const Part& part) {
    const std::string reference = std::string(part.type) + "& ";
    for (std::size_t at = source.find(reference); at != std::string::npos; at = source.find(reference, at + 1))
        if (at < 6 || source.compare(at - 6, 6, "const ") != 0) return true;
    for (std::size_t at = source.find(part.member); at != std::string::npos; at = source.find(part.member, at + 1)) {
        if (at > 0 && IdentChar(source[at - 1])) continue;
        std::size_t i = at + part.member.size();
        if (i < source.size() && IdentChar(source[i])) continue;
        if (i < source.size() && source[i] == '.') {
            ++i;
            while (i < source.size() && IdentChar(source[i])) ++i;
        }
        while (i < source.size() && source[i] == ' ') ++i;
        if (i + 1 >= source.size()) continue;
        if (source[i] == '=' && source[i + 1] != '=') return true;
        if (std::string_view("|&+-").find(source[i]) != std::string_view::npos && source[i + 1] == '=') return true;
    }
    return false;
}

TEST(StateWriters, EachPartIsWrittenOnlyWhereTheHeaderSays) {
    const std::filesystem::path dir = std::filesystem::path(DIZO_SOURCE_DIR) / "buttons";
    std::set<std::string> found[std::size(Parts)];
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string file = entry.path().filename().string();
        const std::string ext = entry.path().extension().string();
        if ((ext != ".cpp" && ext != ".h") || Skipped.contains(file)) continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        for (std::size_t i = 0; i < std::size(Parts); ++i)
            if (Writes(text.str(), Parts[i])) found[i].insert(file);
    }
    for (std::size_t i = 0; i < std::size(Parts); ++i) EXPECT_EQ(found[i], Parts[i].writers) << Parts[i].name;
}

}  // namespace
