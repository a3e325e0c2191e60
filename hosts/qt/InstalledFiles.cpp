#include "hosts/qt/InstalledFiles.h"

#include <array>
#include <system_error>

namespace hosts::qt {
namespace {

std::array<std::filesystem::path, 2> Candidates(const std::filesystem::path& programFolder,
                                                const std::filesystem::path& dataFolder) {
    return {programFolder / "forms", (programFolder / dataFolder).lexically_normal()};
}

}  // namespace

std::optional<ProgramFiles> LocateProgramFiles(const std::filesystem::path& programFolder,
                                               const std::filesystem::path& dataFolder) {
    for (const std::filesystem::path& folder : Candidates(programFolder, dataFolder)) {
        std::error_code error;
        // The About window is loaded only when asked for; a folder without it is still a broken one.
        if (std::filesystem::is_regular_file(folder / "Form1.frm", error) &&
            std::filesystem::is_regular_file(folder / "sobre_.frm", error)) {
            return ProgramFiles{folder / "Form1.frm", folder / "sobre_.frm"};
        }
    }
    return std::nullopt;
}

std::string MissingFilesMessage(const std::filesystem::path& programFolder, const std::filesystem::path& dataFolder) {
    std::string message = "the window descriptions (Form1.frm, sobre_.frm) are in none of:";
    for (const std::filesystem::path& folder : Candidates(programFolder, dataFolder)) {
        message += ' ';
        message += folder.string();
    }
    return message;
}

}  // namespace hosts::qt
