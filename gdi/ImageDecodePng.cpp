#include <png.h>

#include "gdi/Image.h"
#include "gdi/ImageDecode.h"

namespace gdi::image {
namespace {

// Frees libpng's read state on every path, including the error ones.
class PngImage {
public:
    PngImage() {
        image_.version = PNG_IMAGE_VERSION;
    }
    ~PngImage() { png_image_free(&image_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    png_image& get() { return image_; }

private:
    png_image image_{};
};

// Walks the chunk list, so that a file cut anywhere (even after its image data) or a chunk
// claiming more bytes than the file holds is refused before libpng reads it.
void CheckChunks(std::span<const std::uint8_t> data, const std::string& name) {
    constexpr std::size_t kSignature = 8;
    std::size_t at = kSignature;
    while (true) {
        if (data.size() - at < 12) throw ImageError(name + ": truncated PNG (no IEND chunk)");
        const std::uint64_t length = (std::uint64_t{data[at]} << 24) | (data[at + 1] << 16) | (data[at + 2] << 8) |
                                     data[at + 3];
        if (length > data.size() - at - 12) throw ImageError(name + ": truncated PNG chunk");
        const bool end = data[at + 4] == 'I' && data[at + 5] == 'E' && data[at + 6] == 'N' && data[at + 7] == 'D';
        at += static_cast<std::size_t>(length) + 12;
        if (end) return;
    }
}

}  // namespace

Pixels DecodePng(std::span<const std::uint8_t> data, const std::string& name) {
    if (Sniff(data) != Format::Png) throw ImageError(name + ": not a PNG file");
    CheckChunks(data, name);
    PngImage holder;
    png_image& image = holder.get();
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) {
        throw ImageError(name + ": bad PNG: " + image.message);
    }
    CheckSize(image.width, image.height, name);
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    // BGRA bytes are 0xAARRGGBB words on the little-endian machines this runs on.
    image.format = PNG_FORMAT_BGRA;
    Pixels px;
    px.width = static_cast<int>(image.width);
    px.height = static_cast<int>(image.height);
    px.hasAlpha = alpha;
    px.argb.resize(static_cast<std::size_t>(px.width) * static_cast<std::size_t>(px.height));
    if (!png_image_finish_read(&image, nullptr, px.argb.data(), 0, nullptr)) {
        throw ImageError(name + ": bad PNG: " + image.message);
    }
    return px;
}

}  // namespace gdi::image
