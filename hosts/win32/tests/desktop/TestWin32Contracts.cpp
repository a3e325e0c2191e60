// The window services and button host contracts for the Win32 host, on real windows under Wine.
#include <memory>
#include <vector>

#include "buttons/testing/ButtonHostContract.h"
#include "forms/PropertyBag.h"
#include "win/testing/WindowServicesContract.h"
#include "Win32TestWindow.h"

namespace {

using hosts::win32::testing::Native;

// A plain top-level window of the system's own class, never shown; destroyed with its owner.
struct PlainWindow {
    PlainWindow()
        : native(::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr)) {}
    ~PlainWindow() { ::DestroyWindow(native); }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;
    win::HWND Handle() const { return win::HWND(reinterpret_cast<std::uintptr_t>(native)); }

    ::HWND native;
};

struct Win32WindowsWorld {
    win::WindowServices& Services() { return services; }
    win::HWND NewWindow() { return windows.emplace_back(std::make_unique<PlainWindow>())->Handle(); }
    void Destroy(win::HWND hwnd) { ::DestroyWindow(Native(hwnd)); }

    std::vector<std::unique_ptr<PlainWindow>> windows;  // outlive the services' timers
    hosts::win32::Win32WindowServices services;
};

struct Win32ButtonWorld {
    Win32ButtonWorld(int width, int height)
        : button({parent.Handle(), 100, 0, 0, width, height}, services, "contract", forms::PropertyBag{},
                 buttons::SysButtonFace) {}
    buttons::ButtonHost& Host() { return button; }

    PlainWindow parent;
    hosts::win32::Win32WindowServices services;
    hosts::win32::ButtonWindow button;
};

}  // namespace

namespace win::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowServicesContract, Win32WindowsWorld);
}  // namespace win::testing
namespace buttons::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ButtonHostContract, Win32ButtonWorld);
}  // namespace buttons::testing
