#include "Screen.h"

#include <atomic>

namespace gdi {

namespace {

// Set on the user-interface thread, read wherever drawing happens.
std::atomic<int> g_width{ScreenSize{}.Width};
std::atomic<int> g_height{ScreenSize{}.Height};
std::atomic<int> g_dpi{96};

}  // namespace

bool SetScreenSize(ScreenSize size) {
    if (size.Width <= 0 || size.Height <= 0) return false;
    g_width.store(size.Width);
    g_height.store(size.Height);
    return true;
}

ScreenSize GetScreenSize() { return ScreenSize{g_width.load(), g_height.load()}; }

bool SetScreenDpi(int dpi) {
    if (dpi <= 0) return false;
    g_dpi.store(dpi);
    return true;
}

int GetScreenDpi() { return g_dpi.load(); }

}  // namespace gdi
