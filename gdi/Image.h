// Icons and cursors, scaled copies, icon drawing, and loading and saving image files.
// Loaders return owned handles and throw ImageError with a clear message for a bad file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>

#include "Handles.h"
#include "Types.h"

namespace gdi {

struct ICONINFO {
    BOOL fIcon = TRUE;
    DWORD xHotspot = 0;
    DWORD yHotspot = 0;
    HBITMAP hbmMask;   // 1 bpp AND mask
    HBITMAP hbmColor;  // 32 bpp XOR image; null for a monochrome icon
};

// The icon keeps copies of the bitmaps; the caller still owns the ones it passed.
HICON CreateIconIndirect(const ICONINFO& info);
BOOL DestroyIcon(HICON h);
// Fills new copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON h, ICONINFO* out);

// CopyImage flags: a DIB section instead of a compatible bitmap; delete the original.
constexpr UINT LR_COPYDELETEORG = 0x0008;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;

// IMAGE_BITMAP or IMAGE_ICON/IMAGE_CURSOR; cx or cy 0 keeps that dimension. Returns a new object,
// scaled as StretchBlt does in the default stretch mode (BLACKONWHITE, so a shrink keeps lone
// black pixels, such as opaque mask pixels); null for a wrong type, a negative or absurd size.
HGDIOBJ CopyImage(HGDIOBJ h, UINT type, int cx, int cy, UINT flags);
// width or height 0: the icon's own size. DI_NORMAL draws the mask with SRCAND, then the colour with SRCINVERT.
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flicker,
                UINT flags);

class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// .bmp (1, 4, 8, 16, 24, 32 bpp; RLE is refused), .ico/.cur (preferredSize 0: the first entry,
// else the one whose width is nearest), .png; recognised by content, not name. A bitmap comes
// back as a 32 bpp DIB section (bmBits not null). Images over 16384 pixels a side are refused.
OwnedBitmap LoadBitmapFile(const std::filesystem::path& path);
OwnedIcon LoadIconFile(const std::filesystem::path& path, int preferredSize = 0);
OwnedBitmap LoadBitmapFromMemory(std::span<const std::uint8_t> data, const std::string& name);
OwnedIcon LoadIconFromMemory(std::span<const std::uint8_t> data, const std::string& name, int preferredSize = 0);

// Writes a bitmap (32 or 1 bpp) as PNG; throws ImageError on failure.
void WritePng(HBITMAP h, const std::filesystem::path& path);

}  // namespace gdi
