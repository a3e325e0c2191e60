#include "hosts/win32/Picture.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <vector>

#include "gdi/CarriedFiles.h"

#include <windows.h>
// GDI+ needs the COM property types, which a lean windows.h leaves out.
#include <objidl.h>
#include <gdiplus.h>

namespace hosts::win32 {

namespace {

constexpr UINT_PTR FrameTimer = 1;
// A frame delay of 0 (or under 20 ms) plays at 100 ms, as browsers play such GIFs.
constexpr unsigned ShortestDelayMs = 20;
constexpr unsigned StandInDelayMs = 100;

::HWND Native(win::HWND h) { return reinterpret_cast<::HWND>(h.value); }

LRESULT CALLBACK PictureProc(::HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    auto* picture = reinterpret_cast<PictureWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (picture == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return picture->HandleMessage(message, wParam, lParam);
}

}  // namespace

// GDI+ reads an image's frames from its stream for as long as the image lives: the stream goes
// after it.
struct PictureWindow::Image {
    IStream* stream = nullptr;
    std::unique_ptr<Gdiplus::Image> image;
    ~Image() {
        image.reset();
        if (stream != nullptr) stream->Release();
    }
};

namespace {

// The file's bytes (the program's own, or the disk's) in a stream of memory; null when there are none.
IStream* StreamOf(const std::filesystem::path& file) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = gdi::ReadFileBytes(file);
    } catch (const std::exception&) {
        return nullptr;
    }
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) return nullptr;
    if (void* to = ::GlobalLock(memory)) {
        std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(to));
        ::GlobalUnlock(memory);
    }
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

}  // namespace

bool PictureWindow::RegisterWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), L"DizoPicture", &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &PictureProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"DizoPicture";
    return ::RegisterClassExW(&wc) != 0;
}

PictureWindow::PictureWindow(const PicturePlacement& place, const std::filesystem::path& file, bool animate)
    : image_(std::make_unique<Image>()), place_(place) {
    RegisterWindowClass();
    image_->stream = file.empty() ? nullptr : StreamOf(file);
    if (image_->stream != nullptr) {
        auto decoded = std::make_unique<Gdiplus::Image>(image_->stream);
        if (decoded->GetLastStatus() == Gdiplus::Ok) image_->image = std::move(decoded);
    }
    if (animate && image_->image) {
        const UINT frames = image_->image->GetFrameCount(&Gdiplus::FrameDimensionTime);
        const UINT size = image_->image->GetPropertyItemSize(PropertyTagFrameDelay);
        if (frames > 1 && size > 0) {
            std::vector<unsigned char> buffer(size);
            auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
            if (image_->image->GetPropertyItem(PropertyTagFrameDelay, size, item) == Gdiplus::Ok) {
                const auto* hundredths = static_cast<const UINT*>(item->value);
                const UINT count = std::min<UINT>(frames, item->length / sizeof(UINT));
                for (UINT i = 0; i < count; ++i) {
                    const unsigned ms = hundredths[i] * 10;
                    delays_.push_back(ms < ShortestDelayMs ? StandInDelayMs : ms);
                }
            }
        }
    }
    const ::HWND hwnd = ::CreateWindowExW(0, L"DizoPicture", L"", WS_CHILD | WS_CLIPSIBLINGS, place.left, place.top,
                                          place.width, place.height, Native(place.parent), nullptr,
                                          ::GetModuleHandleW(nullptr), this);
    hwnd_ = win::HWND(reinterpret_cast<std::uintptr_t>(hwnd));
    if (hwnd != nullptr && delays_.size() > 1) ::SetTimer(hwnd, FrameTimer, delays_[0], nullptr);
}

PictureWindow::~PictureWindow() {
    if (const ::HWND hwnd = Native(hwnd_); ::IsWindow(hwnd)) {
        ::KillTimer(hwnd, FrameTimer);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd);
    }
}

unsigned PictureWindow::NextFrame() {
    if (delays_.size() < 2 || !image_->image) return 0;
    frame_ = (frame_ + 1) % delays_.size();
    image_->image->SelectActiveFrame(&Gdiplus::FrameDimensionTime, static_cast<UINT>(frame_));
    return delays_[frame_];
}

std::intptr_t PictureWindow::HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    const ::HWND hwnd = Native(hwnd_);
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        RECT client;
        ::GetClientRect(hwnd, &client);
        // Drawn off screen first, so that a stepping frame never flickers through the background.
        HDC memory = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom));
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        HBRUSH back = ::CreateSolidBrush(place_.background);
        ::FillRect(memory, &client, back);
        ::DeleteObject(back);
        if (image_->image) {
            Gdiplus::Graphics g(memory);
            const Gdiplus::Image& img = *image_->image;
            auto* image = const_cast<Gdiplus::Image*>(&img);
            const INT w = place_.stretch ? client.right
                                         : static_cast<INT>(MulDiv(static_cast<int>(image->GetWidth()), place_.dpi, 96));
            const INT h = place_.stretch ? client.bottom
                                         : static_cast<INT>(MulDiv(static_cast<int>(image->GetHeight()), place_.dpi, 96));
            g.DrawImage(image, 0, 0, w, h);
        }
        ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER:
        if (wParam == FrameTimer) {
            const unsigned delay = NextFrame();
            ::InvalidateRect(hwnd, nullptr, FALSE);
            if (delay > 0) ::SetTimer(hwnd, FrameTimer, delay, nullptr);
            return 0;
        }
        break;
    case WM_NCHITTEST: return HTTRANSPARENT;  // clicks reach what lies beneath, as on a lightweight picture
    default: break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace hosts::win32
