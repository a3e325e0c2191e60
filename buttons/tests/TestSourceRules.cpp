// Rules of the sources that no compiler checks. Each part of the button's state has the writers
// ButtonState.h names, and no others: every assignment to a part (or one of its fields) in the
// module's own sources, and every mutable reference taken to one, must come from one of the part's
// files. The painters read their frame alone: neither the host, the screen nor a thread's cache
// can be reached from them.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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

const std::filesystem::path Root(DIZO_SOURCE_DIR);

std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(StateWriters, EachPartIsWrittenOnlyWhereTheHeaderSays) {
    const std::filesystem::path dir = Root / "buttons";
    std::set<std::string> found[std::size(Parts)];
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string file = entry.path().filename().string();
        const std::string ext = entry.path().extension().string();
        if ((ext != ".cpp" && ext != ".h") || Skipped.contains(file)) continue;
        const std::string text = Read(entry.path());
        for (std::size_t i = 0; i < std::size(Parts); ++i)
            if (Writes(text, Parts[i])) found[i].insert(file);
    }
    for (std::size_t i = 0; i < std::size(Parts); ++i) EXPECT_EQ(found[i], Parts[i].writers) << Parts[i].name;
}

// Every project header a file includes, and theirs in turn ("module/Name.h" from the source root).
std::set<std::string> Reachable(const std::vector<std::string>& files) {
    std::set<std::string> seen;
    std::vector<std::string> open(files.begin(), files.end());
    while (!open.empty()) {
        const std::string file = open.back();
        open.pop_back();
        std::istringstream lines(Read(Root / file));
        for (std::string line; std::getline(lines, line);) {
            const std::string directive = "#include \"";
            if (line.rfind(directive, 0) != 0) continue;
            const std::string header = line.substr(directive.size(), line.find('"', directive.size()) - directive.size());
            if (std::filesystem::exists(Root / header) && seen.insert(header).second) open.push_back(header);
        }
    }
    return seen;
}

TEST(Painters, ReachNeitherTheHostNorTheScreen) {
    const std::vector<std::string> painters{
        "buttons/Face.cpp",     "buttons/FaceBackground.cpp", "buttons/FocusRing.cpp",   "buttons/Bevel.cpp",
        "buttons/Gradient.cpp", "buttons/Caption.cpp",        "buttons/PictureDraw.cpp"};
    const std::set<std::string> reached = Reachable(painters);
    for (const char* forbidden : {"buttons/ButtonHost.h", "buttons/FaceSize.h", "gdi/Screen.h"})
        EXPECT_FALSE(reached.contains(forbidden)) << forbidden;
    EXPECT_TRUE(reached.contains("buttons/Frame.h"));
}

TEST(Painters, KeepNothingPerThread) {
    for (const char* module : {"buttons", "gdi"})
        for (const auto& entry : std::filesystem::directory_iterator(Root / module))
            EXPECT_EQ(Read(entry.path()).find("thread_local"), std::string::npos) << entry.path().filename();
}

}  // namespace
