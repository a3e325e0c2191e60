// The control's offscreen drawing buffer: a memory DC, its bitmap, the objects it started with, the
// face clip region and what the painters keep between redraws. Owns all of them; the destructor
// releases everything (Release is idempotent).
#pragma once

#include <cstdint>
#include <optional>

#include "buttons/Frame.h"
#include "buttons/PaintCaches.h"
#include "gdi/Handles.h"
#include "gdi/MemoryDC.h"
#include "gdi/Region.h"

namespace buttons {

class RenderBuffer {
public:
    RenderBuffer() = default;
    RenderBuffer(const RenderBuffer&) = delete;
    RenderBuffer& operator=(const RenderBuffer&) = delete;
    ~RenderBuffer() { Release(); }

    gdi::HDC Dc() const { return dc_; }
    gdi::HRGN FaceClip() const { return faceClip_.get(); }
    bool HasBitmap() const { return static_cast<bool>(savedBitmap_); }
    // Both the context and a bitmap of the face's size: painting can start.
    bool Ready() const { return dc_ && savedBitmap_; }
    // Width of the buffer bitmap in pixels; 0 without one.
    int BitmapWidth() const;

    // Creates the context compatible with reference (transparent text background, a created brush
    // and pen selected); false when it could not. Does nothing when it exists.
    bool CreateContext(gdi::HDC reference);
    // Selects a new bitmap of the given size unless one is there already.
    void CreateBitmap(gdi::HDC reference, int width, int height);
    // Puts the context's first bitmap back and deletes the buffer bitmap.
    void DropBitmap();
    // Selects a new caption font; the context's first font is kept to be put back at Release.
    void SelectFont(gdi::HFONT font);
    // Takes the face clip region (null: none), deselecting and deleting the previous one.
    void SetFaceClip(gdi::HRGN region);

    // Selects obj and deletes what it displaces, unless that is one of the context's first objects.
    void SelectBrush(gdi::HBRUSH brush);
    void SelectPen(gdi::HPEN pen);
    // Puts the first brush and pen back, deleting the created ones.
    void RestoreBrushAndPen();

    // The objects the context started with (null before it exists or after Release).
    gdi::HBITMAP OriginalBitmap() const { return savedBitmap_; }
    gdi::HPEN OriginalPen() const { return savedPen_; }
    gdi::HBRUSH OriginalBrush() const { return savedBrush_; }
    gdi::HFONT OriginalFont() const { return savedFont_; }

    // The frame the bitmap was last painted from. A new bitmap, font or face clip forgets it: the
    // picture could then differ from what that frame paints.
    bool Shows(const Frame& f) const { return shown_ && *shown_ == f; }
    void PaintedFrom(Frame f) { shown_ = std::move(f); }

    // The tables and text the painters keep between redraws of this button.
    PaintCaches& Caches() { return caches_; }

    // Releases the clip region, the created objects and the bitmap, and deletes the context.
    void Release();

private:
    template <class H>
    void SelectAndDeleteDisplaced(H obj);

    gdi::HDC dc_;
    gdi::HBITMAP savedBitmap_;  // null: no buffer bitmap exists
    gdi::HPEN savedPen_;
    gdi::HBRUSH savedBrush_;
    gdi::HFONT savedFont_;
    gdi::OwnedRgn faceClip_;
    PaintCaches caches_;
    std::optional<Frame> shown_;
};

}  // namespace buttons
