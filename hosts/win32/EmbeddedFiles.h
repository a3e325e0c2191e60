// The program's stored window descriptions and artwork, kept inside the .exe as RCDATA resources
// named by their paths, unpacked into a private folder for the run so descriptions find their
// pictures by path. Owns that folder and removes it at the end.
#pragma once

#include <filesystem>

namespace hosts::win32 {

class EmbeddedFiles {
public:
    // Unpacks every RCDATA resource of the program; throws std::runtime_error when it cannot.
    EmbeddedFiles();
    ~EmbeddedFiles();
    EmbeddedFiles(const EmbeddedFiles&) = delete;
    EmbeddedFiles& operator=(const EmbeddedFiles&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    std::size_t Count() const { return count_; }

private:
    std::filesystem::path folder_;
    std::size_t count_ = 0;
};

}  // namespace hosts::win32
