#include "buttons/ButtonTypes.h"

#include <vector>

#include "gdi/CarriedFiles.h"
#include "gdi/Image.h"

namespace buttons {

Picture::~Picture() {
    if (handle) gdi::DestroyHandle(handle);
}

PictureRef LoadPicture(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = gdi::ReadFileBytes(path);
    // Icons and cursors are told apart by their header (reserved 0, type 1 or 2), not by the name.
    const bool iconHeader = bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[3] == 0 &&
                            (bytes[2] == 1 || bytes[2] == 2);
    auto picture = std::make_shared<Picture>();
    picture->source = path;
    if (iconHeader) {
        picture->type = bytes[2] == 1 ? Picture::Type::Icon : Picture::Type::Cursor;
        picture->handle = gdi::HGDIOBJ(gdi::LoadIconFromMemory(bytes, path.string()).release());
    } else {
        picture->type = Picture::Type::Bitmap;
        picture->handle = gdi::HGDIOBJ(gdi::LoadBitmapFromMemory(bytes, path.string()).release());
    }
    return picture;
}

}  // namespace buttons
