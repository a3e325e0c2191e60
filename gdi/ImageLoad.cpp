#include <iterator>
#include <vector>

#include "gdi/CarriedFiles.h"
#include "gdi/Image.h"
#include "gdi/ImageDecode.h"
#include "gdi/ObjectTable_p.h"

namespace gdi {
namespace {

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
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return LoadBitmapFromMemory(bytes, path.string());
}

OwnedIcon LoadIconFile(const std::filesystem::path& path, int preferredSize) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return LoadIconFromMemory(bytes, path.string(), preferredSize);
}

}  // namespace gdi
