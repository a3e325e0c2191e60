// The window services contract, for the deterministic fake of the tests and the offscreen
// services of the render tool.
#include "win/testing/WindowServicesContract.h"

#include "win/OffscreenWindowServices.h"
#include "win/testing/FakeWindowServices.h"

namespace {

template <class Implementation>
struct World {
    Implementation services;
    win::WindowServices& Services() { return services; }
    void Destroy(win::HWND hwnd) { services.DestroyWindow(hwnd); }
};

struct FakeWorld : World<win::FakeWindowServices> {
    win::HWND NewWindow() { return services.CreateWindow({0, 0, 10, 10}); }
};

struct OffscreenWorld : World<win::OffscreenWindowServices> {
    win::HWND NewWindow() { return services.CreateWindow(); }
};

using Worlds = ::testing::Types<FakeWorld, OffscreenWorld>;

}  // namespace

namespace win::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win, WindowServicesContract, Worlds);
}  // namespace win::testing

// The offscreen services have no pointer and no message loop: they say so instead of pretending.
TEST(OffscreenWindowServices, HasNoPointerAndDeliversNothing) {
    win::OffscreenWindowServices ws;
    const win::HWND a = ws.CreateWindow();
    gdi::POINT p{3, 4};
    EXPECT_FALSE(ws.GetCursorPos(&p));
    EXPECT_FALSE(ws.ScreenToClient(a, &p));
    EXPECT_EQ(p, (gdi::POINT{3, 4}));
    EXPECT_EQ(ws.WindowFromPoint({0, 0}), win::HWND{});
    EXPECT_FALSE(ws.PostMessageA(a, win::WM_KEYDOWN, win::VK_LEFT, 0));
}
