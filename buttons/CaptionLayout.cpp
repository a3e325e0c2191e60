#include "buttons/CaptionLayout.h"

#include <algorithm>

#include "buttons/ButtonTypes.h"
#include "forms/Units.h"

namespace buttons {

namespace {

constexpr std::int32_t Margin = 6;         // kept free at the face's left, top and bottom
constexpr std::int32_t PictureGap = 6;     // between picture and caption
constexpr std::int32_t EmptyCaptionHeight = -3;

// Top, left and bottom keep the margin; the right edge is cut at the span itself.
void Clamp(gdi::RECT& r, std::int32_t spanRight, std::int32_t faceHeight) {
    r.top = std::max(r.top, Margin);
    r.left = std::max(r.left, Margin);
    r.right = std::min(r.right, spanRight);
    if (faceHeight - Margin < r.bottom) r.bottom = faceHeight - Margin;
}

std::int32_t CaptionDx(const CaptionPlacementInput& in, const PictureReserve& res, std::int32_t tw) {
    const UsableSpan& s = in.span;
    switch (in.captionAlign) {
        case ToInt(CaptionAlignment::AlignLeft):
            return s.left + res.left + Margin + (res.left > 0 ? PictureGap : 0);
        case ToInt(CaptionAlignment::AlignRight):
            return s.right - res.right - Margin - tw - (res.right > 0 ? PictureGap : 0);
        case ToInt(CaptionAlignment::AlignCenter):
            // Picture, gap and caption are centred as one group when the picture moves with the caption.
            if (res.left > 0 && in.pictureAlign == ToInt(PictureAlignment::PicLeftOfCaption))
                return (s.width - tw - res.left - PictureGap) / 2 + s.left + PictureGap + res.left;
            if (res.right > 0 && in.pictureAlign == ToInt(PictureAlignment::PicRightOfCaption))
                return (s.width - tw - res.right - PictureGap) / 2 + s.left;
            return (s.width - res.left - res.right - tw) / 2 + s.left + res.left;
        default:
            // A stored value no setter accepts: no move, so the left clamp puts the caption at the margin.
            return 0;
    }
}

}  // namespace

UsableSpan CalcUsableSpan(std::int32_t shape, std::int32_t faceWidth, std::int32_t slantLeftX, std::int32_t slantRightX,
                          std::int32_t passedLeft) {
    const std::int32_t sl = slantLeftX;
    const std::int32_t sr = slantRightX;
    UsableSpan span;
    switch (shape) {
        case ToInt(ButtonShapeKind::ShapeSlantLeft):
            span.left = sl - sl / 3;
            span.right = faceWidth;
            span.width = faceWidth - span.left;
            break;
        case ToInt(ButtonShapeKind::ShapeSlantRight):
            span.left = passedLeft;
            span.right = sr + (faceWidth - sr) / 3;
            span.width = span.right;
            break;
        case ToInt(ButtonShapeKind::ShapeSlantBoth):
            span.left = sl - sl / 3;
            span.right = sr + (faceWidth - sr) / 3;
            span.width = span.right - span.left;
            break;
        default:
            span.left = passedLeft;
            span.right = faceWidth;
            span.width = sr;  // the face width for these shapes
            break;
    }
    return span;
}

std::int32_t FixedPictureSide(std::int16_t pictureSize, std::int32_t dpi) {
    if (pictureSize <= 0 || pictureSize > 32 || dpi <= 0) return pictureSize;
    // Bounded as the stored size is, so that no dpi a host passes overflows the face arithmetic.
    const std::int64_t side = (std::int64_t{pictureSize} * dpi + forms::StandardDpi / 2) / forms::StandardDpi;
    return static_cast<std::int32_t>(std::min<std::int64_t>(side, INT16_MAX));
}

PictureReserve CalcPictureReserve(bool hasPicture, std::int32_t pictureAlign, std::int16_t stored, std::int32_t dpi) {
    PictureReserve r;
    // The automatic sizes (40 and 48) are drawn over the face and take no room.
    if (!hasPicture || stored >= 33) return r;
    const std::int32_t pictureSize = FixedPictureSide(stored, dpi);
    switch (pictureAlign) {
        case ToInt(PictureAlignment::PicLeftEdge):
        case ToInt(PictureAlignment::PicLeftOfCaption):
            r.left = pictureSize;
            r.beside = true;
            break;
        case ToInt(PictureAlignment::PicRightEdge):
        case ToInt(PictureAlignment::PicRightOfCaption):
            r.right = pictureSize;
            r.beside = true;
            break;
        case ToInt(PictureAlignment::PicTopCenter):
            r.top = pictureSize;
            r.stacked = true;
            break;
        case ToInt(PictureAlignment::PicBottomCenter):
            r.bottom = pictureSize;
            r.stacked = true;
            break;
        default:
            break;
    }
    return r;
}

gdi::RECT CaptionMeasuringRect(const UsableSpan& span, std::int32_t faceHeight, const PictureReserve& reserve) {
    gdi::RECT r;
    r.right = span.width - 2 * Margin - reserve.left - reserve.right;
    r.bottom = faceHeight - 2 * Margin - reserve.top - reserve.bottom;
    return r;
}

CaptionPlacement PlaceCaptionAndPicture(const CaptionPlacementInput& in) {
    const std::int32_t sh = in.faceHeight;
    const UsableSpan& span = in.span;
    const PictureReserve res = CalcPictureReserve(in.hasPicture, in.pictureAlign, in.pictureSize, in.dpi);

    CaptionPlacement out;
    gdi::RECT& cap = out.caption;
    const std::int32_t th = in.hasCaption ? in.textHeight : EmptyCaptionHeight;
    if (in.hasCaption) {
        cap = {0, 0, in.textWidth, in.textHeight};
        Offset(cap, CaptionDx(in, res, in.textWidth), 0);
    }
    // An empty caption keeps its all-zero rectangle until clamping.
    auto moveCaptionDown = [&](std::int32_t dy) {
        if (in.hasCaption) Offset(cap, 0, dy);
    };

    if (!in.hasPicture) {
        moveCaptionDown((sh - th) / 2);
    } else {
        gdi::RECT& pic = out.picture;
        const std::int32_t size = FixedPictureSide(in.pictureSize, in.dpi);
        switch (in.pictureAlign) {
            case ToInt(PictureAlignment::PicLeftEdge):
                pic.left = span.left + Margin;
                break;
            case ToInt(PictureAlignment::PicLeftOfCaption):
                pic.left = in.hasCaption ? cap.left - PictureGap - res.left : span.left + Margin;
                break;
            case ToInt(PictureAlignment::PicRightEdge):
                pic.left = span.right - Margin - res.right;
                break;
            case ToInt(PictureAlignment::PicRightOfCaption):
                pic.left = in.hasCaption ? cap.right + PictureGap : span.right - Margin - res.right;
                break;
            case ToInt(PictureAlignment::PicTopCenter): {
                const std::int32_t t = (sh - (th + res.top)) / 2;
                pic.top = t;
                moveCaptionDown(t + 2 + res.top);
                break;
            }
            case ToInt(PictureAlignment::PicBottomCenter): {
                const std::int32_t t = (sh - (th + res.bottom)) / 2;
                pic.top = t + th + 3;
                moveCaptionDown(t + 1);
                break;
            }
            default:
                break;  // a stored value no setter accepts: left at 0, the clamp brings it to the margin
        }
        const bool stacked = in.pictureAlign == ToInt(PictureAlignment::PicTopCenter) ||
                             in.pictureAlign == ToInt(PictureAlignment::PicBottomCenter);
        if (stacked) {
            pic.left = (span.width - size) / 2 + span.left;
        } else {
            // Beside the caption (and any unknown placement): both centred vertically on the face.
            moveCaptionDown((sh - th) / 2);
            pic.top = (sh - size) / 2;
        }
        pic.right = pic.left + size;
        pic.bottom = pic.top + size;
    }

    Clamp(cap, span.right, sh);
    Clamp(out.picture, span.right, sh);
    return out;
}

void Offset(gdi::RECT& r, std::int32_t dx, std::int32_t dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

std::string CaptionWithLineBreaks(std::string_view caption) {
    std::string out;
    out.reserve(caption.size() + 4);
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '|' && i + 1 < caption.size() && caption[i + 1] == '|') {
            out += "\r\n";
            ++i;
        } else {
            out += caption[i];
        }
    }
    return out;
}

}  // namespace buttons
