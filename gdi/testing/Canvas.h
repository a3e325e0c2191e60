// Test helper: a memory DC with its own bitmap pre-filled with a sentinel colour,
// and an ASCII rendering of its pixels for exact picture comparisons. Owns the DC and bitmap.
#pragma once

#include <initializer_list>
#include <string>
#include <cstdint>
#include <utility>
#include <vector>

#include "gdi/Gdi.h"
#include "gdi/MemoryDC.h"
#include "gdi/testing/Pixels.h"

namespace gdi::test {

constexpr COLORREF Sentinel = RGB(1, 2, 3);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

class Canvas {
public:
    Canvas(int width, int height, int bitsPerPixel = 32, COLORREF fill = Sentinel)
        : width_(width),
          height_(height),
          memory_(HDC{}, CreateBitmap(width, height, 1, static_cast<UINT>(bitsPerPixel), nullptr),
                  MemoryDC::Ownership::Owns) {
        Fill(fill);
    }

    HDC dc() const { return memory_.get(); }
    HBITMAP bitmap() const { return memory_.Bitmap(); }

    void Fill(COLORREF c) {
        const BitmapView v = GetBitmapView(bitmap());
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                if (v.bitsPerPixel == 1)
                    v.pixels1[y * v.stride + x] = c == RGB(255, 255, 255) ? 1 : 0;
                else
                    v.pixels32[y * v.stride + x] = PixelOf(c);
            }
    }

    // Straight from the bitmap, so pixels outside a clip region can be checked too.
    COLORREF At(int x, int y) const {
        const BitmapView v = GetBitmapView(bitmap());
        if (v.bitsPerPixel == 1) return v.pixels1[y * v.stride + x] ? RGB(255, 255, 255) : RGB(0, 0, 0);
        return ColourOf(v.pixels32[y * v.stride + x]);
    }

    // One line per row; each pixel is the character its colour maps to, '?' when unmapped.
    // The sentinel always shows as '.'.
    std::string Picture(std::initializer_list<std::pair<COLORREF, char>> legend) const {
        std::string s;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const COLORREF c = At(x, y);
                char ch = '?';
                if (c == Sentinel) ch = '.';
                for (const auto& [colour, mark] : legend)
                    if (colour == c) ch = mark;
                s += ch;
            }
            s += '\n';
        }
        return s;
    }

    int Count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += At(x, y) == c;
        return n;
    }

private:
    int width_;
    int height_;
    MemoryDC memory_;
};

// Joins rows into the form Picture returns, so expected pictures read as a column.
inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string s;
    for (const char* r : rows) {
        s += r;
        s += '\n';
    }
    return s;
}

}  // namespace gdi::test
