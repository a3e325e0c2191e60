// Finding the program's window descriptions from its own folder: the build tree, an installation
// under any prefix, and a broken installation.
#if defined(DIZO_HAVE_QTHOST)
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "hosts/qt/InstalledFiles.h"

namespace hosts::qt {
namespace {

namespace fs = std::filesystem;

const fs::path kDataFromProgram = "../share/dizo-chat/forms";

struct Layout {
    const char* name;
    std::vector<const char*> files;  // relative to the prefix; the program is in prefix/bin
    const char* expectedFolder;      // relative to the prefix; nullptr: none found
};

class InstalledFiles : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override {
        prefix_ = fs::temp_directory_path() /
                  ("dizo-installed-" + std::string(GetParam().name) + "-" + std::to_string(::getpid()));
        fs::remove_all(prefix_);
        fs::create_directories(prefix_ / "bin");
        for (const char* file : GetParam().files) {
            fs::create_directories((prefix_ / file).parent_path());
            std::ofstream(prefix_ / file) << "VERSION 5.00\n";
        }
    }
    void TearDown() override { fs::remove_all(prefix_); }
    fs::path prefix_;
};

TEST_P(InstalledFiles, FindsTheFirstFolderHoldingBothDescriptions) {
    const Layout& layout = GetParam();
    const std::optional<ProgramFiles> found = LocateProgramFiles(prefix_ / "bin", kDataFromProgram);
    if (!layout.expectedFolder) {
        EXPECT_FALSE(found);
        const std::string message = MissingFilesMessage(prefix_ / "bin", kDataFromProgram);
        EXPECT_NE(message.find((prefix_ / "bin" / "forms").string()), std::string::npos) << message;
        EXPECT_NE(message.find((prefix_ / "share" / "dizo-chat" / "forms").string()), std::string::npos) << message;
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(found->mainWindow, prefix_ / layout.expectedFolder / "Form1.frm");
    EXPECT_EQ(found->aboutWindow, prefix_ / layout.expectedFolder / "sobre_.frm");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, InstalledFiles,
    ::testing::Values(
        Layout{"build_tree", {"bin/forms/Form1.frm", "bin/forms/sobre_.frm"}, "bin/forms"},
        Layout{"installed", {"share/dizo-chat/forms/Form1.frm", "share/dizo-chat/forms/sobre_.frm"},
               "share/dizo-chat/forms"},
        Layout{"beside_wins",
               {"bin/forms/Form1.frm", "bin/forms/sobre_.frm", "share/dizo-chat/forms/Form1.frm",
                "share/dizo-chat/forms/sobre_.frm"},
               "bin/forms"},
        // A half-copied folder is passed over rather than failing later at the About window.
        Layout{"half_beside",
               {"bin/forms/Form1.frm", "share/dizo-chat/forms/Form1.frm", "share/dizo-chat/forms/sobre_.frm"},
               "share/dizo-chat/forms"},
        Layout{"none", {"share/dizo-chat/forms/Form1.frm"}, nullptr}),
    [](const ::testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace hosts::qt
#endif
