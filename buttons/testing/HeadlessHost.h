// The tests' host: the offscreen host with the controls a test turns (size, surroundings) and a
// log of the notifications, message boxes and presents it receives, in order. Owns the log.
#pragma once

#include <string>
#include <vector>

#include "buttons/OffscreenHost.h"

namespace buttons::testing {

class HeadlessHost : public OffscreenHost {
public:
    struct Record {
        enum class Kind { PropertyChanged, Message };
        Kind kind;
        std::string text;
        std::string title;  // messages only; empty: the application's default title
        friend bool operator==(const Record&, const Record&) = default;
    };

    HeadlessHost(int width, int height) : OffscreenHost(width, height) {}

    // Replaces the presented picture with a blank one of the new size; does not call the resize handler.
    void SetClientSize(int width, int height) { ResizePicture(width, height); }
    void SetUserMode(bool runTime) { Around().userMode = runTime; }
    void SetAmbientBackColor(OleColor c) { Around().ambientBack = c; }
    void SetDisplayName(std::string name) { Around().displayName = std::move(name); }
    void SetDisplayAsDefault(bool d) { Around().displayAsDefault = d; }
    void SetWindows(win::HWND self, win::HWND container) {
        Around().window = self;
        Around().container = container;
    }

    const std::vector<Record>& Records() const { return records_; }
    std::vector<std::string> Notifications() const;
    std::vector<std::string> Messages() const;
    void ClearRecords() { records_.clear(); }
    int RefreshCount() const { return refreshCount_; }
    gdi::HBITMAP Presented() const { return Picture().Bitmap(); }
    // A pixel of the presented picture as a COLORREF; CLR_INVALID outside it.
    gdi::COLORREF PresentedPixel(int x, int y) const { return Picture().Pixel(x, y); }

    void PropertyChanged(const std::string& key) override;
    void InfoMessage(const std::string& text) override;
    void InfoMessageWithTitle(const std::string& text, const std::string& title) override;
    void RefreshNow() override { ++refreshCount_; }

private:
    std::vector<Record> records_;
    int refreshCount_ = 0;
};

}  // namespace buttons::testing
