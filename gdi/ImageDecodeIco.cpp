#include <cstdlib>

#include "gdi/Image.h"
#include "gdi/ImageDecode.h"

namespace gdi::image {
namespace {

constexpr std::size_t kDirHeader = 6;
constexpr std::size_t kDirEntry = 16;
// Pixels more transparent than this are left out of the mask of an alpha icon.
constexpr std::uint32_t kAlphaThreshold = 128;

[[noreturn]] void Fail(const std::string& name, const std::string& problem) {
    throw ImageError(name + ": " + problem);
}

struct Entry {
    int width = 0;
    int bitCount = 0;
    int hotX = 0;
    int hotY = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

Entry ReadEntry(std::span<const std::uint8_t> data, std::size_t i) {
    const std::size_t at = kDirHeader + i * kDirEntry;
    Entry e;
    e.width = data[at] == 0 ? 256 : data[at];
    e.hotX = ReadU16(data, at + 4);
    e.bitCount = ReadU16(data, at + 6);
    e.hotY = e.bitCount;
    e.size = ReadU32(data, at + 8);
    e.offset = ReadU32(data, at + 12);
    return e;
}

}  // namespace

void MaskFromAlpha(IconImage& icon) {
    const std::size_t n = icon.colour.argb.size();
    icon.mask.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if ((icon.colour.argb[i] >> 24) < kAlphaThreshold) {
            icon.mask[i] = 1;
            // Black under a set mask bit leaves the background alone when the colour is XORed.
            icon.colour.argb[i] = 0;
        }
    }
}

IconImage DecodeIcon(std::span<const std::uint8_t> data, const std::string& name, int preferredSize) {
    if (data.size() < kDirHeader) Fail(name, "too short for an icon file");
    const std::uint16_t type = ReadU16(data, 2);
    if (ReadU16(data, 0) != 0 || (type != 1 && type != 2)) Fail(name, "not an icon or cursor file");
    const std::size_t count = ReadU16(data, 4);
    if (count == 0) Fail(name, "the icon file holds no images");
    if (data.size() < kDirHeader + count * kDirEntry) Fail(name, "truncated icon directory");

    std::size_t chosen = 0;
    if (preferredSize > 0) {
        Entry best = ReadEntry(data, 0);
        for (std::size_t i = 1; i < count; ++i) {
            const Entry e = ReadEntry(data, i);
            const int d = std::abs(e.width - preferredSize);
            const int bestD = std::abs(best.width - preferredSize);
            // Nearest size first; among equals the deeper colour, then the earlier entry.
            if (d < bestD || (d == bestD && e.bitCount > best.bitCount)) {
                best = e;
                chosen = i;
            }
        }
    }
    const Entry e = ReadEntry(data, chosen);
    if (e.offset > data.size() || e.size > data.size() - e.offset) {
        Fail(name, "image " + std::to_string(chosen + 1) + " lies outside the file (truncated?)");
    }
    const auto bytes = data.subspan(e.offset, e.size);

    IconImage icon;
    icon.isIcon = type == 1;
    if (!icon.isIcon) {
        icon.hotX = e.hotX;
        icon.hotY = e.hotY;
    }
    if (Sniff(bytes) == Format::Png) {
        icon.colour = DecodePng(bytes, name);
        MaskFromAlpha(icon);
    } else {
        DibResult dib = DecodeDib(bytes, 0, true, name);
        icon.colour = std::move(dib.colour);
        if (icon.colour.hasAlpha) {
            MaskFromAlpha(icon);
        } else {
            icon.mask = std::move(dib.mask);
        }
    }
    return icon;
}

}  // namespace gdi::image
