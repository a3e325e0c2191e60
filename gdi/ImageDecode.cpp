#include "gdi/ImageDecode.h"

#include <algorithm>
#include <array>

#include "gdi/Image.h"

namespace gdi::image {

Format Sniff(std::span<const std::uint8_t> data) {
    static constexpr std::array<std::uint8_t, 8> kPng = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data.size() >= kPng.size() && std::equal(kPng.begin(), kPng.end(), data.begin())) return Format::Png;
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') return Format::Bmp;
    if (data.size() >= 4 && data[0] == 0 && data[1] == 0 && data[3] == 0) {
        if (data[2] == 1) return Format::Ico;
        if (data[2] == 2) return Format::Cur;
    }
    return Format::Unknown;
}

void CheckSize(std::int64_t width, std::int64_t height, const std::string& name) {
    if (width <= 0 || height <= 0) {
        throw ImageError(name + ": invalid image size " + std::to_string(width) + "x" + std::to_string(height));
    }
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
        throw ImageError(name + ": image size " + std::to_string(width) + "x" + std::to_string(height) +
                         " is too large");
    }
}

IconImage DecodeAnyAsIcon(std::span<const std::uint8_t> data, const std::string& name, int preferredSize) {
    IconImage icon;
    switch (Sniff(data)) {
        case Format::Ico:
        case Format::Cur:
            return DecodeIcon(data, name, preferredSize);
        case Format::Bmp:
            icon.colour = DecodeBmp(data, name);
            break;
        case Format::Png:
            icon.colour = DecodePng(data, name);
            break;
        case Format::Unknown:
            throw ImageError(name + ": not a bitmap, icon, cursor or PNG file");
    }
    if (icon.colour.hasAlpha) {
        MaskFromAlpha(icon);
    } else {
        icon.mask.assign(icon.colour.argb.size(), 0);
    }
    return icon;
}

Pixels DecodeAnyAsBitmap(std::span<const std::uint8_t> data, const std::string& name, int preferredSize) {
    switch (Sniff(data)) {
        case Format::Bmp:
            return DecodeBmp(data, name);
        case Format::Png:
            return DecodePng(data, name);
        case Format::Ico:
        case Format::Cur:
            return DecodeIcon(data, name, preferredSize).colour;
        case Format::Unknown:
            break;
    }
    throw ImageError(name + ": not a bitmap, icon, cursor or PNG file");
}

}  // namespace gdi::image
