// The program's stored window descriptions and artwork, kept inside the .exe as RCDATA resources
// named by their paths, read where they lie in memory: below Folder() (the program's own path, a
// folder that is on no disk) every reader finds them. Owns the table while it lives; nothing is
// written anywhere.
#pragma once

#include <filesystem>

#include "gdi/CarriedFiles.h"

namespace hosts::win32 {

class EmbeddedFiles {
public:
    // Puts every RCDATA resource of the program in place; throws std::runtime_error when it has none.
    EmbeddedFiles();

    const std::filesystem::path& Folder() const { return carried_.Root(); }
    std::size_t Count() const { return carried_.Count(); }

private:
    gdi::CarriedFiles carried_;
};

}  // namespace hosts::win32
