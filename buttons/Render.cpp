#include "buttons/Render.h"

#include <algorithm>

#include "buttons/Caption.h"
#include "buttons/Colors.h"
#include "buttons/Face.h"
#include "buttons/Shapes.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"

namespace buttons {
namespace {

std::int32_t ClampEdge(double v) { return std::clamp(Nearest(v), 0, MaxBufferEdge); }

// Puts an original object back and deletes the created one that comes out.
template <class H>
void RestoreOriginal(gdi::HDC dc, H& saved) {
    if (!saved) return;
    const H out = gdi::SelectObject(dc, saved);
    if (out && !(out == saved)) gdi::DeleteObject(out);
    saved = H{};
}

}  // namespace

std::int32_t ClientWidth(const ButtonHost& host) { return ClampEdge(host.ScaleWidth()); }
std::int32_t ClientHeight(const ButtonHost& host) { return ClampEdge(host.ScaleHeight()); }

void ManageBuffer(ButtonState& s, ButtonHost& host, bool setUp) {
    if (!setUp) {
        if (s.MemDC) {
            gdi::BitBlt(host.hDC(), 0, 0, ClientWidth(host), ClientHeight(host), s.MemDC, 0, 0, gdi::SRCCOPY);
        }
        return;
    }
    if (!s.MemDC) {
        s.MemDC = gdi::CreateCompatibleDC(host.hDC());
        if (!s.MemDC) return;
        // Captions are drawn without a background box.
        gdi::SetBkMode(s.MemDC, gdi::TRANSPARENT);
        s.SavedBrush = gdi::SelectObject(s.MemDC, gdi::CreateSolidBrush(0));
        s.SavedPen = gdi::SelectObject(s.MemDC, gdi::CreatePen(gdi::PS_SOLID, 1, 0));
        RefreshCaptionFont(s, host);
    }
    if (s.SavedBitmap) return;
    const gdi::HBITMAP bitmap = gdi::CreateCompatibleBitmap(host.hDC(), ClientWidth(host), ClientHeight(host));
    if (!bitmap) return;
    s.SavedBitmap = gdi::SelectObject(s.MemDC, bitmap);
    // A bitmap that could not be selected would otherwise be lost.
    if (!s.SavedBitmap) gdi::DeleteObject(bitmap);
}

void RedrawButton(ButtonState& s, ButtonHost& host) {
    if (s.DelayFlag) return;
    // Before the first Resize there is no buffer to paint or copy.
    if (!s.MemDC || !s.SavedBitmap) return;
    if (s.ButtonStyle == ToInt(ButtonStyleKind::StyleStandard)) {
        EdgePointArray edgePoints{};
        EdgeColorArray edgeColors{};
        std::int16_t drawState = 0;
        PaintStandardFace(s, host, edgePoints, edgeColors, drawState);
    }
    ManageBuffer(s, host, false);
    host.RefreshNow();
}

void ResizeBuffer(ButtonState& s, ButtonHost& host) {
    BuildRegions(s, host);
    if (s.MemDC && s.SavedBitmap) {
        const gdi::HBITMAP out = gdi::SelectObject(s.MemDC, s.SavedBitmap);
        if (out && !(out == s.SavedBitmap)) gdi::DeleteObject(out);
        s.SavedBitmap = gdi::HBITMAP{};
    }
    ManageBuffer(s, host, true);
    Relayout(s, host);
}

void ReleaseBuffer(ButtonState& s) {
    if (s.FaceClipRgn) {
        gdi::DeleteObject(s.FaceClipRgn);
        s.FaceClipRgn = gdi::HRGN{};
    }
    if (!s.MemDC) return;
    SetDrawColor(s, false, s.MemDC, 0, 0);
    s.SavedBrush = gdi::HBRUSH{};
    s.SavedPen = gdi::HPEN{};
    RestoreOriginal(s.MemDC, s.SavedFont);
    RestoreOriginal(s.MemDC, s.SavedBitmap);
    gdi::DeleteDC(s.MemDC);
    s.MemDC = gdi::HDC{};
}

void RefreshFaceColours(ButtonState& s) {
    const gdi::COLORREF base = ConvertSysColor(s.BackColor);
    s.FaceColor = ShiftColor(base, 48);
    s.HoverFaceColor = ShiftColor(ConvertSysColor(s.HoverBackColor), 48);
    s.PressedColor = ShiftColor(s.FaceColor, -32);
    s.ValueTrueColor = ShiftColor(0xFFFFFF, -32);
}

void Relayout(ButtonState& s, ButtonHost& host) {
    std::int32_t width = 0;
    std::int32_t left = 0;
    CalcCaptionLayout(s, host, width, true, left);
}

}  // namespace buttons
