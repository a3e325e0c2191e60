#include <array>
#include <bit>

#include "gdi/Image.h"
#include "gdi/ImageDecode.h"

namespace gdi::image {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;

[[noreturn]] void Fail(const std::string& name, const std::string& problem) {
    throw ImageError(name + ": " + problem);
}

// One channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m >> shift);
        if (bits > 8) {
            shift += bits - 8;
            bits = 8;
        }
    }
    std::uint32_t Extract(std::uint32_t px) const {
        if (!mask) return 0;
        const std::uint32_t v = ((px & mask) >> shift) & ((1u << bits) - 1);
        const std::uint32_t max = (1u << bits) - 1;
        return (v * 255 + max / 2) / max;
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;  // of the colour image, positive
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::size_t headerSize = 0;
    std::size_t paletteEntries = 0;
    std::size_t paletteEntrySize = 4;
    std::size_t masksAfterHeader = 0;  // bytes of bit masks stored after a 40-byte header
    std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
};

Header ReadHeader(std::span<const std::uint8_t> dib, bool iconLayout, const std::string& name) {
    if (dib.size() < 4) Fail(name, "truncated bitmap header");
    Header h;
    h.headerSize = ReadU32(dib, 0);
    if (h.headerSize != kCoreHeaderSize && (h.headerSize < kInfoHeaderSize || h.headerSize > 1024)) {
        Fail(name, "unsupported bitmap header size " + std::to_string(h.headerSize));
    }
    if (dib.size() < h.headerSize) Fail(name, "truncated bitmap header");
    std::int64_t rawHeight = 0;
    if (h.headerSize == kCoreHeaderSize) {
        h.width = ReadU16(dib, 4);
        rawHeight = ReadU16(dib, 6);
        h.bpp = ReadU16(dib, 10);
        h.paletteEntrySize = 3;
    } else {
        h.width = static_cast<std::int32_t>(ReadU32(dib, 4));
        rawHeight = static_cast<std::int32_t>(ReadU32(dib, 8));
        h.bpp = ReadU16(dib, 14);
        h.compression = ReadU32(dib, 16);
        h.paletteEntries = ReadU32(dib, 32);
    }
    if (h.compression == kBiRle8 || h.compression == kBiRle4) Fail(name, "RLE-compressed bitmaps are not supported");
    if (h.compression == kBiJpeg || h.compression == kBiPng) Fail(name, "JPEG or PNG inside a bitmap is not supported");
    if (h.compression != kBiRgb && h.compression != kBiBitfields && h.compression != kBiAlphaBitfields) {
        Fail(name, "unknown bitmap compression " + std::to_string(h.compression));
    }
    if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32) {
        Fail(name, "unsupported bit depth " + std::to_string(h.bpp));
    }
    if (h.compression != kBiRgb && h.bpp != 16 && h.bpp != 32) Fail(name, "bit fields need 16 or 32 bits a pixel");
    h.topDown = rawHeight < 0;
    std::int64_t height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (iconLayout) {
        if (h.topDown) Fail(name, "an icon image cannot be top-down");
        height /= 2;
    }
    h.height = height;
    CheckSize(h.width, h.height, name);

    if (h.bpp <= 8) {
        const std::size_t full = std::size_t{1} << h.bpp;
        if (h.paletteEntries == 0) h.paletteEntries = full;
        if (h.paletteEntries > 256) Fail(name, "colour table of " + std::to_string(h.paletteEntries) + " entries");
    } else if (h.paletteEntries > 256) {
        Fail(name, "colour table of " + std::to_string(h.paletteEntries) + " entries");
    }

    if (h.bpp == 16) {
        h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (h.bpp == 32) {
        h.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    }
    if (h.compression != kBiRgb) {
        const std::size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
        std::size_t at = kInfoHeaderSize;
        if (h.headerSize == kInfoHeaderSize) {
            h.masksAfterHeader = count * 4;
            if (dib.size() < kInfoHeaderSize + h.masksAfterHeader) Fail(name, "truncated bit masks");
        } else if (h.headerSize < kInfoHeaderSize + count * 4) {
            Fail(name, "bit masks missing from the header");
        }
        for (std::size_t i = 0; i < count; ++i) h.masks[i] = ReadU32(dib, at + 4 * i);
    } else if (h.headerSize >= kInfoHeaderSize + 16 && h.bpp == 32) {
        // A version 4 or 5 header names an alpha mask even for plain RGB.
        h.masks[3] = ReadU32(dib, kInfoHeaderSize + 12);
    }
    return h;
}

std::uint32_t PaletteColour(std::span<const std::uint8_t> dib, std::size_t paletteAt, const Header& h,
                            std::size_t index) {
    // An index past the table is black, as the platform draws it.
    if (index >= h.paletteEntries) return 0xFF000000;
    const std::size_t at = paletteAt + index * h.paletteEntrySize;
    return 0xFF000000u | (static_cast<std::uint32_t>(dib[at + 2]) << 16) |
           (static_cast<std::uint32_t>(dib[at + 1]) << 8) | dib[at];
}

std::string Bytes(std::uint64_t n) { return std::to_string(n) + (n == 1 ? " byte" : " bytes"); }

}  // namespace

DibResult DecodeDib(std::span<const std::uint8_t> dib, std::size_t pixelOffset, bool iconLayout,
                    const std::string& name) {
    const Header h = ReadHeader(dib, iconLayout, name);
    const std::size_t paletteAt = h.headerSize + h.masksAfterHeader;
    const std::uint64_t paletteBytes = static_cast<std::uint64_t>(h.paletteEntries) * h.paletteEntrySize;
    if (paletteAt + paletteBytes > dib.size()) Fail(name, "truncated colour table");
    const std::uint64_t start = pixelOffset ? pixelOffset : paletteAt + paletteBytes;
    const auto width = static_cast<std::uint64_t>(h.width);
    const auto height = static_cast<std::uint64_t>(h.height);
    const std::uint64_t stride = (width * static_cast<std::uint64_t>(h.bpp) + 31) / 32 * 4;
    const std::uint64_t needed = stride * height;
    if (start > dib.size() || dib.size() - start < needed) {
        Fail(name, "truncated pixel data: " + Bytes(needed) + " needed, " +
                       Bytes(start > dib.size() ? 0 : dib.size() - start) + " present");
    }

    DibResult out;
    Pixels& px = out.colour;
    px.width = static_cast<int>(h.width);
    px.height = static_cast<int>(h.height);
    px.argb.resize(static_cast<std::size_t>(width * height));
    const std::array<Channel, 4> ch = {Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2]),
                                       Channel(h.masks[3])};
    bool anyAlpha = false;
    for (std::uint64_t row = 0; row < height; ++row) {
        const std::uint8_t* src = dib.data() + start + row * stride;
        const std::uint64_t y = h.topDown ? row : height - 1 - row;
        std::uint32_t* dst = px.argb.data() + y * width;
        for (std::uint64_t x = 0; x < width; ++x) {
            std::uint32_t c = 0;
            switch (h.bpp) {
                case 1:
                    c = PaletteColour(dib, paletteAt, h, (src[x >> 3] >> (7 - (x & 7))) & 1);
                    break;
                case 4:
                    c = PaletteColour(dib, paletteAt, h, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
                    break;
                case 8:
                    c = PaletteColour(dib, paletteAt, h, src[x]);
                    break;
                case 24:
                    c = 0xFF000000u | (static_cast<std::uint32_t>(src[3 * x + 2]) << 16) |
                        (static_cast<std::uint32_t>(src[3 * x + 1]) << 8) | src[3 * x];
                    break;
                default: {
                    const std::uint32_t raw = h.bpp == 16 ? ReadU16({src, static_cast<std::size_t>(stride)}, 2 * x)
                                                          : ReadU32({src, static_cast<std::size_t>(stride)}, 4 * x);
                    const std::uint32_t a = ch[3].mask ? ch[3].Extract(raw) : (iconLayout && h.bpp == 32 ? raw >> 24 : 0xFF);
                    anyAlpha = anyAlpha || a != 0;
                    c = (a << 24) | (ch[0].Extract(raw) << 16) | (ch[1].Extract(raw) << 8) | ch[2].Extract(raw);
                }
            }
            dst[x] = c;
        }
    }
    // A 32-bit icon whose alpha bytes are all zero predates alpha: its AND mask rules alone.
    px.hasAlpha = (h.bpp == 32 && (ch[3].mask || iconLayout) && anyAlpha);
    if (h.bpp == 32 && !px.hasAlpha) {
        for (std::uint32_t& c : px.argb) c |= 0xFF000000u;
    }

    if (iconLayout) {
        const std::uint64_t maskStride = (width + 31) / 32 * 4;
        const std::uint64_t maskAt = start + needed;
        if (dib.size() - maskAt >= maskStride * height) {
            out.mask.resize(static_cast<std::size_t>(width * height));
            for (std::uint64_t row = 0; row < height; ++row) {
                const std::uint8_t* src = dib.data() + maskAt + row * maskStride;
                std::uint8_t* dst = out.mask.data() + (height - 1 - row) * width;
                for (std::uint64_t x = 0; x < width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
            }
        } else if (!px.hasAlpha) {
            Fail(name, "truncated AND mask");
        }
    }
    return out;
}

Pixels DecodeBmp(std::span<const std::uint8_t> data, const std::string& name) {
    if (data.size() < kFileHeaderSize) Fail(name, "too short for a bitmap file");
    if (data[0] != 'B' || data[1] != 'M') Fail(name, "not a bitmap file (no \"BM\" signature)");
    const std::uint32_t offBits = ReadU32(data, 10);
    const auto dib = data.subspan(kFileHeaderSize);
    if (offBits != 0 && (offBits < kFileHeaderSize + 4 || offBits > data.size())) {
        Fail(name, "pixel data offset " + std::to_string(offBits) + " lies outside the file");
    }
    // An offset of 0 is written by some tools; the pixels then follow the colour table.
    return DecodeDib(dib, offBits ? offBits - kFileHeaderSize : 0, false, name).colour;
}

}  // namespace gdi::image
