#include "buttons/HeadlessHost.h"

#include <algorithm>
#include <stdexcept>

#include "gdi/Dc.h"
#include "gdi/Objects.h"

namespace buttons {

HeadlessHost::HeadlessHost(int width, int height) : dc_(gdi::CreateCompatibleDC(gdi::HDC{})) {
    SetClientSize(width, height);
}

HeadlessHost::~HeadlessHost() {
    if (dc_ && originalBitmap_) gdi::SelectObject(dc_.get(), originalBitmap_);
    if (presented_) gdi::DeleteObject(presented_);
}

void HeadlessHost::SetClientSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    // A DIB section of at least 1x1, so that the DC is a 32 bpp colour DC whatever the size.
    const gdi::HBITMAP fresh = gdi::CreateDIBSection32(std::max(1, width_), std::max(1, height_));
    const gdi::HBITMAP out = gdi::SelectObject(dc_.get(), fresh);
    if (!originalBitmap_) {
        originalBitmap_ = out;
    } else if (out) {
        gdi::DeleteObject(out);
    }
    presented_ = fresh;
}

std::vector<std::string> HeadlessHost::Notifications() const {
    std::vector<std::string> out;
    for (const auto& r : records_) {
        if (r.kind == Record::Kind::PropertyChanged) out.push_back(r.text);
    }
    return out;
}

std::vector<std::string> HeadlessHost::Messages() const {
    std::vector<std::string> out;
    for (const auto& r : records_) {
        if (r.kind == Record::Kind::Message) out.push_back(r.text);
    }
    return out;
}

gdi::COLORREF HeadlessHost::PresentedPixel(int x, int y) const {
    const gdi::BitmapView v = gdi::GetBitmapView(presented_);
    if (v.bitsPerPixel != 32 || x < 0 || y < 0 || x >= v.width || y >= v.height) return gdi::CLR_INVALID;
    const std::uint32_t p = v.pixels32[static_cast<std::size_t>(y) * static_cast<std::size_t>(v.stride) +
                                       static_cast<std::size_t>(x)];
    return gdi::RGB(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF));
}

void HeadlessHost::SetMousePointer(std::int32_t p) {
    if ((p < 0 || p > 15) && p != 99) throw std::invalid_argument("Invalid property value");
    mousePointer_ = p;
}

void HeadlessHost::SetMouseIcon(PictureRef icon) {
    if (icon && icon->type == Picture::Type::Bitmap) throw std::invalid_argument("Invalid picture");
    mouseIcon_ = std::move(icon);
}

void HeadlessHost::PropertyChanged(const std::string& key) {
    records_.push_back(Record{Record::Kind::PropertyChanged, key, {}});
}

void HeadlessHost::InfoMessage(const std::string& text) { records_.push_back(Record{Record::Kind::Message, text, {}}); }

void HeadlessHost::InfoMessageWithTitle(const std::string& text, const std::string& title) {
    records_.push_back(Record{Record::Kind::Message, text, title});
}

void HeadlessHost::SetWidthPixels(int width) {
    SetClientSize(width, height_);
    if (onResize_) onResize_();
}

void HeadlessHost::SetWindowRgn(gdi::HRGN rgn, bool /*redraw*/) { windowRegion_.reset(rgn); }

}  // namespace buttons
