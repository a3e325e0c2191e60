#include "buttons/RenderBuffer.h"

#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"

namespace buttons {
namespace {

// Puts an original object back and deletes the created one that comes out.
template <class H>
void RestoreOriginal(gdi::HDC dc, H& saved) {
    if (!saved) return;
    const H out = gdi::SelectObject(dc, saved);
    if (out && !(out == saved)) gdi::DeleteObject(out);
    saved = H{};
}

}  // namespace

bool RenderBuffer::CreateContext(gdi::HDC reference) {
    if (dc_) return true;
    dc_ = gdi::CreateCompatibleDC(reference);
    if (!dc_) return false;
    // Captions are drawn without a background box.
    gdi::SetBkMode(dc_, gdi::TRANSPARENT);
    savedBrush_ = gdi::SelectObject(dc_, gdi::CreateSolidBrush(0));
    savedPen_ = gdi::SelectObject(dc_, gdi::CreatePen(gdi::PS_SOLID, 1, 0));
    return true;
}

void RenderBuffer::CreateBitmap(gdi::HDC reference, int width, int height) {
    if (!dc_ || savedBitmap_) return;
    shown_.reset();
    const gdi::HBITMAP bitmap = gdi::CreateCompatibleBitmap(reference, width, height);
    if (!bitmap) return;
    savedBitmap_ = gdi::SelectObject(dc_, bitmap);
    // A bitmap that could not be selected would otherwise be lost.
    if (!savedBitmap_) gdi::DeleteObject(bitmap);
}

int RenderBuffer::BitmapWidth() const {
    if (!Ready()) return 0;
    gdi::BITMAP record;
    if (gdi::GetObjectA(gdi::GetCurrentBitmap(dc_), static_cast<int>(sizeof(record)), &record) <= 0) return 0;
    return record.bmWidth;
}

void RenderBuffer::DropBitmap() {
    shown_.reset();
    if (dc_) RestoreOriginal(dc_, savedBitmap_);
}

void RenderBuffer::SelectFont(gdi::HFONT font) {
    if (!font) return;
    shown_.reset();
    const gdi::HFONT displaced = dc_ ? gdi::SelectObject(dc_, font) : gdi::HFONT{};
    if (!displaced) {
        gdi::DeleteObject(font);
        return;
    }
    if (!savedFont_) {
        savedFont_ = displaced;  // the font the context was created with, handed back at Release
    } else if (displaced != savedFont_) {
        gdi::DeleteObject(displaced);
    }
}

void RenderBuffer::SetFaceClip(gdi::HRGN region) {
    shown_.reset();
    if (faceClip_ && dc_) gdi::SelectClipRgn(dc_, gdi::HRGN{});
    faceClip_.reset(region);
}

template <class H>
void RenderBuffer::SelectAndDeleteDisplaced(H obj) {
    if (!obj) return;
    const H old = gdi::SelectObject(dc_, obj);
    if (!old) {
        gdi::DeleteObject(obj);  // not selected: nobody else would ever delete it
        return;
    }
    // The first objects stay alive: only Release puts them back.
    const gdi::HGDIOBJ displaced(old);
    if (displaced == gdi::HGDIOBJ(savedPen_) || displaced == gdi::HGDIOBJ(savedBrush_)) return;
    gdi::DeleteObject(old);
}

void RenderBuffer::SelectBrush(gdi::HBRUSH brush) { SelectAndDeleteDisplaced(brush); }
void RenderBuffer::SelectPen(gdi::HPEN pen) { SelectAndDeleteDisplaced(pen); }

void RenderBuffer::RestoreBrushAndPen() {
    if (!dc_) return;
    if (savedBrush_) {
        const gdi::HBRUSH out = gdi::SelectObject(dc_, savedBrush_);
        if (out && !(out == savedBrush_)) gdi::DeleteObject(out);
    }
    if (savedPen_) {
        const gdi::HPEN out = gdi::SelectObject(dc_, savedPen_);
        if (out && !(out == savedPen_)) gdi::DeleteObject(out);
    }
}

void RenderBuffer::Release() {
    shown_.reset();
    faceClip_.reset();
    if (!dc_) return;
    RestoreBrushAndPen();
    savedBrush_ = gdi::HBRUSH{};
    savedPen_ = gdi::HPEN{};
    RestoreOriginal(dc_, savedFont_);
    RestoreOriginal(dc_, savedBitmap_);
    gdi::DeleteDC(dc_);
    dc_ = gdi::HDC{};
}

}  // namespace buttons
