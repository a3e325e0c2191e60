#include "buttons/PictureDraw.h"

#include <algorithm>
#include <optional>

#include "buttons/CaptionLayout.h"
#include "buttons/Colors.h"
#include "gdi/MemoryDC.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Image.h"
#include "gdi/Objects.h"

namespace buttons {

namespace {

constexpr std::int16_t LargestFixedSize = 32;
constexpr std::int16_t StretchSize = 40;
constexpr std::int32_t Margin = 6;
// ((destination XOR brush) AND source) XOR brush: white source keeps the face, black takes the brush.
constexpr gdi::DWORD EmbossRop = 0x00B8074A;
constexpr gdi::COLORREF SilhouetteBase = 0xC0C0C0;
constexpr std::int16_t SilhouetteShift = 36;

// Deletes a scaled copy of the picture through the call that fits its kind.
class ScopedCopy {
public:
    explicit ScopedCopy(gdi::HGDIOBJ h) : handle_(h) {}
    ScopedCopy(const ScopedCopy&) = delete;
    ScopedCopy& operator=(const ScopedCopy&) = delete;
    ~ScopedCopy() {
        if (handle_) gdi::DestroyHandle(handle_);
    }
    gdi::HGDIOBJ get() const { return handle_; }

private:
    gdi::HGDIOBJ handle_;
};

// The grey two-tone silhouette of a picture drawn black on white in silhouette: light one pixel up and
// left, dark at the picture's place.
void DrawSilhouette(RenderBuffer& buffer, gdi::HDC silhouette, const gdi::RECT& rect, std::int32_t width,
                    std::int32_t height) {
    std::int16_t lighter = SilhouetteShift;
    std::int16_t darker = -SilhouetteShift;
    gdi::OwnedBrush light(gdi::CreateSolidBrush(ShiftColor(SilhouetteBase, lighter, false, false, false)));
    gdi::OwnedBrush dark(gdi::CreateSolidBrush(ShiftColor(SilhouetteBase, darker, false, false, false)));
    // Without both brushes the displaced brush of the render buffer could not be put back safely.
    if (!light || !dark) return;

    const gdi::COLORREF previousBk = gdi::SetBkColor(buffer.Dc(), 0xFFFFFF);
    const gdi::HBRUSH previousBrush = gdi::SelectObject(buffer.Dc(), light.get());
    gdi::BitBlt(buffer.Dc(), rect.left - 1, rect.top - 1, width, height, silhouette, 0, 0, EmbossRop);
    gdi::SelectObject(buffer.Dc(), dark.get());
    gdi::BitBlt(buffer.Dc(), rect.left, rect.top, width, height, silhouette, 0, 0, EmbossRop);
    gdi::SetBkColor(buffer.Dc(), previousBk);
    if (previousBrush) gdi::SelectObject(buffer.Dc(), previousBrush);
}

}  // namespace

bool HasPicture(const PictureMeasure& m) { return static_cast<std::int64_t>(m.Width) + m.Height > 0; }

PictureMeasure MeasurePicture(const PictureRef& picture, const PictureMeasure& previous) {
    PictureMeasure m;
    m.Kind = previous.Kind;
    if (!picture) return m;
    const gdi::HGDIOBJ handle = picture->handle;
    gdi::BITMAP record;
    const int filled = gdi::GetObjectA(handle, static_cast<int>(sizeof(record)), &record);
    if (filled > 0) {
        // Any bitmap is drawn as one, device-dependent or not: taking a bitmap without bits for an
        // icon would make the icon copy fail and the picture vanish.
        m.Kind = 0;
    } else if (const auto icon = gdi::HandleCast<gdi::HICON>(handle)) {
        gdi::ICONINFO info;
        if (gdi::GetIconInfo(icon, &info)) {
            if (info.hbmColor) {
                gdi::GetObjectA(info.hbmColor, static_cast<int>(sizeof(record)), &record);
                m.Kind = 1;
                gdi::DeleteObject(info.hbmColor);
            }
            if (info.hbmMask) gdi::DeleteObject(info.hbmMask);
        }
    }
    // A record no query filled reads 0 x 0: an icon without a colour bitmap counts as no picture.
    m.Width = record.bmWidth;
    m.Height = record.bmHeight;
    return m;
}

PictureTarget CalcPictureTarget(const PictureTargetInput& in) {
    PictureTarget t;
    const std::int32_t shift = in.movedSideways ? 1 : 0;
    if (in.pictureSize <= LargestFixedSize) {
        t.rect = in.rect;
        t.width = FixedPictureSide(in.pictureSize, in.dpi);
        t.height = t.width;
    } else if (in.pictureSize == StretchSize) {
        t.rect = {shift, shift, in.faceWidth, in.faceHeight};
        t.width = in.faceWidth - shift;
        t.height = in.faceHeight - shift;
    } else {
        if (in.pictureWidth <= 0 || in.pictureHeight <= 0) return t;
        // Single precision, as the picture sizes of the control have always been scaled.
        const float f =
            std::min(static_cast<float>(in.usableWidth - 2 * Margin) / static_cast<float>(in.pictureWidth),
                     static_cast<float>(in.faceHeight - 2 * Margin) / static_cast<float>(in.pictureHeight));
        t.width = Nearest(static_cast<double>(f * static_cast<float>(in.pictureWidth)));
        t.height = Nearest(static_cast<double>(f * static_cast<float>(in.pictureHeight)));
        t.rect.left = (in.usableWidth - t.width) / 2 + in.usableLeft + shift;
        t.rect.top = (in.faceHeight - t.height) / 2 + shift;
        t.rect.right = t.rect.left + t.width;
        t.rect.bottom = t.rect.top + t.height;
    }
    // A face too small for the picture, or a stored size no setter accepts: nothing to draw.
    if (t.width <= 0 || t.height <= 0) {
        t.width = 0;
        t.height = 0;
    }
    return t;
}

gdi::RECT DrawPicture(const Frame& f, RenderBuffer& buffer, gdi::RECT rect, std::int32_t width, std::int32_t left) {
    if (!HasPicture(f.Measured) || !f.Props.Picture) return rect;

    PictureTargetInput in;
    in.pictureSize = f.Props.PictureSize;
    in.rect = rect;
    in.movedSideways = rect.left != f.Layout.PictureRect.left;
    in.faceWidth = f.FaceWidth;
    in.faceHeight = f.FaceHeight;
    in.usableWidth = width;
    in.usableLeft = left;
    in.pictureWidth = f.Measured.Width;
    in.pictureHeight = f.Measured.Height;
    in.dpi = f.Dpi;
    const PictureTarget target = CalcPictureTarget(in);
    if (target.width == 0) return rect;
    if (f.Props.PictureSize > LargestFixedSize) rect = target.rect;
    const std::int32_t dw = target.width;
    const std::int32_t dh = target.height;

    const bool isIcon = f.Measured.Kind == 1;
    const ScopedCopy copy(gdi::CopyImage(f.Props.Picture->handle, isIcon ? gdi::IMAGE_ICON : gdi::IMAGE_BITMAP, dw, dh, 0));
    if (!copy.get()) return rect;

    // A disabled picture is first drawn on white in a work context, then embossed onto the face.
    gdi::RECT r = rect;
    gdi::HDC drawTarget = buffer.Dc();
    std::optional<gdi::MemoryDC> silhouette;
    const bool enabled = f.Enabled;
    if (!enabled) {
        silhouette.emplace(buffer.Dc(), gdi::CreateCompatibleBitmap(buffer.Dc(), dw + 1, dh + 1),
                           gdi::MemoryDC::Ownership::Owns);
        if (!*silhouette) return rect;
        gdi::PatBlt(silhouette->get(), 0, 0, dw, dh, gdi::WHITENESS);
        r = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
        drawTarget = silhouette->get();
    }

    if (isIcon) {
        gdi::DrawIconEx(drawTarget, r.left, r.top, gdi::HandleCast<gdi::HICON>(copy.get()), 0, 0, 0, gdi::HBRUSH{},
                        gdi::DI_NORMAL);
    } else {
        int copyWidth = dw;
        int copyHeight = dh;
        DrawTransparentBitmap(drawTarget, r, gdi::HandleCast<gdi::HBITMAP>(copy.get()), gdi::RECT{}, copyWidth,
                              copyHeight);
    }

    if (!enabled) DrawSilhouette(buffer, silhouette->get(), rect, dw, dh);
    return rect;
}

}  // namespace buttons
