// A qkButtons_H on the headless host and the fake window system, initialised and sized, for the
// tests of the control's properties, persistence and buffer.
#pragma once

#include <memory>

#include "buttons/HeadlessHost.h"
#include "buttons/qkButtons_H.h"
#include "gdi/Gdi.h"
#include "win/FakeWindowServices.h"

namespace buttons::testing {

struct ControlRig {
    explicit ControlRig(int width = 80, int height = 30, bool runTime = true) : host(width, height) {
        const win::HWND container = windows.CreateWindow({0, 0, 400, 300});
        const win::HWND self = windows.CreateWindow({10, 10, 10 + width, 10 + height}, container);
        host.SetWindows(self, container);
        host.SetUserMode(runTime);
        button = std::make_unique<qkButtons_H>(host, windows);
        host.SetResizeHandler([this] { button->Resize(); });
        button->InitProperties();
        button->Resize();
        host.ClearRecords();
    }
    ~ControlRig() { button.reset(); }

    win::FakeWindowServices windows;
    HeadlessHost host;
    std::unique_ptr<qkButtons_H> button;
};

// A 32 bpp bitmap picture of the given size, made in memory.
inline PictureRef MakeBitmapPicture(int width, int height) {
    auto p = std::make_shared<Picture>();
    p->type = Picture::Type::Bitmap;
    p->handle = gdi::HGDIOBJ(gdi::CreateDIBSection32(width, height));
    return p;
}

// An icon picture (of no image: only the host's type check looks at it).
inline PictureRef MakeIconPicture() {
    auto p = std::make_shared<Picture>();
    p->type = Picture::Type::Icon;
    return p;
}

}  // namespace buttons::testing
