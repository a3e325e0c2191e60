// libFuzzer entry point over the image loaders: any input must load or throw ImageError,
// never crash, read out of bounds or leak an object.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gdi/Gdi.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const gdi::ObjectCounts before = gdi::LiveObjects();
    // The first byte steers the preferred icon size, so every directory entry gets chosen.
    const int preferred = size > 0 ? data[0] % 64 : 0;
    try {
        gdi::OwnedBitmap bmp = gdi::LoadBitmapFromMemory(bytes, "fuzz");
    } catch (const gdi::ImageError&) {
    }
    try {
        gdi::OwnedIcon icon = gdi::LoadIconFromMemory(bytes, "fuzz", preferred);
        if (icon) {
            // A loaded icon must also survive being scaled and drawn.
            gdi::OwnedIcon copy(gdi::HandleCast<gdi::HICON>(gdi::CopyImage(gdi::HGDIOBJ(icon.get()), gdi::IMAGE_ICON, 7, 5, 0)));
            gdi::OwnedDC dc(gdi::CreateCompatibleDC(gdi::HDC{}));
            gdi::OwnedBitmap target(gdi::CreateDIBSection32(9, 9));
            const gdi::HBITMAP old = gdi::SelectObject(dc.get(), target.get());
            gdi::DrawIconEx(dc.get(), 1, 1, copy.get(), 0, 0, 0, gdi::HBRUSH{}, gdi::DI_NORMAL);
            gdi::DrawIconEx(dc.get(), -3, 2, icon.get(), 0, 0, 0, gdi::HBRUSH{}, gdi::DI_NORMAL);
            gdi::SelectObject(dc.get(), old);
        }
    } catch (const gdi::ImageError&) {
    }
    if (!(gdi::LiveObjects() == before)) std::abort();
    return 0;
}
