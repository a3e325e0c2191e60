// A ButtonHost without a window system, for the render tool and as the tests' host's base.
// Owns the control's presented picture (a PresentationBuffer) and the window region it is handed.
#pragma once

#include <functional>
#include <string>

#include "buttons/HostProperties.h"
#include "buttons/PresentationBuffer.h"
#include "gdi/Handles.h"

namespace buttons {

// What the container would tell the control.
struct OffscreenSurroundings {
    bool userMode = true;
    OleColor ambientBack = SysButtonFace;
    std::string displayName = "qkButtons_H1";
    bool displayAsDefault = false;
    win::HWND window{0x1001};
    win::HWND container{0x1000};
};

class OffscreenHost : public PropertyHoldingHost {
public:
    using Surroundings = OffscreenSurroundings;

    OffscreenHost(int width, int height, Surroundings surroundings = {});
    OffscreenHost(const OffscreenHost&) = delete;
    OffscreenHost& operator=(const OffscreenHost&) = delete;

    // What SetWidthPixels calls after changing the width (the control's Resize, usually).
    void SetResizeHandler(std::function<void()> handler) { onResize_ = std::move(handler); }
    gdi::HRGN WindowRegion() const { return windowRegion_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // ---- The rest of ButtonHost. Notifications and messages go nowhere; the presented picture
    // is the DC itself, so there is nothing more to show.
    bool UserMode() const override { return surroundings_.userMode; }
    OleColor AmbientBackColor() const override { return surroundings_.ambientBack; }
    std::string DisplayName() const override { return surroundings_.displayName; }
    bool DisplayAsDefault() const override { return surroundings_.displayAsDefault; }
    void PropertyChanged(const std::string&) override {}
    void InfoMessage(const std::string&) override {}
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }
    gdi::HDC hDC() const override { return buffer_.Dc(); }
    win::HWND hWnd() const override { return surroundings_.window; }
    win::HWND ContainerHwnd() const override { return surroundings_.container; }
    void RefreshNow() override {}
    void SetWidthPixels(int width) override;
    void SetWindowRgn(gdi::HRGN rgn, bool redraw) override;

protected:
    // A blank presented picture of the new size; the resize handler is not called.
    void ResizePicture(int width, int height);
    Surroundings& Around() { return surroundings_; }
    const PresentationBuffer& Picture() const { return buffer_; }

private:
    PresentationBuffer buffer_;
    gdi::OwnedRgn windowRegion_;
    int width_ = 0;
    int height_ = 0;
    std::function<void()> onResize_;
    Surroundings surroundings_;
};

}  // namespace buttons
