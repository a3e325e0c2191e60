#include <png.h>

#include <vector>

#include "gdi/Image.h"
#include "gdi/ObjectTable_p.h"

namespace gdi {

void WritePng(HBITMAP h, const std::filesystem::path& path) {
    const std::string name = path.string();
    const detail::Bitmap* bmp = detail::LookupBitmap(h);
    if (!bmp) throw ImageError(name + ": not a bitmap handle");
    if (bmp->width <= 0 || bmp->height <= 0) throw ImageError(name + ": the bitmap is empty");
    const auto count = static_cast<std::size_t>(bmp->width) * static_cast<std::size_t>(bmp->height);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bmp->width);
    image.height = static_cast<png_uint_32>(bmp->height);
    std::vector<std::uint8_t> bytes;
    if (bmp->bitsPerPixel == 32) {
        image.format = PNG_FORMAT_RGB;
        bytes.resize(count * 3);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t p = bmp->pixels32[i];
            bytes[3 * i] = static_cast<std::uint8_t>(p >> 16);
            bytes[3 * i + 1] = static_cast<std::uint8_t>(p >> 8);
            bytes[3 * i + 2] = static_cast<std::uint8_t>(p);
        }
    } else {
        // Monochrome: 0 black, 1 white, as the bits show on screen with default colours.
        image.format = PNG_FORMAT_GRAY;
        bytes.resize(count);
        for (std::size_t i = 0; i < count; ++i) bytes[i] = bmp->pixels1[i] ? 0xFF : 0x00;
    }
    if (!png_image_write_to_file(&image, name.c_str(), 0, bytes.data(), 0, nullptr)) {
        const std::string why = image.message;
        png_image_free(&image);
        throw ImageError(name + ": cannot write PNG: " + why);
    }
}

}  // namespace gdi
