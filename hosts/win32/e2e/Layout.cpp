// dizo-e2e-layout.exe CAPTION: prints where the top-level window CAPTION and its descendants are,
// as Windows itself has them, for the end-to-end scenarios to compare windows across screens.
// Tests only. One line a window, "depth class x y w h region-box area text": the position is in
// the top-level's client pixels, the region box (or "-") in the window's own pixels and its area
// in pixels; the first line is the top-level, with its client area's screen position as x y.
// Exit 1: no such window.
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

namespace {

HWND top = nullptr;

std::string Utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    for (char& c : out) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    }
    return out;
}

// The sum of the region's rectangles: a shape that kept its box but lost its scale shows here.
long RegionArea(HRGN rgn) {
    const DWORD size = GetRegionData(rgn, 0, nullptr);
    std::vector<char> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (size == 0 || GetRegionData(rgn, size, data) != size) return -1;
    const auto* r = reinterpret_cast<const RECT*>(data->Buffer);
    long area = 0;
    for (DWORD i = 0; i < data->rdh.nCount; ++i) area += (r[i].right - r[i].left) * (r[i].bottom - r[i].top);
    return area;
}

int Depth(HWND h) {
    int d = 0;
    for (HWND p = GetParent(h); p != nullptr && p != top; p = GetParent(p)) ++d;
    return d;
}

void Print(HWND h, int depth) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    RECT r{};
    GetWindowRect(h, &r);
    POINT origin{r.left, r.top};
    if (h == top) {
        GetClientRect(h, &r);
        origin = POINT{0, 0};
        ClientToScreen(h, &origin);
        r.left = origin.x;
        r.top = origin.y;
        r.right += origin.x;
        r.bottom += origin.y;
    } else {
        ScreenToClient(top, &origin);
        r = RECT{origin.x, origin.y, origin.x + r.right - r.left, origin.y + r.bottom - r.top};
    }
    std::string region = "- - - - -";
    const HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    RECT box{};
    if (GetWindowRgn(h, rgn) != ERROR && GetRgnBox(rgn, &box) != ERROR) {
        region = std::to_string(box.left) + " " + std::to_string(box.top) + " " + std::to_string(box.right - box.left) +
                 " " + std::to_string(box.bottom - box.top) + " " + std::to_string(RegionArea(rgn));
    }
    DeleteObject(rgn);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
    std::printf("%d %s %ld %ld %ld %ld %s %s\n", depth, Utf8(cls).c_str(), r.left, r.top, r.right - r.left,
                r.bottom - r.top, region.c_str(), Utf8(text).c_str());
}

BOOL CALLBACK EachChild(HWND h, LPARAM) {
    if (IsWindowVisible(h)) Print(h, Depth(h) + 1);
    return TRUE;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr || count != 2) return 2;
    // Aware, so that Windows hands out the windows' real pixels rather than 96-dpi ones.
    SetProcessDPIAware();
    top = FindWindowW(nullptr, argv[1]);
    LocalFree(argv);
    if (top == nullptr) return 1;
    Print(top, 0);
    EnumChildWindows(top, &EachChild, 0);
    return 0;
}
