#include "hosts/win32/ButtonWindow.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "buttons/qkButtons_H.h"
#include "dialog/Accessible.h"
#include "dialog/Pointers.h"
#include "forms/PropertyBag.h"
#include "gdi/Dc.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "hosts/wide/WideText.h"
#include "hosts/win32/Win32WindowServices.h"

#include <windows.h>

namespace hosts::win32 {

namespace {

::HWND Native(win::HWND h) { return reinterpret_cast<::HWND>(h.value); }

// The control's notifications from the window procedure, with the control's own argument forms.
class ControlSink final : public ButtonInputSink {
public:
    ControlSink(buttons::ButtonInput& input, ::HWND hwnd) : input_(input), hwnd_(hwnd) {}
    void MouseDown(std::int16_t button, std::int16_t shift, float x, float y) override {
        // A press takes the focus first, as a push button does.
        if (button == 1 && ::GetFocus() != hwnd_) ::SetFocus(hwnd_);
        if (::IsWindow(hwnd_)) input_.MouseDown(button, shift, x, y);
    }
    void MouseMove(std::int16_t buttons, std::int16_t shift, float x, float y) override {
        input_.MouseMove(buttons, shift, x, y);
    }
    void MouseUp(std::int16_t button, std::int16_t shift, float x, float y, bool over) override {
        input_.MouseUp(button, shift, x, y,
                       over ? buttons::ReleasePlace::OverButton : buttons::ReleasePlace::Elsewhere);
    }
    void DblClick() override { input_.DblClick(); }
    void KeyDown(std::int16_t key, std::int16_t shift) override { input_.KeyDown(key, shift); }
    void KeyPress(std::int16_t ascii) override { input_.KeyPress(ascii); }
    void KeyUp(std::int16_t key, std::int16_t shift) override { input_.KeyUp(key, shift); }
    void GotFocus() override {
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        input_.GotFocus();
    }
    void LostFocus() override { ::InvalidateRect(hwnd_, nullptr, FALSE); }

private:
    buttons::ButtonInput& input_;
    ::HWND hwnd_;
};

// The platform's cursor for each shape of the one pointer table.
LPCSTR CursorFor(std::int32_t pointer) {
    switch (dialog::PointerShapeFor(pointer)) {
    case dialog::PointerShape::Arrow: return IDC_ARROW;
    case dialog::PointerShape::Cross: return IDC_CROSS;
    case dialog::PointerShape::IBeam: return IDC_IBEAM;
    case dialog::PointerShape::SizeAll: return IDC_SIZEALL;
    case dialog::PointerShape::SizeNESW: return IDC_SIZENESW;
    case dialog::PointerShape::SizeNS: return IDC_SIZENS;
    case dialog::PointerShape::SizeNWSE: return IDC_SIZENWSE;
    case dialog::PointerShape::SizeWE: return IDC_SIZEWE;
    case dialog::PointerShape::UpArrow: return IDC_UPARROW;
    case dialog::PointerShape::Wait: return IDC_WAIT;
    case dialog::PointerShape::No: return IDC_NO;
    case dialog::PointerShape::ArrowAndWait: return IDC_APPSTARTING;
    case dialog::PointerShape::Help: return IDC_HELP;
    }
    return IDC_ARROW;
}

// Our pixels' layout (0x00RRGGBB or 0xAARRGGBB words, rows from the top) as the platform names it.
BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A cursor from the custom pointer's pixels: a 32 bpp colour image with its alpha, and the AND
// mask set where it is transparent, for displays that ignore alpha. Null when the platform refuses.
HCURSOR MakeCursor(const buttons::CursorImage& image) {
    const BITMAPINFO info = TopDown32(image.Width, image.Height);
    void* bits = nullptr;
    const HBITMAP colour = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (colour == nullptr) return nullptr;
    std::copy(image.Pixels.begin(), image.Pixels.end(), static_cast<std::uint32_t*>(bits));
    // Monochrome rows are padded to 16 bits, most significant bit first.
    const std::size_t stride = static_cast<std::size_t>((image.Width + 15) / 16 * 2);
    std::vector<std::uint8_t> maskBits(stride * static_cast<std::size_t>(image.Height), 0);
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            if (image.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) + x] >> 24 == 0) {
                maskBits[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    const HBITMAP mask = ::CreateBitmap(image.Width, image.Height, 1, 1, maskBits.data());
    ICONINFO icon{FALSE, static_cast<DWORD>(image.HotX), static_cast<DWORD>(image.HotY), mask, colour};
    const HCURSOR cursor = mask != nullptr ? ::CreateIconIndirect(&icon) : nullptr;
    if (mask != nullptr) ::DeleteObject(mask);
    ::DeleteObject(colour);
    return cursor;
}

LRESULT CALLBACK ButtonProc(::HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* button = reinterpret_cast<ButtonWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (button == nullptr || message == WM_NCCREATE) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return button->HandleMessage(message, wParam, lParam);
}

}  // namespace

bool ButtonWindow::RegisterWindowClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), L"qkButtons_H", &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;  // the control takes double clicks
    wc.lpfnWndProc = &ButtonProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = nullptr;  // WM_SETCURSOR chooses by MousePointer
    wc.lpszClassName = L"qkButtons_H";
    return ::RegisterClassExW(&wc) != 0;
}

ButtonWindow::ButtonWindow(const ButtonPlacement& place, Win32WindowServices& windows, std::string name,
                           const forms::PropertyBag& settings, buttons::OleColor ambientBack)
    : windows_(windows),
      name_(std::move(name)),
      parent_(place.parent),
      width_(std::max(0, place.width)),
      height_(std::max(0, place.height)),
      buffer_(width_, height_),
      ambientBack_(ambientBack) {
    RegisterWindowClass();
    const DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS;
    const ::HWND hwnd = ::CreateWindowExW(0, L"qkButtons_H", wide::Widen(name_).c_str(), style, place.left, place.top,
                                          width_, height_, Native(place.parent),
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)),
                                          ::GetModuleHandleW(nullptr), this);
    if (hwnd == nullptr) throw std::runtime_error("cannot create the window of button " + name_);
    hwnd_ = win::HWND(reinterpret_cast<std::uintptr_t>(hwnd));
    control_ = std::make_unique<buttons::qkButtons_H>(*this, windows_);
    control_->SetEventListener(this);
    control_->ReadProperties(settings);
    UpdateWindowText();
}

ButtonWindow::~ButtonWindow() {
    control_.reset();  // stops its timer, leaves its option group, releases its drawing objects
    if (const ::HWND hwnd = Native(hwnd_); ::IsWindow(hwnd)) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        windows_.ForgetWindow(hwnd_);
        ::DestroyWindow(hwnd);
    }
    SetMouseIcon(nullptr);  // destroys the cursor made from it
}

// Made once when the pointer or its icon changes, not on every WM_SETCURSOR.
void ButtonWindow::PointerChanged() {
    if (const HCURSOR old = static_cast<HCURSOR>(customCursor_)) {
        // A cursor on the screen is not to be destroyed: the arrow takes its place first.
        if (::GetCursor() == old) ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        ::DestroyCursor(old);
    }
    customCursor_ = nullptr;
    if (const auto image = buttons::CustomCursorImage(MousePointer(), MouseIcon())) {
        customCursor_ = MakeCursor(*image);
    }
}

void ButtonWindow::EnabledChanged() {
    if (hwnd_) ::EnableWindow(Native(hwnd_), Enabled() ? TRUE : FALSE);
}

void ButtonWindow::PropertyChanged(const std::string& key) {
    if (forms::KeyEquals(key, "Caption") && control_) UpdateWindowText();
}

// The window's text is the caption as a screen reader should say it; the window's dialog rules,
// not the platform's dialog manager, find the access keys.
void ButtonWindow::UpdateWindowText() {
    ::SetWindowTextW(Native(hwnd_), wide::Widen(dialog::SpokenCaption(control_->Caption())).c_str());
}

void ButtonWindow::AccessKey(std::int16_t keyAscii) {
    if (Enabled() && ::IsWindowVisible(Native(hwnd_))) control_->Input().AccessKeyPress(keyAscii);
}

bool ButtonWindow::IsCommand() const {
    return control_->Mode() == buttons::ToInt(buttons::ButtonMode::ModeCommand);
}

void ButtonWindow::AmbientChanged(const char* name) { control_->Input().AmbientChanged(name); }

void ButtonWindow::SetDisplayAsDefault(bool on) {
    if (on == displayAsDefault_) return;
    displayAsDefault_ = on;
    AmbientChanged("DisplayAsDefault");
}

// The buffer is 0x00RRGGBB in rows from the top: a top-down 32 bpp DIB as it stands.
void ButtonWindow::Present(void* nativeDc) const {
    const gdi::BitmapView v = buffer_.View();
    if (v.bitsPerPixel != 32 || nativeDc == nullptr) return;
    const BITMAPINFO info = TopDown32(v.stride, v.height);
    ::SetDIBitsToDevice(static_cast<HDC>(nativeDc), 0, 0, static_cast<DWORD>(v.width), static_cast<DWORD>(v.height), 0,
                        0, 0, static_cast<UINT>(v.height), v.pixels32, &info, DIB_RGB_COLORS);
}

void ButtonWindow::RefreshNow() {
    // Present at once, as the platform's Refresh does.
    const ::HWND hwnd = Native(hwnd_);
    if (hwnd == nullptr || !::IsWindowVisible(hwnd)) return;
    if (HDC dc = ::GetDC(hwnd)) {
        Present(dc);
        ::ReleaseDC(hwnd, dc);
    }
}

void ButtonWindow::SetWidthPixels(int width) {
    width = std::max(0, width);
    if (width == width_) return;
    // SetWindowPos sends WM_SIZE from inside, which resizes the buffer and the control.
    ::SetWindowPos(Native(hwnd_), nullptr, 0, 0, width, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ButtonWindow::SetWindowRgn(gdi::HRGN rgn, bool redraw) {
    region_.reset(rgn);
    HRGN native = nullptr;
    if (rgn) {
        native = ::CreateRectRgn(0, 0, 0, 0);
        for (const gdi::RECT& r : gdi::GetRegionRects(rgn)) {
            const HRGN piece = ::CreateRectRgn(r.left, r.top, r.right, r.bottom);
            ::CombineRgn(native, native, piece, RGN_OR);
            ::DeleteObject(piece);
        }
    }
    // The window owns the region from here on, even when the call fails.
    if (!::SetWindowRgn(Native(hwnd_), native, redraw ? TRUE : FALSE) && native != nullptr) ::DeleteObject(native);
}

bool ButtonWindow::OverButton(std::intptr_t lParam) const {
    const int x = static_cast<std::int16_t>(lParam & 0xFFFF);
    const int y = static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return !region_ || gdi::PtInRegion(region_.get(), x, y);
}

std::int16_t ButtonWindow::ShiftState() const {
    std::int16_t s = 0;
    if (::GetKeyState(VK_SHIFT) < 0) s |= 1;
    if (::GetKeyState(VK_CONTROL) < 0) s |= 2;
    if (::GetKeyState(VK_MENU) < 0) s |= 4;
    return s;
}

std::intptr_t ButtonWindow::HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    const ::HWND hwnd = Native(hwnd_);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (control_) control_->Paint();
        Present(dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;  // the buffer covers every pixel
    case WM_SIZE: {
        width_ = LOWORD(lParam);
        height_ = HIWORD(lParam);
        if (buffer_.Resize(width_, height_) && control_) control_->Resize();
        return 0;
    }
    case WM_GETDLGCODE: {
        // For whoever asks as the platform's dialog manager does (the window's own dialog rules
        // decide Tab, Enter, Esc and the access keys): arrows and characters go to the control,
        // and the button Enter presses (it shows the default look) says so.
        const LRESULT push = displayAsDefault_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_BUTTON | push;
    }
    case BM_CLICK: {
        const std::string keys = AccessKeys();
        AccessKey(keys.empty() ? std::int16_t{0} : static_cast<std::int16_t>(keys[0]));
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            const HCURSOR custom = static_cast<HCURSOR>(customCursor_);
            ::SetCursor(custom != nullptr ? custom : ::LoadCursorA(nullptr, CursorFor(MousePointer())));
            return TRUE;
        }
        break;
    case WM_SYSCOLORCHANGE: AmbientChanged("BackColor"); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // Before the control hears of it: its GotFocus may raise a Click that closes the window.
        if (OnFocusChange) {
            auto handler = OnFocusChange;
            handler(message == WM_SETFOCUS ? hwnd_ : win::HWND(reinterpret_cast<std::uintptr_t>(wParam)));
        }
        break;
    case WM_DESTROY: windows_.ForgetWindow(hwnd_); break;
    default: break;
    }
    if (control_) {
        const bool release = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
        const MessageContext context{ShiftState(), release && OverButton(lParam)};
        ControlSink sink(control_->Input(), hwnd);
        if (TranslateButtonMessage(message, wParam, lParam, context, sink)) return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void ButtonWindow::Click() {
    if (OnClick) {
        auto handler = OnClick;  // the handler may replace OnClick or close the window
        handler(name_);
    }
}

}  // namespace hosts::win32
