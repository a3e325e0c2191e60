// A button face on its own: a small host over a bitmap DC, the MemDC set-up and teardown of the
// rendering pipeline, and one paint pass. Shared by the face, shape and gradient tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"
#include "buttons/Colors.h"
#include "buttons/Face.h"
#include "buttons/Shapes.h"
#include "gdi/Gdi.h"

namespace facetest {

using namespace buttons;

// Never painted by a face pass: a pixel left in this colour was not covered.
constexpr gdi::COLORREF Sentinel = gdi::RGB(255, 0, 255);

class RigHost final : public ButtonHost {
public:
    RigHost(int width, int height, ButtonState& s) : width_(width), height_(height), state_(s) {}
    ~RigHost() override { gdi::ReleaseDC(screen_); }
    RigHost(const RigHost&) = delete;
    RigHost& operator=(const RigHost&) = delete;

    OleColor ForeColor() const override { return SysButtonText; }
    void SetForeColor(OleColor) override {}
    FontDesc Font() const override { return {}; }
    void SetFont(const FontDesc&) override {}
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool e) override { enabled_ = e; }
    std::int32_t MousePointer() const override { return 0; }
    void SetMousePointer(std::int32_t) override {}
    PictureRef MouseIcon() const override { return {}; }
    void SetMouseIcon(PictureRef) override {}
    std::string AccessKeys() const override { return {}; }
    void SetAccessKeys(const std::string&) override {}
    std::string Tag() const override { return {}; }
    void SetTag(const std::string&) override {}
    bool UserMode() const override { return true; }
    OleColor AmbientBackColor() const override { return SysButtonFace; }
    std::string DisplayName() const override { return "face"; }
    bool DisplayAsDefault() const override { return false; }
    void PropertyChanged(const std::string&) override {}
    void InfoMessage(const std::string&) override {}
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }
    gdi::HDC hDC() const override { return screen_; }
    win::HWND hWnd() const override { return win::HWND(0x2001); }
    win::HWND ContainerHwnd() const override { return win::HWND(0x2000); }
    void RefreshNow() override {}
    void SetWidthPixels(int width) override {
        widthRequests.push_back(width);
        delayedDuringWidthChange.push_back(state_.DelayFlag);
        width_ = width;
    }
    void SetWindowRgn(gdi::HRGN rgn, bool) override {
        ++windowRegionCount;
        region_.reset(rgn);
    }

    gdi::HRGN WindowRegion() const { return region_.get(); }
    void SetSize(double width, double height) {
        width_ = width;
        height_ = height;
    }

    std::vector<int> widthRequests;
    std::vector<bool> delayedDuringWidthChange;
    int windowRegionCount = 0;

private:
    double width_;
    double height_;
    bool enabled_ = true;
    ButtonState& state_;
    gdi::HDC screen_ = gdi::GetDC();
    gdi::OwnedRgn region_;
};

// The interaction states the golden faces show.
enum class Look { Idle, Default, Hover, Pressed, ValueTrue, Disabled };

struct FaceRig {
    ButtonState s;
    RigHost host;
    int width;
    int height;

    FaceRig(int w, int h) : host(w, h, s), width(w), height(h) {
        s.BackColor = gdi::RGB(212, 208, 200);
        s.HoverBackColor = gdi::RGB(212, 208, 200);
        s.ContainerBackColor = gdi::RGB(212, 208, 200);
        DeriveColours();
        s.MemDC = gdi::CreateCompatibleDC(host.hDC());
        gdi::SetBkMode(s.MemDC, gdi::TRANSPARENT);
        s.SavedBrush = gdi::SelectObject(s.MemDC, gdi::CreateSolidBrush(0));
        s.SavedPen = gdi::SelectObject(s.MemDC, gdi::CreatePen(gdi::PS_SOLID, 1, 0));
        const gdi::HBITMAP bitmap = gdi::CreateCompatibleBitmap(host.hDC(), w, h);
        if (bitmap) s.SavedBitmap = gdi::SelectObject(s.MemDC, bitmap);
    }
    ~FaceRig() {
        if (s.FaceClipRgn) gdi::DeleteObject(s.FaceClipRgn);
        SetDrawColor(s, false, s.MemDC, 0, 0);
        if (s.SavedBitmap) gdi::DeleteObject(gdi::SelectObject(s.MemDC, s.SavedBitmap));
        gdi::DeleteDC(s.MemDC);
    }
    FaceRig(const FaceRig&) = delete;
    FaceRig& operator=(const FaceRig&) = delete;

    void DeriveColours() {
        s.FaceColor = ShiftColor(ConvertSysColor(s.BackColor), 48);
        s.HoverFaceColor = ShiftColor(ConvertSysColor(s.HoverBackColor), 48);
        s.PressedColor = ShiftColor(s.FaceColor, -32);
        s.ValueTrueColor = ShiftColor(0xFFFFFF, -32);
    }

    void SetLook(Look look) {
        s.StateFlags = 0;
        s.HoverLit = false;
        s.ButtonDown = false;
        host.SetEnabled(true);
        switch (look) {
            case Look::Idle: break;
            case Look::Default: s.StateFlags = DefaultLook; break;
            case Look::Hover:
                s.StateFlags = MouseOver;
                s.HoverLit = true;
                break;
            case Look::Pressed:
                s.StateFlags = HeldDown | MouseOver;
                s.ButtonDown = true;
                s.HoverLit = true;
                break;
            case Look::ValueTrue:
                s.Mode = ToInt(ButtonMode::ModeCheckBox);
                s.Value = true;
                break;
            case Look::Disabled: host.SetEnabled(false); break;
        }
    }

    // One face pass, as RedrawButton runs it; first fills the buffer with the sentinel unless
    // the previous pass's pixels are to stay, as they do in the control's buffer.
    std::int16_t Paint(bool fillSentinel = true) {
        const gdi::BitmapView view = gdi::GetBitmapView(gdi::GetCurrentBitmap(s.MemDC));
        for (int y = 0; fillSentinel && view.pixels32 && y < view.height; ++y) {
            for (int x = 0; x < view.width; ++x) view.pixels32[y * view.stride + x] = 0x00FF00FF;
        }
        EdgePointArray points{};
        EdgeColorArray colours{};
        std::int16_t drawState = 0;
        PaintStandardFace(s, host, points, colours, drawState);
        return drawState;
    }

    gdi::COLORREF Pixel(int x, int y) const { return gdi::GetPixel(s.MemDC, x, y); }

    // The face as the screen shows it: the container's colour outside the window region.
    std::vector<std::uint32_t> Composite() const {
        const gdi::BitmapView view = gdi::GetBitmapView(gdi::GetCurrentBitmap(s.MemDC));
        std::vector<std::uint32_t> out(static_cast<std::size_t>(width * height), 0x00D4D0C8);
        for (int y = 0; view.pixels32 && y < height && y < view.height; ++y) {
            for (int x = 0; x < width && x < view.width; ++x) {
                if (!host.WindowRegion() || gdi::PtInRegion(host.WindowRegion(), x, y)) {
                    out[static_cast<std::size_t>(y * width + x)] = view.pixels32[y * view.stride + x] & 0xFFFFFF;
                }
            }
        }
        return out;
    }
};

}  // namespace facetest
