#include "gdi/CarriedFiles.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "gdi/Image.h"

namespace gdi {

namespace {

// Artwork and descriptions are small; anything this large is neither.
constexpr std::uintmax_t MaxFileBytes = std::uintmax_t{256} << 20;

const CarriedFiles* inPlace = nullptr;

std::string Key(const std::filesystem::path& relative) {
    std::string key = relative.lexically_normal().generic_string();
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return key;
}

}  // namespace

CarriedFiles::CarriedFiles(std::filesystem::path root, std::map<std::string, std::span<const std::uint8_t>> files)
    : root_(std::move(root).lexically_normal()) {
    for (auto& [name, bytes] : files) files_.emplace(Key(name), bytes);
    inPlace = this;
}

CarriedFiles::~CarriedFiles() {
    if (inPlace == this) inPlace = nullptr;
}

std::span<const std::uint8_t> CarriedFiles::Find(const std::filesystem::path& path, bool& found) const {
    found = false;
    const std::filesystem::path relative = path.lexically_normal().lexically_relative(root_);
    if (relative.empty() || *relative.begin() == "..") return {};
    const auto it = files_.find(Key(relative));
    if (it == files_.end()) return {};
    found = true;
    return it->second;
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    const std::string name = path.string();
    if (inPlace != nullptr) {
        bool found = false;
        const std::span<const std::uint8_t> carried = inPlace->Find(path, found);
        if (found) return std::vector<std::uint8_t>(carried.begin(), carried.end());
        // Below the carried root there is nothing on the disk to fall back on.
        const std::filesystem::path relative = path.lexically_normal().lexically_relative(inPlace->Root());
        if (!relative.empty() && *relative.begin() != "..") throw ImageError(name + ": no such file in the program");
    }
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) throw ImageError(name + ": cannot read the file (" + ec.message() + ")");
    if (size > MaxFileBytes) throw ImageError(name + ": file too large for an image");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ImageError(name + ": cannot open the file");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) throw ImageError(name + ": cannot read the file");
    return bytes;
}

}  // namespace gdi
