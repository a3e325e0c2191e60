// A ButtonHost without a window system, for tests, benchmarks and the render tool.
// Owns the control's presented picture (a PresentationBuffer), the window region it is handed, and a
// log of the notifications and message boxes it receives, in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "buttons/HostProperties.h"
#include "buttons/PresentationBuffer.h"
#include "gdi/Handles.h"

namespace buttons {

class HeadlessHost : public PropertyHoldingHost {
public:
    struct Record {
        enum class Kind { PropertyChanged, Message };
        Kind kind;
        std::string text;
        std::string title;  // messages only; empty: the application's default title
        friend bool operator==(const Record&, const Record&) = default;
    };

    HeadlessHost(int width, int height);
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    // ---- Test controls.
    // Replaces the presented picture with a blank one of the new size; does not call the resize handler.
    void SetClientSize(int width, int height);
    // What SetWidthPixels calls after changing the width (the control's Resize, usually).
    void SetResizeHandler(std::function<void()> handler) { onResize_ = std::move(handler); }
    void SetUserMode(bool runTime) { userMode_ = runTime; }
    void SetAmbientBackColor(OleColor c) { ambientBack_ = c; }
    void SetDisplayName(std::string name) { displayName_ = std::move(name); }
    void SetDisplayAsDefault(bool d) { displayAsDefault_ = d; }
    void SetWindows(win::HWND self, win::HWND container) {
        hwnd_ = self;
        container_ = container;
    }

    const std::vector<Record>& Records() const { return records_; }
    std::vector<std::string> Notifications() const;
    std::vector<std::string> Messages() const;
    void ClearRecords() { records_.clear(); }
    int RefreshCount() const { return refreshCount_; }
    gdi::HBITMAP Presented() const { return buffer_.Bitmap(); }
    // A pixel of the presented picture as a COLORREF; CLR_INVALID outside it.
    gdi::COLORREF PresentedPixel(int x, int y) const { return buffer_.Pixel(x, y); }
    gdi::HRGN WindowRegion() const { return windowRegion_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // ---- The rest of ButtonHost.
    bool UserMode() const override { return userMode_; }
    OleColor AmbientBackColor() const override { return ambientBack_; }
    std::string DisplayName() const override { return displayName_; }
    bool DisplayAsDefault() const override { return displayAsDefault_; }
    void PropertyChanged(const std::string& key) override;
    void InfoMessage(const std::string& text) override;
    void InfoMessageWithTitle(const std::string& text, const std::string& title) override;
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }
    gdi::HDC hDC() const override { return buffer_.Dc(); }
    win::HWND hWnd() const override { return hwnd_; }
    win::HWND ContainerHwnd() const override { return container_; }
    void RefreshNow() override { ++refreshCount_; }
    void SetWidthPixels(int width) override;
    void SetWindowRgn(gdi::HRGN rgn, bool redraw) override;

private:
    PresentationBuffer buffer_;
    gdi::OwnedRgn windowRegion_;
    int width_ = 0;
    int height_ = 0;
    std::function<void()> onResize_;

    bool userMode_ = true;
    OleColor ambientBack_ = SysButtonFace;
    std::string displayName_ = "qkButtons_H1";
    bool displayAsDefault_ = false;
    win::HWND hwnd_{0x1001};
    win::HWND container_{0x1000};

    std::vector<Record> records_;
    int refreshCount_ = 0;
};

}  // namespace buttons
