#include "buttons/OffscreenHost.h"

#include <algorithm>
#include <utility>

namespace buttons {

OffscreenHost::OffscreenHost(int width, int height, Surroundings surroundings)
    : buffer_(width, height),
      width_(std::max(0, width)),
      height_(std::max(0, height)),
      surroundings_(std::move(surroundings)) {}

void OffscreenHost::ResizePicture(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    buffer_.Reset(width_, height_);
}

void OffscreenHost::SetWidthPixels(int width) {
    ResizePicture(width, height_);
    if (onResize_) onResize_();
}

void OffscreenHost::SetWindowRgn(gdi::HRGN rgn, bool /*redraw*/) { windowRegion_.reset(rgn); }

}  // namespace buttons
