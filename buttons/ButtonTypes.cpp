#include "buttons/ButtonTypes.h"

#include <array>
#include <fstream>

#include "gdi/Image.h"

namespace buttons {

Picture::~Picture() {
    if (handle) gdi::DestroyHandle(handle);
}

PictureRef LoadPicture(const std::filesystem::path& path) {
    // Icons and cursors are told apart by their header (reserved 0, type 1 or 2), not by the name.
    std::array<unsigned char, 4> head{};
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw gdi::ImageError("cannot open picture file " + path.string());
        in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    }
    auto picture = std::make_shared<Picture>();
    picture->source = path;
    const bool iconHeader = head[0] == 0 && head[1] == 0 && head[3] == 0 && (head[2] == 1 || head[2] == 2);
    if (iconHeader) {
        picture->type = head[2] == 1 ? Picture::Type::Icon : Picture::Type::Cursor;
        picture->handle = gdi::HGDIOBJ(gdi::LoadIconFile(path).release());
    } else {
        picture->type = Picture::Type::Bitmap;
        picture->handle = gdi::HGDIOBJ(gdi::LoadBitmapFile(path).release());
    }
    return picture;
}

}  // namespace buttons
