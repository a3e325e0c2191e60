#include "buttons/HeadlessHost.h"

#include <algorithm>

namespace buttons {

HeadlessHost::HeadlessHost(int width, int height)
    : buffer_(width, height), width_(std::max(0, width)), height_(std::max(0, height)) {}

void HeadlessHost::SetClientSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    buffer_.Reset(width_, height_);
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
