// Decoders of .bmp, .ico/.cur and .png bytes into plain pixel buffers, with no GDI objects.
// Every decoder checks each size and offset against the data before reading or allocating.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gdi::image {

// Larger images are refused before any allocation: no picture of a button comes near them.
constexpr int kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

// Top-down rows of 0xAARRGGBB. hasAlpha: the source carried an alpha channel worth using.
struct Pixels {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<std::uint32_t> argb;
};

// An icon or cursor image: colour plus AND mask (one byte a pixel, 1 = transparent/keep).
struct IconImage {
    Pixels colour;
    std::vector<std::uint8_t> mask;
    bool isIcon = true;
    int hotX = 0;
    int hotY = 0;
};

enum class Format { Unknown, Bmp, Ico, Cur, Png };
Format Sniff(std::span<const std::uint8_t> data);

// All decoders throw ImageError ("<name>: <problem>") for bad, truncated or unsupported data.
Pixels DecodeBmp(std::span<const std::uint8_t> data, const std::string& name);
Pixels DecodePng(std::span<const std::uint8_t> data, const std::string& name);
// preferredSize 0 takes the first entry; otherwise the entry whose width is nearest to it.
IconImage DecodeIcon(std::span<const std::uint8_t> data, const std::string& name, int preferredSize);
// Any of the formats as an icon: a plain image gets a mask from its alpha (or none).
IconImage DecodeAnyAsIcon(std::span<const std::uint8_t> data, const std::string& name, int preferredSize);
// Any of the formats as a bitmap: an icon gives its colour image.
Pixels DecodeAnyAsBitmap(std::span<const std::uint8_t> data, const std::string& name, int preferredSize);

// Sets the mask where the colour is mostly transparent, and blackens those colour pixels.
void MaskFromAlpha(IconImage& icon);

// Refuses a non-positive or absurd size with an ImageError naming the file.
void CheckSize(std::int64_t width, std::int64_t height, const std::string& name);

// A device-independent bitmap: the info header and what follows it (no file header).
// pixelOffset is where the pixels start within dib, or 0 for "right after the colour table".
// With iconLayout the header's height counts the image twice and the AND mask follows the
// colour pixels; it comes back in mask (empty when the data carries none).
struct DibResult {
    Pixels colour;
    std::vector<std::uint8_t> mask;
};
DibResult DecodeDib(std::span<const std::uint8_t> dib, std::size_t pixelOffset, bool iconLayout,
                    const std::string& name);

// Little-endian fields; the caller has checked that the bytes are there.
inline std::uint16_t ReadU16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}
inline std::uint32_t ReadU32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
           (static_cast<std::uint32_t>(d[at + 2]) << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

}  // namespace gdi::image
