#include "hosts/win32/FormWindow.h"

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>

#include "buttons/qkButtons_H.h"
#include "dialog/Dialog.h"
#include "forms/FormatError.h"
#include "gdi/Screen.h"
#include "gdi/SysColor.h"
#include "hosts/win32/ButtonWindow.h"
#include "hosts/win32/DesktopScreen.h"
#include "hosts/win32/Picture.h"
#include "hosts/wide/WideText.h"
#include "hosts/win32/Win32WindowServices.h"

#include <windows.h>

namespace hosts::win32 {

namespace {

constexpr DWORD FormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr int FirstChildId = 100;

::HWND Native(win::HWND h) { return reinterpret_cast<::HWND>(h.value); }
win::HWND Ours(::HWND h) { return win::HWND(reinterpret_cast<std::uintptr_t>(h)); }

RECT RectOf(const forms::PixelRect& r) { return RECT{r.Left, r.Top, r.Left + r.Width, r.Top + r.Height}; }

LRESULT CALLBACK ContainerProc(::HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterContainerClass(const wchar_t* name, HICON icon, HICON small) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), name, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ContainerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = icon;
    wc.hIconSm = small;
    wc.lpszClassName = name;
    return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

// The look of one child window as its container paints it: colours for WM_CTLCOLOR*, lines and
// the frame's etched border for the container's own background.
struct ChildLook {
    COLORREF back = 0;
    COLORREF fore = 0;
    bool transparent = false;
    HBRUSH brush = nullptr;
};

struct LineDraw {
    ::HWND container;
    POINT a;
    POINT b;
    COLORREF colour;
    int width;
};

struct FormWindow::Impl final : dialog::LiveControls {
    Win32WindowServices& windows;
    forms::Scale scale;
    std::string name;
    std::function<void(const std::string&)>* onClick;
    std::function<void()>* onCloseBox;
    std::function<void()>* onSessionEnd;
    ::HWND top = nullptr;
    dialog::Dialog dialog;
    std::vector<::HWND> controls;        // by the dialog's index
    std::vector<ButtonWindow*> buttonAt;  // by the dialog's index; null for other kinds
    WPARAM takenKey = 0;                 // the rules took this key's press: its repeats and release too
    std::map<::HWND, ChildLook> looks;  // containers and the labels, boxes they colour
    std::map<::HWND, std::string> frameCaptions;
    std::vector<LineDraw> lines;
    std::vector<std::unique_ptr<ButtonWindow>> buttons;
    std::vector<std::unique_ptr<PictureWindow>> pictures;
    std::vector<HFONT> fonts;
    // Labels and still pictures are drawn on their container, beneath every windowed control.
    std::vector<::HWND> lightweight;
    int nextId = FirstChildId;
    // The control that has, or is to have, the focus when the window is active.
    ::HWND lastFocus = nullptr;
    // A window without a font of its own shows its controls in the stored format's default font.
    forms::FontModel defaultFont;

    Impl(Win32WindowServices& w, forms::Scale s)
        : windows(w), scale(s), defaultFont(forms::FontModelOf(forms::FontValue{}, s)) {}
    ~Impl() override {
        buttons.clear();
        pictures.clear();
        if (top != nullptr) {
            ::SetWindowLongPtrW(top, GWLP_USERDATA, 0);
            ::DestroyWindow(top);
        }
        for (HFONT f : fonts) ::DeleteObject(f);
        for (auto& [hwnd, look] : looks) {
            if (look.brush != nullptr) ::DeleteObject(look.brush);
        }
    }

    ChildLook& Look(::HWND hwnd, COLORREF back, COLORREF fore, bool transparent) {
        ChildLook& look = looks[hwnd];
        look.back = back;
        look.fore = fore;
        look.transparent = transparent;
        if (look.brush != nullptr) ::DeleteObject(look.brush);
        look.brush = transparent ? nullptr : ::CreateSolidBrush(look.back);
        return look;
    }

    // Windows has the stored faces itself, so the font is made by its stored name, not its stand-in.
    HFONT MakeFont(const forms::FontModel& f) {
        const HFONT font = ::CreateFontW(-f.PixelHeight, 0, 0, 0, f.Weight, f.Italic, f.Underline, f.Strikethrough,
                                         static_cast<BYTE>(f.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wide::Widen(f.Face).c_str());
        if (font != nullptr) fonts.push_back(font);
        return font;
    }

    ::HWND Standard(const wchar_t* cls, const std::string& text, DWORD style, DWORD exStyle, const RECT& r,
                    ::HWND parent) {
        const ::HWND h = ::CreateWindowExW(exStyle, cls, wide::Widen(text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, r.left, r.top,
                                           r.right - r.left, r.bottom - r.top, parent,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)),
                                           ::GetModuleHandleW(nullptr), nullptr);
        if (h == nullptr) throw std::runtime_error("cannot create a window of class " + wide::Narrow(cls));
        return h;
    }

    void Build(const forms::ControlModel& m, ::HWND parent);

    std::optional<dialog::Index> IndexOf(::HWND hwnd) const {
        if (hwnd == nullptr) return std::nullopt;
        const auto it = std::find(controls.begin(), controls.end(), hwnd);
        if (it == controls.end()) return std::nullopt;
        return static_cast<dialog::Index>(it - controls.begin());
    }
    ButtonWindow* ButtonAt(dialog::Index i) const { return i < buttonAt.size() ? buttonAt[i] : nullptr; }

    // dialog::LiveControls
    bool Usable(dialog::Index i) const override {
        const ::HWND h = i < controls.size() ? controls[i] : nullptr;
        return h != nullptr && ::IsWindowEnabled(h) && (::GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    bool Command(dialog::Index i) const override {
        const ButtonWindow* b = ButtonAt(i);
        return b != nullptr && b->IsCommand();
    }
    std::string AccessKeys(dialog::Index i) const override {
        const ButtonWindow* b = ButtonAt(i);
        return b != nullptr ? b->AccessKeys() : std::string();
    }

    // The default look follows the focus: it shows the button Enter presses.
    void ShowDefaultLook(::HWND focus) {
        const std::optional<dialog::Index> target = dialog.EnterTarget(IndexOf(focus), *this);
        for (dialog::Index i = 0; i < buttonAt.size(); ++i) {
            if (ButtonWindow* b = buttonAt[i]) b->SetDisplayAsDefault(target && *target == i);
        }
    }

    // Carries out the rules' move; false when the focused control keeps the key.
    bool Carry(const dialog::Move& move) {
        switch (move.kind) {
        case dialog::Move::Kind::Keep: return false;
        case dialog::Move::Kind::Drop: return true;
        case dialog::Move::Kind::Focus: ::SetFocus(controls[move.target]); return true;
        case dialog::Move::Kind::Press:
            // The button's handler may end the window: nothing of it is used afterwards.
            if (ButtonWindow* b = ButtonAt(move.target)) b->AccessKey(move.key);
            return true;
        }
        return false;
    }

    bool DialogKey(::HWND target, UINT message, WPARAM wParam, LPARAM lParam);
};

void FormWindow::Impl::Build(const forms::ControlModel& m, ::HWND parent) {
    const RECT box = RectOf(m.Box);
    ::HWND w = nullptr;
    switch (m.Kind) {
    case forms::ControlKind::Button: {
        const ButtonPlacement place{Ours(parent), nextId++, m.Box.Left, m.Box.Top, m.Box.Width, m.Box.Height};
        auto button = std::make_unique<ButtonWindow>(place, windows, m.Name, *m.Settings, m.AmbientBack);
        button->OnClick = [this](const std::string& n) {
            if (*onClick) (*onClick)(n);
        };
        button->OnFocusChange = [this](win::HWND focus) { ShowDefaultLook(Native(focus)); };
        w = Native(button->hWnd());
        const dialog::Index index = dialog.Add(m);
        if (index >= buttonAt.size()) buttonAt.resize(index + 1, nullptr);
        buttonAt[index] = button.get();
        buttons.push_back(std::move(button));
        break;
    }
    case forms::ControlKind::Label: {
        const DWORD style = m.Alignment == forms::TextAlignment::Right    ? SS_RIGHT
                            : m.Alignment == forms::TextAlignment::Center ? SS_CENTER
                                                                           : SS_LEFT;
        w = Standard(L"STATIC", m.Caption, style, 0, box, parent);
        Look(w, m.Back, m.Fore, !m.Opaque);
        break;
    }
    case forms::ControlKind::TextBox: {
        DWORD style = WS_TABSTOP | ES_LEFT;
        if (m.MultiLine) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        else style |= ES_AUTOHSCROLL;
        if (m.ScrollBars == forms::ScrollBarSet::Vertical || m.ScrollBars == forms::ScrollBarSet::Both) style |= WS_VSCROLL;
        if (m.ScrollBars == forms::ScrollBarSet::Horizontal || m.ScrollBars == forms::ScrollBarSet::Both) {
            style |= WS_HSCROLL | ES_AUTOHSCROLL;
        }
        if (m.Locked) style |= ES_READONLY;
        w = Standard(L"EDIT", "", style, WS_EX_CLIENTEDGE, box, parent);
        ::SetWindowTextW(w, wide::Widen(m.Text).c_str());
        Look(w, m.Back, m.Fore, false);
        break;
    }
    case forms::ControlKind::Frame:
    case forms::ControlKind::PictureBox:
        w = Standard(L"DizoContainer", "", WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, box, parent);
        ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        Look(w, m.Back, m.Fore, false);
        if (m.Kind == forms::ControlKind::Frame) frameCaptions[w] = m.Caption;
        for (const forms::ControlModel& child : m.Children) Build(child, w);
        break;
    case forms::ControlKind::Image:
    case forms::ControlKind::AnimatedPicture: {
        const bool animated = m.Kind == forms::ControlKind::AnimatedPicture;
        const PicturePlacement place{Ours(parent), m.Box.Left, m.Box.Top, m.Box.Width, m.Box.Height,
                                     m.Stretch, scale.Dpi, gdi::ColorFromOle(m.AmbientBack)};
        auto picture = std::make_unique<PictureWindow>(place, m.Picture.value_or(std::filesystem::path()), animated);
        w = Native(picture->Handle());
        pictures.push_back(std::move(picture));
        break;
    }
    case forms::ControlKind::Line:
        lines.push_back(LineDraw{parent, POINT{m.Box.Left + m.From.X, m.Box.Top + m.From.Y},
                                 POINT{m.Box.Left + m.To.X, m.Box.Top + m.To.Y}, m.Fore, m.PenWidth});
        if (const dialog::Index index = dialog.Add(m); index >= controls.size()) controls.resize(index + 1, nullptr);
        return;
    }
    if (m.Kind != forms::ControlKind::Button) {
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(MakeFont(m.Font.value_or(defaultFont))), FALSE);
    }
    if (!m.Enabled) ::EnableWindow(w, FALSE);
    if (m.Visible) ::ShowWindow(w, SW_SHOWNA);
    const dialog::Index index = dialog.Add(m);
    if (index >= controls.size()) controls.resize(index + 1, nullptr);
    controls[index] = w;
    if (m.Kind == forms::ControlKind::Label || m.Kind == forms::ControlKind::Image) lightweight.push_back(w);
}

namespace {

FormWindow::Impl* ImplOf(::HWND hwnd) {
    return reinterpret_cast<FormWindow::Impl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void PaintContainer(FormWindow::Impl& impl, ::HWND hwnd, HDC dc) {
    RECT client;
    ::GetClientRect(hwnd, &client);
    const auto look = impl.looks.find(hwnd);
    if (look != impl.looks.end() && look->second.brush != nullptr) ::FillRect(dc, &client, look->second.brush);
    for (const LineDraw& line : impl.lines) {
        if (line.container != hwnd) continue;
        const HPEN pen = ::CreatePen(PS_SOLID, line.width, line.colour);
        const HGDIOBJ old = ::SelectObject(dc, pen);
        ::MoveToEx(dc, line.a.x, line.a.y, nullptr);
        ::LineTo(dc, line.b.x, line.b.y);
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    }
    const auto frame = impl.frameCaptions.find(hwnd);
    if (frame == impl.frameCaptions.end()) return;
    // A frame: an etched rectangle, its caption (if any) breaking the top edge.
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
    const HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    RECT edge = client;
    if (!frame->second.empty()) edge.top += tm.tmHeight / 2;
    ::DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    if (!frame->second.empty()) {
        const std::wstring text = wide::Widen(frame->second);
        ::SetBkColor(dc, look != impl.looks.end() ? look->second.back : gdi::ColorFromOle(forms::OleButtonFace));
        ::SetTextColor(dc, look != impl.looks.end() ? look->second.fore : gdi::ColorFromOle(forms::OleWindowText));
        ::TextOutW(dc, 8, 0, text.c_str(), static_cast<int>(text.size()));
    }
    if (oldFont) ::SelectObject(dc, oldFont);
}

LRESULT CALLBACK ContainerProc(::HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow::Impl* impl = ImplOf(hwnd);
    if (impl == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND: PaintContainer(*impl, hwnd, reinterpret_cast<HDC>(wParam)); return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        const auto look = impl->looks.find(reinterpret_cast<::HWND>(lParam));
        if (look == impl->looks.end()) break;
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, look->second.fore);
        if (look->second.transparent) {
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        }
        ::SetBkColor(dc, look->second.back);
        return reinterpret_cast<LRESULT>(look->second.brush);
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_SETFOCUS) impl->ShowDefaultLook(reinterpret_cast<::HWND>(lParam));
        break;
    case WM_KEYDOWN:
        // Arrow keys a button hands to its container move the focus among the buttons.
        if (wParam == VK_LEFT || wParam == VK_UP || wParam == VK_RIGHT || wParam == VK_DOWN) {
            const dialog::Key arrow = dialog::KeystrokeOf(static_cast<std::int32_t>(wParam), false, false, false).key;
            impl->Carry(impl->dialog.OnArrow(arrow, impl->IndexOf(::GetFocus()), *impl));
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Coming back to the window gives the focus back to the control that had it.
        if (hwnd != impl->top) break;
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (const ::HWND f = ::GetFocus(); f != nullptr && ::IsChild(hwnd, f)) impl->lastFocus = f;
            return 0;
        }
        if (impl->lastFocus != nullptr && ::IsWindow(impl->lastFocus)) {
            ::SetFocus(impl->lastFocus);
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE:
        for (auto& b : impl->buttons) ::SendMessageW(Native(b->hWnd()), WM_SYSCOLORCHANGE, 0, 0);
        break;
    case WM_DISPLAYCHANGE:
        // The gradient's strips depend on the screen's size: the faces are drawn again for the new one.
        if (hwnd != impl->top) break;
        if (ApplyScreenSize()) {
            for (auto& b : impl->buttons) b->Control().Refresh();
        }
        break;
    case WM_CLOSE:
        if (hwnd == impl->top) {
            if (*impl->onCloseBox) (*impl->onCloseBox)();
            return 0;
        }
        break;
    case WM_ENDSESSION:
        if (hwnd == impl->top && wParam != FALSE && *impl->onSessionEnd) (*impl->onSessionEnd)();
        if (hwnd == impl->top) return 0;
        break;
    default: break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

// Keys reach the rules before the focused control: Tab, Esc and access keys from a text box too,
// which the platform's dialog manager would have let a box of several lines keep (or turn into a
// close of the window).
bool FormWindow::Impl::DialogKey(::HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (target != top && !::IsChild(top, target)) return false;
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        if (takenKey == 0 || wParam != takenKey) return false;
        takenKey = 0;
        return true;
    }
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return false;
    const bool repeat = (lParam & (1 << 30)) != 0;
    if (repeat && wParam == takenKey) return true;  // held Enter clicks once
    const ::HWND focusWindow = ::GetFocus();
    const std::optional<dialog::Index> focus = IndexOf(focusWindow);
    const dialog::Keystroke key =
        dialog::KeystrokeOf(static_cast<std::int32_t>(wParam), ::GetKeyState(VK_SHIFT) < 0,
                            ::GetKeyState(VK_CONTROL) < 0, message == WM_SYSKEYDOWN || ::GetKeyState(VK_MENU) < 0);
    // A key sent to a container (an arrow a button handed on) is the container's own.
    if (target != focusWindow) return false;
    const dialog::Move move = dialog.OnKey(key, focus, *this);
    if (move.kind == dialog::Move::Kind::Keep) return false;
    takenKey = move.kind == dialog::Move::Kind::Press ? wParam : 0;
    // The platform still hears of a key held with Alt, or it takes the Alt's release for a press
    // of Alt alone and opens the window menu.
    if (message == WM_SYSKEYDOWN) ::DefWindowProcW(target, message, wParam, lParam);
    Carry(move);
    return true;
}

FormWindow::FormWindow(const forms::Document& doc, Win32WindowServices& windows, forms::Scale scale, void* bigIcon,
                       void* smallIcon)
    : FormWindow(forms::BuildWindowModel(doc, scale), windows, bigIcon, smallIcon) {}

FormWindow::FormWindow(const forms::WindowModel& model, Win32WindowServices& windows, void* bigIcon, void* smallIcon)
    : impl_(std::make_unique<Impl>(windows, model.Units)) {
    Impl& impl = *impl_;
    ApplyScreenSize();  // before the buttons first draw
    // The buttons size their caption fonts by the same dpi as the window's geometry, so that a
    // high-dpi screen scales the whole window as one.
    gdi::SetScreenDpi(model.Units.Dpi);
    impl.onClick = &OnClick;
    impl.onCloseBox = &OnCloseBox;
    impl.onSessionEnd = &OnSessionEnd;
    impl.name = model.Name;
    if (model.Font) impl.defaultFont = *model.Font;
    RegisterContainerClass(L"DizoContainer", nullptr, nullptr);
    RegisterContainerClass(L"DizoForm", static_cast<HICON>(bigIcon), static_cast<HICON>(smallIcon));
    RECT outer{0, 0, model.ClientWidth, model.ClientHeight};
    ::AdjustWindowRectEx(&outer, FormStyle, FALSE, WS_EX_CONTROLPARENT);
    impl.top = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"DizoForm", wide::Widen(model.Caption).c_str(), FormStyle,
                                 CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (impl.top == nullptr) throw std::runtime_error("cannot create the window " + model.Name);
    ::SetWindowLongPtrW(impl.top, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&impl));
    if (bigIcon) ::SendMessageW(impl.top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (smallIcon) ::SendMessageW(impl.top, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    impl.Look(impl.top, model.Back, model.Fore, false);
    for (const forms::ControlModel& child : model.Controls) impl.Build(child, impl.top);
    impl.dialog.SetTabOrder(model.TabOrder);
    // The focusable controls lie above the others, in tab order.
    ::HWND after = HWND_TOP;
    for (const dialog::Index stop : impl.dialog.TabOrder()) {
        const ::HWND hwnd = impl.controls[stop];
        if (hwnd == nullptr) continue;
        ::SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = hwnd;
    }
    impl.ShowDefaultLook(nullptr);
    // Lightweight controls go beneath the windowed ones, each above those made before it.
    for (auto it = impl.lightweight.rbegin(); it != impl.lightweight.rend(); ++it) {
        ::SetWindowPos(*it, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

FormWindow::~FormWindow() = default;

win::HWND FormWindow::Handle() const { return Ours(impl_->top); }
const std::string& FormWindow::Name() const { return impl_->name; }

std::vector<ButtonWindow*> FormWindow::Buttons() const {
    std::vector<ButtonWindow*> out;
    for (const auto& b : impl_->buttons) out.push_back(b.get());
    return out;
}

win::HWND FormWindow::Find(std::string_view name) const {
    const std::optional<dialog::Index> i = impl_->dialog.Find(name);
    return i ? Ours(impl_->controls[*i]) : win::HWND();
}

bool FormWindow::DialogKey(win::HWND target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return impl_->DialogKey(Native(target), message, wParam, lParam);
}

void FormWindow::Show() {
    if (impl_->lastFocus == nullptr) {
        if (const std::optional<dialog::Index> first = impl_->dialog.FirstStop(*impl_)) {
            impl_->lastFocus = impl_->controls[*first];
        }
    }
    ::ShowWindow(impl_->top, SW_SHOWNORMAL);
    ::UpdateWindow(impl_->top);
}

bool FormWindow::Visible(std::string_view name) const {
    const ::HWND h = Native(Find(name));
    return h != nullptr && (::GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

void FormWindow::SetVisible(std::string_view name, bool visible) {
    if (const ::HWND h = Native(Find(name))) ::ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
}

std::string FormWindow::Text(std::string_view name) const {
    const ::HWND h = Native(Find(name));
    if (h == nullptr) return {};
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(h)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
    return wide::Narrow(text);
}

void FormWindow::SetText(std::string_view name, const std::string& text) {
    if (const ::HWND h = Native(Find(name))) ::SetWindowTextW(h, wide::Widen(text).c_str());
}

bool FormWindow::SetFocus(std::string_view name) {
    const ::HWND h = Native(Find(name));
    if (h == nullptr || !::IsWindowEnabled(h) || (::GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) == 0) return false;
    // Before the window is first shown the control gets the focus when it appears.
    impl_->lastFocus = h;
    if (::IsWindowVisible(impl_->top)) ::SetFocus(h);
    return true;
}

bool FormWindow::Minimised() const { return ::IsIconic(impl_->top) != FALSE; }

// The stored outer sizes assume the classic decorations (forms::ClientWidthForOuter): the client
// area they mean is kept, whatever borders the desktop draws, so the window comes back to its size
// at start.
bool FormWindow::SetOuterWidth(int twips) {
    if (Minimised()) return false;
    RECT outer;
    RECT client;
    ::GetWindowRect(impl_->top, &outer);
    ::GetClientRect(impl_->top, &client);
    const int borders = (outer.right - outer.left) - client.right;
    return ::SetWindowPos(impl_->top, nullptr, 0, 0, forms::ClientWidthForOuter(impl_->scale, twips) + borders,
                          outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

bool FormWindow::SetOuterHeight(int twips) {
    if (Minimised()) return false;
    RECT outer;
    RECT client;
    ::GetWindowRect(impl_->top, &outer);
    ::GetClientRect(impl_->top, &client);
    const int borders = (outer.bottom - outer.top) - client.bottom;
    return ::SetWindowPos(impl_->top, nullptr, 0, 0, outer.right - outer.left,
                          forms::ClientHeightForOuter(impl_->scale, twips) + borders,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace hosts::win32
