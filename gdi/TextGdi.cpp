// The text engine on Windows: the platform's own GDI measures and draws, so that captions use
// Windows' fonts, its font smoothing and its DrawTextA rules, exactly as every other program's
// text on that desktop. The text is drawn into a scratch DIB section that holds a copy of the
// part of our bitmap it may touch, under the same clip region, and copied back.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "gdi/TextEngine_p.h"

// Last, after our own declarations of the same names: from here on the Win32 ones are written
// with their global qualifier, ours without.
#ifndef NOMINMAX
#define NOMINMAX  // keep std::min and std::max usable
#endif
#include <windows.h>

namespace gdi::text {
namespace {

RECT Intersect(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}
bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// A font object's realisation: the Win32 font made from its LOGFONT on first use.
struct WinFont {
    ::HFONT handle = nullptr;
    explicit WinFont(::HFONT h) : handle(h) {}
    ~WinFont() { ::DeleteObject(handle); }
    WinFont(const WinFont&) = delete;
    WinFont& operator=(const WinFont&) = delete;
};

::HFONT FontOf(const detail::Dc& dc) {
    detail::Font* font = detail::LookupFont(dc.font);
    if (!font) return nullptr;
    if (!font->cache) {
        const LOGFONTA& ours = font->lf;
        ::LOGFONTA lf{};
        lf.lfHeight = ours.lfHeight;
        lf.lfWidth = ours.lfWidth;
        lf.lfEscapement = ours.lfEscapement;
        lf.lfOrientation = ours.lfOrientation;
        lf.lfWeight = ours.lfWeight;
        lf.lfItalic = ours.lfItalic;
        lf.lfUnderline = ours.lfUnderline;
        lf.lfStrikeOut = ours.lfStrikeOut;
        lf.lfCharSet = ours.lfCharSet;
        lf.lfOutPrecision = ours.lfOutPrecision;
        lf.lfClipPrecision = ours.lfClipPrecision;
        lf.lfQuality = ours.lfQuality;
        lf.lfPitchAndFamily = ours.lfPitchAndFamily;
        // The face name up to its NUL, never past its field; the copy's last byte stays NUL.
        const char* end = std::find(ours.lfFaceName, ours.lfFaceName + sizeof ours.lfFaceName - 1, '\0');
        std::copy(ours.lfFaceName, end, lf.lfFaceName);
        const ::HFONT handle = ::CreateFontIndirectA(&lf);
        if (!handle) return nullptr;
        font->cache = std::make_shared<WinFont>(handle);
    }
    return static_cast<const WinFont*>(font->cache.get())->handle;
}

// The one memory DC the engine draws and measures with, and its DIB section, grown to the
// largest area asked for so far. Drawing happens on the thread that owns the drawing layer.
class Scratch {
public:
    static Scratch& Get() {
        static Scratch scratch;
        return scratch;
    }
    ~Scratch() {
        if (!dc_) return;
        ::SelectObject(dc_, original_);
        if (dib_) ::DeleteObject(dib_);
        ::DeleteDC(dc_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    ::HDC Dc() const { return dc_; }
    int Stride() const { return width_; }
    // Pixels of at least width x height (0x00RRGGBB, top-down rows of Stride()), or null.
    std::uint32_t* Pixels(int width, int height) {
        if (!dc_) return nullptr;
        if (width > width_ || height > height_) {
            ::BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = std::max(width, width_);
            info.bmiHeader.biHeight = -std::max(height, height_);
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            void* bits = nullptr;
            const ::HBITMAP dib = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (!dib) return nullptr;
            ::SelectObject(dc_, dib);
            if (dib_) ::DeleteObject(dib_);
            dib_ = dib;
            bits_ = static_cast<std::uint32_t*>(bits);
            width_ = info.bmiHeader.biWidth;
            height_ = -info.bmiHeader.biHeight;
        }
        return bits_;
    }

private:
    Scratch() {
        dc_ = ::CreateCompatibleDC(nullptr);
        if (dc_) original_ = ::GetCurrentObject(dc_, OBJ_BITMAP);
    }
    ::HDC dc_ = nullptr;
    ::HGDIOBJ original_ = nullptr;
    ::HBITMAP dib_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The DC's clip region within area, as a Win32 region relative to area's top-left.
::HRGN ClipRegionOver(const detail::Dc& dc, const RECT& area) {
    std::vector<::RECT> rects;
    detail::ForEachVisibleRect(dc, area, [&](const RECT& r) {
        rects.push_back({r.left - area.left, r.top - area.top, r.right - area.left, r.bottom - area.top});
    });
    std::vector<std::uint8_t> data(sizeof(::RGNDATAHEADER) + rects.size() * sizeof(::RECT));
    auto* header = reinterpret_cast<::RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(::RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(rects.size());
    header->rcBound = {0, 0, area.right - area.left, area.bottom - area.top};
    std::copy(rects.begin(), rects.end(), reinterpret_cast<::RECT*>(data.data() + sizeof(::RGNDATAHEADER)));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<::RGNDATA*>(data.data()));
}

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

// On a 1 bpp surface the text and background colours land as our pens' colours do there;
// the scratch holds them as black and white, and smoothed ink counts from half intensity.
COLORREF OnMono(const detail::Dc& dc, COLORREF c) { return detail::MonoForDrawing(dc, c) ? kWhite : 0; }
std::uint8_t MonoOf(std::uint32_t px) {
    const int sum = static_cast<int>((px >> 16) & 0xFF) + static_cast<int>((px >> 8) & 0xFF) +
                    static_cast<int>(px & 0xFF);
    return sum >= 3 * 128 ? 1 : 0;
}

void CopyIn(const detail::Bitmap& bmp, const RECT& area, std::uint32_t* to, int stride) {
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t* row = to + static_cast<std::size_t>(y - area.top) * stride;
        for (int x = area.left; x < area.right; ++x) {
            row[x - area.left] = bmp.bitsPerPixel == 32 ? bmp.Row32(y)[x] : (bmp.Row1(y)[x] ? kWhite : 0);
        }
    }
}

void CopyOut(const std::uint32_t* from, int stride, const RECT& area, detail::Bitmap& bmp) {
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint32_t* row = from + static_cast<std::size_t>(y - area.top) * stride;
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t px = row[x - area.left];
            if (bmp.bitsPerPixel == 32) {
                // GDI leaves the top byte of a 32 bpp DIB undefined after text; ours keeps its own.
                std::uint32_t& ours = bmp.Row32(y)[x];
                ours = (ours & ~kRgbMask) | (px & kRgbMask);
            } else {
                bmp.Row1(y)[x] = MonoOf(px);
            }
        }
    }
}

// Runs draw(hdc) on the scratch DC standing in for dc: device coordinates as dc's, the part of
// dc's surface within reach (wanted, cut to the surface and the clip region) copied in before
// and back after, the same clip region, colours, background mode and font. Nothing reaches the
// surface outside that part; a screen DC's drawing is discarded, as our layer does.
template <class Draw>
int DrawOnSurface(const detail::Dc& dc, ::HFONT font, const RECT& wanted, Draw draw) {
    Scratch& scratch = Scratch::Get();
    RECT area = Intersect(wanted, detail::SurfaceRect(dc));
    if (dc.hasClip) area = Intersect(area, dc.clip.box);
    const bool visible = dc.surface && !IsEmpty(area);
    if (!visible) area = {0, 0, 1, 1};
    std::uint32_t* pixels = scratch.Pixels(area.right - area.left, area.bottom - area.top);
    if (!pixels) return 0;
    const ::HDC hdc = scratch.Dc();
    const bool mono = dc.surface && dc.surface->bitsPerPixel == 1;
    if (visible) CopyIn(*dc.surface, area, pixels, scratch.Stride());
    const ::HRGN clip = visible ? ClipRegionOver(dc, area) : ::CreateRectRgn(0, 0, 0, 0);
    ::SelectClipRgn(hdc, clip);
    ::DeleteObject(clip);
    ::SetViewportOrgEx(hdc, -area.left, -area.top, nullptr);
    const ::HGDIOBJ oldFont = ::SelectObject(hdc, font);
    ::SetTextColor(hdc, mono ? OnMono(dc, dc.textColour) : dc.textColour);
    ::SetBkColor(hdc, mono ? OnMono(dc, dc.bkColour) : dc.bkColour);
    ::SetBkMode(hdc, dc.bkMode);
    const int result = draw(hdc);
    ::GdiFlush();
    ::SelectObject(hdc, oldFont);
    ::SetViewportOrgEx(hdc, 0, 0, nullptr);
    ::SelectClipRgn(hdc, nullptr);
    if (visible) CopyOut(pixels, scratch.Stride(), area, *dc.surface);
    return result;
}

// Runs measure(hdc) on the scratch DC with dc's font selected.
template <class F>
int Measure(::HFONT font, F measure) {
    const ::HDC hdc = Scratch::Get().Dc();
    if (!hdc) return 0;
    const ::HGDIOBJ oldFont = ::SelectObject(hdc, font);
    const int result = measure(hdc);
    ::SelectObject(hdc, oldFont);
    return result;
}

// GDI's DT_CALCRECT wraps an edge around past the end of the 32-bit range; ours saturates there,
// so that a rectangle near the end never comes back inverted. The extent itself is small, so its
// wrapped difference is exact.
LONG SaturatedEnd(LONG start, LONG end) {
    const auto extent = static_cast<std::int32_t>(static_cast<std::uint32_t>(end) - static_cast<std::uint32_t>(start));
    return static_cast<LONG>(std::clamp<long long>(static_cast<long long>(start) + extent, INT32_MIN, INT32_MAX));
}

int TextLength(std::string_view text) { return static_cast<int>(std::min<std::size_t>(text.size(), INT32_MAX)); }

}  // namespace

int EngineDrawText(const detail::Dc& dc, std::string_view text, RECT* rect, UINT format) {
    const ::HFONT font = FontOf(dc);
    if (!font) return 0;
    ::RECT r{rect->left, rect->top, rect->right, rect->bottom};
    // An empty text reaches here only as a NUL-terminated one of count -1 (the public call
    // answers a zero count itself), and GDI gives that the height of a line.
    const int count = text.empty() ? -1 : TextLength(text);
    auto call = [&](::HDC hdc) { return ::DrawTextA(hdc, text.data(), count, &r, format); };
    int height = 0;
    if (format & DT_CALCRECT) {
        height = Measure(font, call);
        *rect = {r.left, r.top, SaturatedEnd(r.left, r.right), SaturatedEnd(r.top, r.bottom)};
    } else {
        // Without DT_NOCLIP the rectangle clips; with it the text may reach anywhere.
        const RECT reach = (format & DT_NOCLIP) ? detail::SurfaceRect(dc) : *rect;
        height = DrawOnSurface(dc, font, reach, call);
    }
    return height;
}

BOOL EngineTextExtent(const detail::Dc& dc, std::string_view text, SIZE* size) {
    const ::HFONT font = FontOf(dc);
    if (!font) return FALSE;
    ::SIZE s{};
    const BOOL ok = Measure(font, [&](::HDC hdc) { return ::GetTextExtentPoint32A(hdc, text.data(), TextLength(text), &s); });
    if (ok) *size = {s.cx, s.cy};
    return ok ? TRUE : FALSE;
}

BOOL EngineTextOut(const detail::Dc& dc, int x, int y, std::string_view text) {
    const ::HFONT font = FontOf(dc);
    if (!font) return FALSE;
    return DrawOnSurface(dc, font, detail::SurfaceRect(dc),
                         [&](::HDC hdc) { return ::TextOutA(hdc, x, y, text.data(), TextLength(text)); })
               ? TRUE
               : FALSE;
}

BOOL EngineTextMetrics(const detail::Dc& dc, TEXTMETRICA* tm) {
    const ::HFONT font = FontOf(dc);
    if (!font) return FALSE;
    ::TEXTMETRICA m{};
    if (!Measure(font, [&](::HDC hdc) { return ::GetTextMetricsA(hdc, &m); })) return FALSE;
    tm->tmHeight = m.tmHeight;
    tm->tmAscent = m.tmAscent;
    tm->tmDescent = m.tmDescent;
    tm->tmInternalLeading = m.tmInternalLeading;
    tm->tmExternalLeading = m.tmExternalLeading;
    tm->tmAveCharWidth = m.tmAveCharWidth;
    tm->tmMaxCharWidth = m.tmMaxCharWidth;
    tm->tmWeight = m.tmWeight;
    return TRUE;
}

}  // namespace gdi::text
