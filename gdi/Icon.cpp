// Icon and cursor objects: creation from a mask and colour bitmap, the image drawn from them
// (with its row runs), query, destruction.
#include <cstdint>
#include <memory>
#include <vector>

#include "Image.h"
#include "Table_p.h"

namespace gdi::detail {

namespace {

// Transparent or opaque stretches shorter than this are drawn as mixed: a run costs more to
// set out than a few pixels of AND and XOR.
constexpr std::int32_t kShortestPlainRun = 8;
// Drawing by runs pays when most pixels lie in runs at least this long.
constexpr std::int32_t kLongRun = 32;

void AddRowRuns(const IconImage& image, int y, std::vector<IconRun>& out) {
    const std::uint8_t* mask = image.mask.Row1(y);
    const std::uint32_t* colour = image.colour.Row32(y);
    const std::int32_t width = image.mask.width;
    auto kindAt = [&](std::int32_t x) {
        if (!mask[x]) return IconRun::Kind::Copy;
        return colour[x] == 0 ? IconRun::Kind::Keep : IconRun::Kind::Mixed;
    };
    for (std::int32_t x = 0; x < width;) {
        IconRun run{x, x + 1, kindAt(x)};
        while (run.x1 < width && kindAt(run.x1) == run.kind) ++run.x1;
        if (run.x1 - run.x0 < kShortestPlainRun) run.kind = IconRun::Kind::Mixed;
        const std::size_t rowStart = image.rowRuns.back();
        if (out.size() > rowStart && run.kind == IconRun::Kind::Mixed && out.back().kind == IconRun::Kind::Mixed) {
            out.back().x1 = run.x1;
        } else {
            out.push_back(run);
        }
        x = run.x1;
    }
}

}  // namespace

std::shared_ptr<const IconImage> MakeIconImage(Bitmap&& mask, Bitmap&& colour) {
    auto image = std::make_shared<IconImage>();
    image->mask = std::move(mask);
    image->colour = std::move(colour);
    if (image->hasColour()) {
        const std::vector<std::uint8_t>& bits = image->mask.pixels1;
        image->andWords.resize(bits.size());
        for (std::size_t i = 0; i < bits.size(); ++i) image->andWords[i] = bits[i] ? 0x00FFFFFFu : 0u;
        image->rowRuns.reserve(static_cast<std::size_t>(image->mask.height) + 1);
        image->rowRuns.push_back(0);
        for (int y = 0; y < image->mask.height; ++y) {
            AddRowRuns(*image, y, image->runs);
            image->rowRuns.push_back(static_cast<std::uint32_t>(image->runs.size()));
        }
        std::size_t plain = 0;
        for (const IconRun& run : image->runs)
            if (run.kind != IconRun::Kind::Mixed && run.x1 - run.x0 >= kLongRun)
                plain += static_cast<std::size_t>(run.x1 - run.x0);
        image->drawByRuns = 2 * plain >= bits.size();
    }
    return image;
}

}  // namespace gdi::detail

namespace gdi {

using namespace detail;

namespace {

// Icons keep a 1 bpp mask; a colour mask is reduced with white as 1, as a colour-to-mono blit
// with a white background colour does.
Bitmap AsMono(const Bitmap& b) {
    if (b.bitsPerPixel == 1) return Bitmap{b.width, b.height, 1, false, {}, b.pixels1};
    Bitmap m = MakeBitmap(b.width, b.height, 1);
    for (std::size_t i = 0; i < b.pixels32.size(); ++i) m.pixels1[i] = (b.pixels32[i] & 0x00FFFFFF) == 0x00FFFFFF;
    return m;
}

Bitmap AsColour(const Bitmap& b) {
    if (b.bitsPerPixel == 32) return Bitmap{b.width, b.height, 32, false, b.pixels32, {}};
    Bitmap c = MakeBitmap(b.width, b.height, 32);
    for (std::size_t i = 0; i < b.pixels1.size(); ++i) c.pixels32[i] = b.pixels1[i] ? 0x00FFFFFF : 0;
    return c;
}

}  // namespace

HICON CreateIconIndirect(const ICONINFO& info) {
    const Bitmap* mask = LookupBitmap(info.hbmMask);
    if (!mask) return HICON{};
    const Bitmap* colour = info.hbmColor ? LookupBitmap(info.hbmColor) : nullptr;
    if (info.hbmColor && !colour) return HICON{};
    // The drawing reads both bitmaps by the mask's size: a colour bitmap of another size is refused
    // rather than read past its end.
    if (colour && (colour->width != mask->width || colour->height != mask->height)) return HICON{};
    Icon icon;
    icon.isIcon = info.fIcon != FALSE;
    icon.xHotspot = info.xHotspot;
    icon.yHotspot = info.yHotspot;
    icon.image = MakeIconImage(AsMono(*mask), colour ? AsColour(*colour) : Bitmap{0, 0, 32, false, {}, {}});
    return NewIcon(std::move(icon));
}

BOOL DestroyIcon(HICON h) { return DeleteSlot(h.value, ObjectKind::Icon) ? TRUE : FALSE; }

BOOL GetIconInfo(HICON h, ICONINFO* out) {
    const Icon* icon = LookupIcon(h);
    if (!icon || !out) return FALSE;
    ICONINFO info;
    info.fIcon = icon->isIcon ? TRUE : FALSE;
    // GDI reports an icon's hotspot as its centre.
    const Bitmap& mask = icon->mask();
    info.xHotspot = icon->isIcon ? static_cast<DWORD>(mask.width / 2) : icon->xHotspot;
    info.yHotspot = icon->isIcon ? static_cast<DWORD>((icon->hasColour() ? mask.height : mask.height / 2) / 2)
                                 : icon->yHotspot;
    info.hbmMask = NewBitmap(Bitmap(mask));
    info.hbmColor = icon->hasColour() ? NewBitmap(Bitmap(icon->colour())) : HBITMAP{};
    *out = info;
    return TRUE;
}

}  // namespace gdi
