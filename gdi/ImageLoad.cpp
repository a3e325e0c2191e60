#include <fstream>
#include <iterator>
#include <vector>

#include "gdi/Image.h"
#include "gdi/ImageDecode.h"
#include "gdi/ObjectTable_p.h"

namespace gdi {
namespace {

// Artwork files are small; anything this large is not a picture for a button.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{256} << 20;

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    const std::string name = path.string();
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) throw ImageError(name + ": cannot read the file (" + ec.message() + ")");
    if (size > kMaxFileBytes) throw ImageError(name + ": file too large for an image");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ImageError(name + ": cannot open the file");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) throw ImageError(name + ": cannot read the file");
    return bytes;
}

detail::Bitmap ColourBitmap(const image::Pixels& px, bool dib) {
    detail::Bitmap b = detail::MakeBitmap(px.width, px.height, 32, dib);
    for (std::size_t i = 0; i < px.argb.size(); ++i) b.pixels32[i] = px.argb[i] & 0x00FFFFFF;
    return b;
}

}  // namespace

OwnedBitmap LoadBitmapFromMemory(std::span<const std::uint8_t> data, const std::string& name) {
    const image::Pixels px = image::DecodeAnyAsBitmap(data, name, 0);
    return OwnedBitmap(detail::NewBitmap(ColourBitmap(px, true)));
}

OwnedIcon LoadIconFromMemory(std::span<const std::uint8_t> data, const std::string& name, int preferredSize) {
    const image::IconImage img = image::DecodeAnyAsIcon(data, name, preferredSize);
    detail::Icon icon;
    icon.isIcon = img.isIcon;
    icon.xHotspot = static_cast<DWORD>(img.hotX);
    icon.yHotspot = static_cast<DWORD>(img.hotY);
    detail::Bitmap mask = detail::MakeBitmap(img.colour.width, img.colour.height, 1);
    mask.pixels1 = img.mask;
    icon.image = detail::MakeIconImage(std::move(mask), ColourBitmap(img.colour, false));
    return OwnedIcon(detail::NewIcon(std::move(icon)));
}

OwnedBitmap LoadBitmapFile(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = ReadFile(path);
    return LoadBitmapFromMemory(bytes, path.string());
}

OwnedIcon LoadIconFile(const std::filesystem::path& path, int preferredSize) {
    const std::vector<std::uint8_t> bytes = ReadFile(path);
    return LoadIconFromMemory(bytes, path.string(), preferredSize);
}

}  // namespace gdi
