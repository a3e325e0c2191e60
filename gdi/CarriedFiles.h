// The bytes of a program's own files: those it carries inside itself (a Windows program's
// resources) while it has put them in place for the run, else the disk's. Owns the table of
// carried files while a CarriedFiles lives; the bytes stay the carrier's (a loaded module's).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace gdi {

class CarriedFiles {
public:
    // Paths below `root` are looked up in `files` by their path below it, without regard to case
    // and with "/" between folders ("ART/DIZO.ICO"); never on the disk. One in place at a time.
    CarriedFiles(std::filesystem::path root, std::map<std::string, std::span<const std::uint8_t>> files);
    ~CarriedFiles();
    CarriedFiles(const CarriedFiles&) = delete;
    CarriedFiles& operator=(const CarriedFiles&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::size_t Count() const { return files_.size(); }
    // The bytes of a carried file; empty with `found` false when the path is not one.
    std::span<const std::uint8_t> Find(const std::filesystem::path& path, bool& found) const;

private:
    std::filesystem::path root_;
    std::map<std::string, std::span<const std::uint8_t>> files_;  // keys upper-case
};

// The whole file, from the carried files in place or else the disk. Throws ImageError naming the
// path when it cannot, or when it is too large to be a picture or a description.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

}  // namespace gdi
