// The drawing calls of one button redraw, written once against GDI's names and compiled twice: in our
// benchmark (bench/gdi) and in WineBench.exe under Wine, so the two timings measure the same work.
// Include after OurSide_p.h or WinSide_p.h.
#pragma once

#include <cstdio>

namespace difftest::side {

// A 145×41 face: 40 one-pixel rows of Rectangle with a new pen and brush each, 12 polyline
// segments, 4 pixels, one line of bold 15.75 pt caption, a 32×32 icon copied and drawn, and the
// face copied to the window with one BitBlt. Objects are made and deleted as the button does.
class ButtonSequence {
public:
    static constexpr int Width = 145;
    static constexpr int Height = 41;

    ButtonSequence() {
        screen_ = CreateCompatibleDC(HDC{});
        face_ = CreateCompatibleDC(HDC{});
        faceBitmap_ = NewColourBitmap(Width, Height);
        screenBitmap_ = NewColourBitmap(Width, Height);
        oldFace_ = SelectObject(face_, faceBitmap_);
        oldScreen_ = SelectObject(screen_, screenBitmap_);

        // 15.75 pt at 96 dpi is 21 pixels of character height.
        LOGFONTA lf{};
        lf.lfHeight = -21;
        lf.lfWeight = 700;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Times New Roman");
        font_ = NewFont(lf);

        // The 32×32 picture: a disc on a transparent mask.
        HDC work = CreateCompatibleDC(HDC{});
        HBITMAP colour = NewColourBitmap(32, 32);
        HBITMAP mask = CreateBitmap(32, 32, 1, 1, nullptr);
        auto old = SelectObject(work, colour);
        PatBlt(work, 0, 0, 32, 32, BLACKNESS);
        HBRUSH red = CreateSolidBrush(0x0000C0);
        SelectObject(work, red);
        Ellipse(work, 2, 2, 30, 30);
        SelectObject(work, mask);
        PatBlt(work, 0, 0, 32, 32, WHITENESS);
        SelectObject(work, GetStockObject(BLACK_BRUSH));
        Ellipse(work, 2, 2, 30, 30);
        SelectObject(work, GetStockObject(WHITE_BRUSH));
        SelectObject(work, old);
        DeleteDC(work);
        DeleteObject(red);
        icon_ = NewIcon(mask, colour);
        DeleteObject(mask);
        DeleteObject(colour);
    }

    ~ButtonSequence() {
        DestroyIcon(icon_);
        DeleteObject(font_);
        SelectObject(face_, oldFace_);
        SelectObject(screen_, oldScreen_);
        DeleteDC(face_);
        DeleteDC(screen_);
        DeleteObject(faceBitmap_);
        DeleteObject(screenBitmap_);
    }

    ButtonSequence(const ButtonSequence&) = delete;
    ButtonSequence& operator=(const ButtonSequence&) = delete;

    bool Ready() const { return face_ && screen_ && faceBitmap_ && screenBitmap_ && font_ && icon_; }

    void Redraw(bool withIcon) {
        const auto stockPen = GetStockObject(BLACK_PEN);
        const auto stockBrush = GetStockObject(WHITE_BRUSH);
        // The face: each row its own shade, as the gradient fill draws it.
        for (int y = 0; y < 40; ++y) {
            const COLORREF c = static_cast<COLORREF>(0xC0C0C0 - 0x010101 * y);
            HPEN pen = CreatePen(0, 1, c);
            HBRUSH brush = CreateSolidBrush(c);
            SelectObject(face_, pen);
            SelectObject(face_, brush);
            Rectangle(face_, 0, y, Width, y + 1);
            SelectObject(face_, stockPen);
            SelectObject(face_, stockBrush);
            DeleteObject(pen);
            DeleteObject(brush);
        }
        // The bevel: light top and left, dark bottom and right, three lines each.
        HPEN light = CreatePen(0, 1, 0xFFFFFF);
        HPEN dark = CreatePen(0, 1, 0x404040);
        for (int i = 0; i < 3; ++i) {
            POINT top[2] = {{i, i}, {Width - i, i}};
            POINT left[2] = {{i, i}, {i, Height - i}};
            POINT bottom[2] = {{i, Height - 1 - i}, {Width - i, Height - 1 - i}};
            POINT right[2] = {{Width - 1 - i, i}, {Width - 1 - i, Height - i}};
            SelectObject(face_, light);
            Polyline(face_, top, 2);
            Polyline(face_, left, 2);
            SelectObject(face_, dark);
            Polyline(face_, bottom, 2);
            Polyline(face_, right, 2);
        }
        SelectObject(face_, stockPen);
        DeleteObject(light);
        DeleteObject(dark);
        SetPixel(face_, 0, 0, 0x808080);
        SetPixel(face_, Width - 1, 0, 0x808080);
        SetPixel(face_, 0, Height - 1, 0x808080);
        SetPixel(face_, Width - 1, Height - 1, 0x808080);

        auto oldFont = SelectObject(face_, font_);
        SetBkMode(face_, 1);  // TRANSPARENT
        SetTextColor(face_, 0x000000);
        RECT caption{36, 8, Width - 4, Height - 8};
        DrawTextA(face_, "Envio local (RF)", -1, &caption, 0x0001 | 0x0010);  // DT_CENTER | DT_WORDBREAK
        SelectObject(face_, oldFont);

        if (withIcon) {
            HICON copy = ScaledIconCopy(icon_, 32, 32);
            DrawIconEx(face_, 4, 4, copy, 32, 32, 0, HBRUSH{}, 0x0003);  // DI_NORMAL
            DestroyIcon(copy);
        }
        BitBlt(screen_, 0, 0, Width, Height, face_, 0, 0, 0x00CC0020);  // SRCCOPY
    }

private:
    using OldBitmap = decltype(SelectObject(HDC{}, HBITMAP{}));
    HDC screen_{};
    HDC face_{};
    HBITMAP faceBitmap_{};
    HBITMAP screenBitmap_{};
    OldBitmap oldFace_{};
    OldBitmap oldScreen_{};
    HFONT font_{};
    HICON icon_{};
};

}  // namespace difftest::side
