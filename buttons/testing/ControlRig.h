// A qkButtons_H on the headless host and the fake window system, initialised and sized: the one
// "button on the headless host" of the tests, benchmarks and fuzzers. Owns the three.
#pragma once

#include <memory>

#include "buttons/testing/HeadlessHost.h"
#include "buttons/qkButtons_H.h"
#include "buttons/testing/Pictures.h"
#include "gdi/Gdi.h"
#include "win/testing/FakeWindowServices.h"

namespace buttons::testing {

// A control on host and windows; fresh: started as a new one (InitProperties and a first size),
// otherwise left for the caller to load (ReadProperties) and size. The host's records are cleared.
inline std::unique_ptr<qkButtons_H> StartButton(HeadlessHost& host, win::WindowServices& windows, bool fresh = true) {
    auto button = std::make_unique<qkButtons_H>(host, windows);
    host.SetResizeHandler([control = button.get()] { control->Resize(); });
    if (fresh) {
        button->InitProperties();
        button->Resize();
    }
    host.ClearRecords();
    return button;
}

struct ControlRig {
    // fresh: as for StartButton.
    explicit ControlRig(int width = 80, int height = 30, bool runTime = true, bool fresh = true) : host(width, height) {
        const win::HWND container = windows.CreateWindow({0, 0, 400, 300});
        const win::HWND self = windows.CreateWindow({10, 10, 10 + width, 10 + height}, container);
        host.SetWindows(self, container);
        host.SetUserMode(runTime);
        button = StartButton(host, windows, fresh);
    }
    ~ControlRig() { button.reset(); }
    ControlRig(const ControlRig&) = delete;
    ControlRig& operator=(const ControlRig&) = delete;

    win::FakeWindowServices windows;
    HeadlessHost host;
    std::unique_ptr<qkButtons_H> button;
};

}  // namespace buttons::testing
