// A picture control on a Win32 window, still or animated, decoded and drawn by GDI+: PNG, BMP,
// ICO and GIF, an animated GIF stepping its frames with their own delays. Owns the decoded image
// and the frame timer; the window belongs to its container.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "win/Hwnd.h"

namespace hosts::win32 {

struct PicturePlacement {
    win::HWND parent;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool stretch = false;       // drawn to the control's size, else at its own size scaled by dpi/96
    int dpi = 96;
    std::uint32_t background = 0;  // COLORREF under transparent pixels
};

class PictureWindow {
public:
    static bool RegisterWindowClass();
    // An unreadable file leaves the control empty, as a missing picture does.
    PictureWindow(const PicturePlacement& place, const std::filesystem::path& file, bool animate);
    ~PictureWindow();
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    win::HWND Handle() const { return hwnd_; }
    std::size_t FrameCount() const { return delays_.size(); }
    std::size_t Frame() const { return frame_; }
    // Steps to the next frame and returns its delay in milliseconds (the timer's work).
    unsigned NextFrame();

    std::intptr_t HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    struct Image;
    std::unique_ptr<Image> image_;
    PicturePlacement place_;
    win::HWND hwnd_;
    std::vector<unsigned> delays_;  // ms per frame; empty for a still picture
    std::size_t frame_ = 0;
};

}  // namespace hosts::win32
