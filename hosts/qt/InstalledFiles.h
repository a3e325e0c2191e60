// Where the program's window descriptions and artwork are: found from the program's own folder, so
// an installed copy, a moved copy and the build tree all work. Owns no state.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace hosts::qt {

struct ProgramFiles {
    std::filesystem::path mainWindow;   // Form1's description
    std::filesystem::path aboutWindow;  // sobre_'s description
};

// The folders searched, in order, for one holding Form1.frm: "forms" beside the program (the build
// tree), then dataFolder taken from the program's folder (an installation, "../share/dizo-chat/forms").
std::optional<ProgramFiles> LocateProgramFiles(const std::filesystem::path& programFolder,
                                               const std::filesystem::path& dataFolder);

// The message for a program that found none: names every folder it looked in.
std::string MissingFilesMessage(const std::filesystem::path& programFolder, const std::filesystem::path& dataFolder);

}  // namespace hosts::qt
