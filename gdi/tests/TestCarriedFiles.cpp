// Files a program carries inside itself: found below their root in memory, never on the disk,
// while the rest of the disk reads as before.
#include <gtest/gtest.h>

#include <fstream>

#include "gdi/CarriedFiles.h"
#include "gdi/Gdi.h"

namespace gdi {
namespace {

const std::filesystem::path Art = std::filesystem::path(DIZO_SOURCE_DIR) / "relay" / "forms" / "art";

std::span<const std::uint8_t> Span(const std::vector<std::uint8_t>& v) { return {v.data(), v.size()}; }

TEST(CarriedFiles, PathsBelowTheRootReadFromMemoryOnly) {
    const std::vector<std::uint8_t> text{'D', 'i', 'z', 'o'};
    const std::vector<std::uint8_t> icon = ReadFileBytes(Art / "dizo.ico");
    const std::filesystem::path root = std::filesystem::path("/nowhere") / "dizo-chat.exe";
    {
        const CarriedFiles carried(root, {{"FORM1.FRM", Span(text)}, {"ART/DIZO.ICO", Span(icon)}});
        const struct {
            std::filesystem::path path;
            bool found;
        } cases[] = {
            {root / "Form1.frm", true},        {root / "art" / "dizo.ico", true}, {root / "art/../FORM1.FRM", true},
            {root / "art" / "none.ico", false}, {root / "dizo.ico", false},      {root / ".." / "FORM1.FRM", false},
        };
        for (const auto& c : cases) {
            if (c.found) {
                EXPECT_FALSE(ReadFileBytes(c.path).empty()) << c.path;
            } else {
                EXPECT_THROW(ReadFileBytes(c.path), ImageError) << c.path;
            }
        }
        EXPECT_EQ(ReadFileBytes(root / "FORM1.FRM"), text);
        // The loaders read through it: a carried icon is an icon.
        OwnedIcon loaded = LoadIconFile(root / "art" / "dizo.ico");
        EXPECT_TRUE(loaded);
        // Outside the root, the disk as ever.
        EXPECT_EQ(ReadFileBytes(Art / "dizo.ico"), icon);
    }
    EXPECT_THROW(ReadFileBytes(root / "FORM1.FRM"), ImageError) << "gone with its carrier";
}

}  // namespace
}  // namespace gdi
