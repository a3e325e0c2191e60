// Builders of small .bmp, .ico/.cur and .png files in memory, for the loader tests and the
// fuzzer's seed corpus. Owns nothing: every builder returns the bytes of one file.
#pragma once

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace testimg {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct BitmapRecipe {
    int width = 0;
    int height = 0;
    int bpp = 24;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB top-down (alpha used at 32 bpp only)
    bool topDown = false;
    bool coreHeader = false;           // the 12-byte header with 3-byte palette entries
    std::vector<std::uint8_t> andMask;  // icons: one byte a pixel, 1 = transparent; appended
    bool icon = false;
};

// The info header, colour table and pixels (and AND mask for icons).
inline Bytes Dib(const BitmapRecipe& s) {
    Bytes b;
    std::vector<std::uint32_t> palette;
    if (s.bpp <= 8) {
        for (std::uint32_t p : s.pixels) {
            if (std::find(palette.begin(), palette.end(), p & 0xFFFFFF) == palette.end()) palette.push_back(p & 0xFFFFFF);
        }
        if (palette.size() > (std::size_t{1} << s.bpp)) throw std::logic_error("too many colours for the depth");
    }
    const int headerHeight = (s.icon ? 2 : 1) * s.height * (s.topDown ? -1 : 1);
    if (s.coreHeader) {
        Put32(b, 12);
        Put16(b, static_cast<std::uint32_t>(s.width));
        Put16(b, static_cast<std::uint32_t>(headerHeight));
        Put16(b, 1);
        Put16(b, static_cast<std::uint32_t>(s.bpp));
        palette.resize(s.bpp <= 8 ? std::size_t{1} << s.bpp : 0);
        for (std::uint32_t p : palette) {
            b.push_back(static_cast<std::uint8_t>(p));
            b.push_back(static_cast<std::uint8_t>(p >> 8));
            b.push_back(static_cast<std::uint8_t>(p >> 16));
        }
    } else {
        Put32(b, 40);
        Put32(b, static_cast<std::uint32_t>(s.width));
        Put32(b, static_cast<std::uint32_t>(headerHeight));
        Put16(b, 1);
        Put16(b, static_cast<std::uint32_t>(s.bpp));
        Put32(b, 0);  // BI_RGB
        Put32(b, 0);
        Put32(b, 2835);
        Put32(b, 2835);
        Put32(b, static_cast<std::uint32_t>(palette.size()));
        Put32(b, 0);
        for (std::uint32_t p : palette) Put32(b, p);
    }
    const int stride = (s.width * s.bpp + 31) / 32 * 4;
    for (int row = 0; row < s.height; ++row) {
        const int y = s.topDown ? row : s.height - 1 - row;
        Bytes line(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t p = s.pixels[static_cast<std::size_t>(y * s.width + x)];
            const auto index = static_cast<std::uint32_t>(
                std::find(palette.begin(), palette.end(), p & 0xFFFFFF) - palette.begin());
            switch (s.bpp) {
                case 1: line[x / 8] |= static_cast<std::uint8_t>(index << (7 - x % 8)); break;
                case 4: line[x / 2] |= static_cast<std::uint8_t>(index << (x % 2 ? 0 : 4)); break;
                case 8: line[x] = static_cast<std::uint8_t>(index); break;
                case 16: {
                    const std::uint32_t v = (((p >> 19) & 31) << 10) | (((p >> 11) & 31) << 5) | ((p >> 3) & 31);
                    line[2 * x] = static_cast<std::uint8_t>(v);
                    line[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                    break;
                }
                case 24:
                    line[3 * x] = static_cast<std::uint8_t>(p);
                    line[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
                    line[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
                    break;
                default:
                    for (int i = 0; i < 4; ++i) line[4 * x + i] = static_cast<std::uint8_t>(p >> (8 * i));
            }
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    if (s.icon) {
        const int maskStride = (s.width + 31) / 32 * 4;
        for (int row = 0; row < s.height; ++row) {
            const int y = s.height - 1 - row;
            Bytes line(static_cast<std::size_t>(maskStride), 0);
            for (int x = 0; x < s.width; ++x) {
                if (!s.andMask.empty() && s.andMask[static_cast<std::size_t>(y * s.width + x)]) {
                    line[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
            b.insert(b.end(), line.begin(), line.end());
        }
    }
    return b;
}

inline Bytes Bmp(const BitmapRecipe& s) {
    const Bytes dib = Dib(s);
    const std::uint32_t headerAndPalette =
        static_cast<std::uint32_t>(dib.size()) - static_cast<std::uint32_t>((s.width * s.bpp + 31) / 32 * 4 * s.height);
    Bytes b{'B', 'M'};
    Put32(b, static_cast<std::uint32_t>(14 + dib.size()));
    Put32(b, 0);
    Put32(b, 14 + headerAndPalette);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

// RGBA PNG of 0xAARRGGBB pixels (alpha kept).
inline Bytes Png(int width, int height, const std::vector<std::uint32_t>& argb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, argb.data(), 0, nullptr)) {
        throw std::runtime_error("png size");
    }
    Bytes b(size);
    if (!png_image_write_to_memory(&image, b.data(), &size, 0, argb.data(), 0, nullptr)) {
        throw std::runtime_error("png write");
    }
    b.resize(size);
    return b;
}

struct IconEntry {
    int width = 0;
    int height = 0;
    int bpp = 32;
    Bytes data;  // a DIB in icon layout or a PNG
    int hotX = 0;
    int hotY = 0;
};

// type 1 icon, 2 cursor.
inline Bytes Ico(const std::vector<IconEntry>& entries, int type = 1) {
    Bytes b;
    Put16(b, 0);
    Put16(b, static_cast<std::uint32_t>(type));
    Put16(b, static_cast<std::uint32_t>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const IconEntry& e : entries) {
        b.push_back(static_cast<std::uint8_t>(e.width >= 256 ? 0 : e.width));
        b.push_back(static_cast<std::uint8_t>(e.height >= 256 ? 0 : e.height));
        b.push_back(0);
        b.push_back(0);
        Put16(b, static_cast<std::uint32_t>(type == 2 ? e.hotX : 1));
        Put16(b, static_cast<std::uint32_t>(type == 2 ? e.hotY : e.bpp));
        Put32(b, static_cast<std::uint32_t>(e.data.size()));
        Put32(b, offset);
        offset += static_cast<std::uint32_t>(e.data.size());
    }
    for (const IconEntry& e : entries) b.insert(b.end(), e.data.begin(), e.data.end());
    return b;
}

// An icon entry whose DIB is a solid colour with the given AND mask (empty: all opaque).
inline IconEntry SolidIconEntry(int size, int bpp, std::uint32_t argb, std::vector<std::uint8_t> mask = {}) {
    BitmapRecipe s;
    s.width = size;
    s.height = size;
    s.bpp = bpp;
    s.icon = true;
    s.pixels.assign(static_cast<std::size_t>(size * size), argb);
    s.andMask = std::move(mask);
    return IconEntry{size, size, bpp, Dib(s)};
}

}  // namespace testimg
