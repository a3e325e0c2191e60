// A qkButtons_H on the headless host and the fake window system, initialised and sized: the one
// "button on the headless host" of the tests, benchmarks and fuzzers. Owns the three.
#pragma once

#include <memory>

#include "buttons/HeadlessHost.h"
#include "buttons/qkButtons_H.h"
#include "buttons/testing/Pictures.h"
#include "gdi/Gdi.h"
#include "win/testing/FakeWindowServices.h"

namespace buttons::testing {

struct ControlRig {
    // fresh: the control starts as a new one (InitProperties and a first size); otherwise it is
    // left for the caller to load (ReadProperties) and size.
    explicit ControlRig(int width = 80, int height = 30, bool runTime = true, bool fresh = true) : host(width, height) {
        const win::HWND container = windows.CreateWindow({0, 0, 400, 300});
        const win::HWND self = windows.CreateWindow({10, 10, 10 + width, 10 + height}, container);
        host.SetWindows(self, container);
        host.SetUserMode(runTime);
        button = std::make_unique<qkButtons_H>(host, windows);
        host.SetResizeHandler([this] { button->Resize(); });
        if (fresh) {
            button->InitProperties();
            button->Resize();
        }
        host.ClearRecords();
    }
    ~ControlRig() { button.reset(); }
    ControlRig(const ControlRig&) = delete;
    ControlRig& operator=(const ControlRig&) = delete;

    win::FakeWindowServices windows;
    HeadlessHost host;
    std::unique_ptr<qkButtons_H> button;
};

}  // namespace buttons::testing
