#include "hosts/win32/FormWindow.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>

#include "buttons/Colors.h"
#include "forms/FormatError.h"
#include "hosts/win32/ButtonWindow.h"
#include "hosts/win32/Picture.h"
#include "hosts/win32/Text.h"
#include "hosts/win32/Win32WindowServices.h"

#include <windows.h>

namespace hosts::win32 {

namespace {

constexpr std::uint32_t SysWindowText = 0x80000008;
constexpr std::uint32_t SysButtonFaceColour = 0x8000000F;
constexpr std::uint32_t SysWindowBackground = 0x80000005;
constexpr DWORD FormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr int FirstChildId = 100;

::HWND Native(win::HWND h) { return reinterpret_cast<::HWND>(h.value); }
win::HWND Ours(::HWND h) { return win::HWND(reinterpret_cast<std::uintptr_t>(h)); }

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Colours as the platform draws them: system colours through the current desktop's table.
COLORREF Colour(std::uint32_t ole) {
    if (ole & 0x80000000u) return ::GetSysColor(static_cast<int>(ole & 0xFF));
    return static_cast<COLORREF>(ole & 0x00FFFFFF);
}

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

struct FormWindow::Impl {
    Win32WindowServices& windows;
    DisplayScale scale;
    std::string name;
    std::function<void(const std::string&)>* onClick;
    std::function<void()>* onCloseBox;
    ::HWND top = nullptr;
    std::map<std::string, ::HWND> byName;
    std::map<::HWND, ChildLook> looks;  // containers and the labels, boxes they colour
    std::map<::HWND, std::string> frameCaptions;
    std::vector<LineDraw> lines;
    std::vector<std::unique_ptr<ButtonWindow>> buttons;
    std::vector<std::unique_ptr<PictureWindow>> pictures;
    std::vector<HFONT> fonts;
    std::vector<std::pair<std::int32_t, ::HWND>> tabStops;
    // Labels and still pictures are drawn on their container, beneath every windowed control.
    std::vector<::HWND> lightweight;
    int nextId = FirstChildId;
    // The control that has, or is to have, the focus when the window is active.
    ::HWND lastFocus = nullptr;

    Impl(Win32WindowServices& w, DisplayScale s) : windows(w), scale(s) {}
    ~Impl() {
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

    ChildLook& Look(::HWND hwnd, std::uint32_t back, std::uint32_t fore, bool transparent) {
        ChildLook& look = looks[hwnd];
        look.back = Colour(back);
        look.fore = Colour(fore);
        look.transparent = transparent;
        if (look.brush != nullptr) ::DeleteObject(look.brush);
        look.brush = transparent ? nullptr : ::CreateSolidBrush(look.back);
        return look;
    }

    forms::FontValue FontOf(const forms::PropertyBag& bag, const forms::FontValue& inherited) const {
        const std::optional<forms::FontValue> f = bag.ReadFont("Font");
        return f ? *f : inherited;
    }

    HFONT MakeFont(const forms::FontValue& f) {
        const HFONT font = ::CreateFontW(-std::max(1, scale.FontPixels(f.SizeTenThousandths)), 0, 0, 0,
                                         std::clamp(f.Weight, 1, 1000), f.Italic, f.Underline, f.Strikethrough,
                                         static_cast<BYTE>(f.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Widen(f.Name).c_str());
        if (font != nullptr) fonts.push_back(font);
        return font;
    }

    RECT Box(const forms::Control& c) const {
        const forms::Geometry g = c.Geom();
        const int left = scale.Pixels(g.Left);
        const int top = scale.Pixels(g.Top);
        return RECT{left, top, left + scale.Pixels(g.Width), top + scale.Pixels(g.Height)};
    }

    ::HWND Standard(const wchar_t* cls, const std::string& text, DWORD style, DWORD exStyle, const RECT& r,
                    ::HWND parent) {
        const ::HWND h = ::CreateWindowExW(exStyle, cls, Widen(text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, r.left, r.top,
                                           r.right - r.left, r.bottom - r.top, parent,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)),
                                           ::GetModuleHandleW(nullptr), nullptr);
        if (h == nullptr) throw std::runtime_error("cannot create a window of class " + Narrow(cls));
        return h;
    }

    void Build(const forms::Control& c, ::HWND parent, std::uint32_t ambientBack, const forms::FontValue& parentFont);
};

void FormWindow::Impl::Build(const forms::Control& c, ::HWND parent, std::uint32_t ambientBack,
                             const forms::FontValue& parentFont) {
    const forms::PropertyBag& bag = c.Properties;
    const RECT box = Box(c);
    const forms::FontValue font = FontOf(bag, parentFont);
    ::HWND w = nullptr;
    bool tabStop = false;
    if (c.Kind == forms::ButtonKind) {
        const ButtonPlacement place{Ours(parent), nextId++, static_cast<int>(box.left), static_cast<int>(box.top),
                                    static_cast<int>(box.right - box.left), static_cast<int>(box.bottom - box.top)};
        auto button = std::make_unique<ButtonWindow>(place, windows, c.Name, bag, ambientBack);
        button->OnClick = [this](const std::string& n) {
            if (*onClick) (*onClick)(n);
        };
        w = Native(button->hWnd());
        buttons.push_back(std::move(button));
        tabStop = true;
    } else if (c.Kind == "Label") {
        const std::int32_t align = bag.ReadInt32("Alignment", 0);
        DWORD style = align == 1 ? SS_RIGHT : align == 2 ? SS_CENTER : SS_LEFT;
        if (!bag.ReadBool("UseMnemonic", true)) style |= SS_NOPREFIX;
        w = Standard(L"STATIC", bag.ReadString("Caption", ""), style, 0, box, parent);
        // BackStyle 0 is transparent, 1 (the default) opaque.
        Look(w, bag.ReadColour("BackColor", SysButtonFaceColour), bag.ReadColour("ForeColor", SysWindowText),
             bag.ReadInt32("BackStyle", 1) == 0);
    } else if (c.Kind == "TextBox") {
        const std::int32_t bars = bag.ReadInt32("ScrollBars", 0);
        DWORD style = WS_TABSTOP | ES_LEFT;
        if (bag.ReadBool("MultiLine", false)) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        else style |= ES_AUTOHSCROLL;
        if (bars == 2 || bars == 3) style |= WS_VSCROLL;
        if (bars == 1 || bars == 3) style |= WS_HSCROLL | ES_AUTOHSCROLL;
        if (bag.ReadBool("Locked", false)) style |= ES_READONLY;
        w = Standard(L"EDIT", "", style, WS_EX_CLIENTEDGE, box, parent);
        ::SetWindowTextW(w, Widen(bag.ReadString("Text", "")).c_str());
        Look(w, bag.ReadColour("BackColor", SysWindowBackground), bag.ReadColour("ForeColor", SysWindowText), false);
        tabStop = true;
    } else if (c.Kind == "Frame" || c.Kind == "PictureBox") {
        w = Standard(L"DizoContainer", "", WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, box, parent);
        ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const std::uint32_t inner = bag.ReadColour("BackColor", ambientBack);
        Look(w, inner, bag.ReadColour("ForeColor", SysWindowText), false);
        if (c.Kind == "Frame") frameCaptions[w] = bag.ReadString("Caption", "");
        for (const forms::Control& child : c.Children) Build(child, w, inner, font);
    } else if (c.Kind == "Image" || c.Kind == "AnimatedPicture") {
        const bool animated = c.Kind == "AnimatedPicture";
        const PicturePlacement place{Ours(parent), static_cast<int>(box.left), static_cast<int>(box.top),
                                     static_cast<int>(box.right - box.left), static_cast<int>(box.bottom - box.top),
                                     animated || bag.ReadBool("Stretch", false), scale.dpi, Colour(ambientBack)};
        const auto file = bag.ReadPicture("Picture");
        auto picture = std::make_unique<PictureWindow>(place, file.value_or(std::filesystem::path()), animated);
        w = Native(picture->Handle());
        pictures.push_back(std::move(picture));
    } else if (c.Kind == "Line") {
        lines.push_back(LineDraw{parent,
                                 POINT{scale.Pixels(bag.ReadInt32("X1", 0)), scale.Pixels(bag.ReadInt32("Y1", 0))},
                                 POINT{scale.Pixels(bag.ReadInt32("X2", 0)), scale.Pixels(bag.ReadInt32("Y2", 0))},
                                 Colour(bag.ReadColour("BorderColor", SysWindowText)),
                                 std::max(1, bag.ReadInt32("BorderWidth", 1))});
        return;
    } else {
        return;  // kinds this program's windows do not use (timers, shapes) have nothing to show
    }
    if (c.Kind != forms::ButtonKind && w != nullptr) {
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(MakeFont(font)), FALSE);
    }
    if (!bag.ReadBool("Enabled", true)) ::EnableWindow(w, FALSE);
    if (c.Visible()) ::ShowWindow(w, SW_SHOWNA);
    byName[Lower(c.Name)] = w;
    if (tabStop) tabStops.emplace_back(c.TabIndex(), w);
    if (c.Kind == "Label" || c.Kind == "Image") lightweight.push_back(w);
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
        const std::wstring text = Widen(frame->second);
        ::SetBkColor(dc, look != impl.looks.end() ? look->second.back : ::GetSysColor(COLOR_BTNFACE));
        ::SetTextColor(dc, look != impl.looks.end() ? look->second.fore : ::GetSysColor(COLOR_WINDOWTEXT));
        ::TextOutW(dc, 8, 0, text.c_str(), static_cast<int>(text.size()));
    }
    if (oldFont) ::SelectObject(dc, oldFont);
}

ButtonWindow* ButtonWhere(FormWindow::Impl& impl, bool (ButtonWindow::*which)() const) {
    for (auto& b : impl.buttons) {
        if (((*b).*which)()) return b.get();
    }
    return nullptr;
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
        // Enter and Esc through the dialog manager: the Default and Cancel buttons.
        if (lParam == 0 || LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            if (LOWORD(wParam) == IDOK) {
                if (ButtonWindow* b = ButtonWhere(*impl, &ButtonWindow::IsDefault)) b->AccessKey(13);
                return 0;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                if (ButtonWindow* b = ButtonWhere(*impl, &ButtonWindow::IsCancel)) b->AccessKey(27);
                return 0;
            }
        }
        break;
    case WM_KEYDOWN:
        // Arrow keys a button passes on to its container move the focus, as dialog navigation does.
        if (wParam == VK_LEFT || wParam == VK_UP || wParam == VK_RIGHT || wParam == VK_DOWN) {
            const bool back = wParam == VK_LEFT || wParam == VK_UP;
            if (const ::HWND next = ::GetNextDlgTabItem(impl->top, ::GetFocus(), back ? TRUE : FALSE)) ::SetFocus(next);
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
    case WM_CLOSE:
        if (hwnd == impl->top) {
            if (*impl->onCloseBox) (*impl->onCloseBox)();
            return 0;
        }
        break;
    default: break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

FormWindow::FormWindow(const forms::Document& doc, Win32WindowServices& windows, DisplayScale scale, void* bigIcon,
                       void* smallIcon)
    : impl_(std::make_unique<Impl>(windows, scale)) {
    Impl& impl = *impl_;
    impl.onClick = &OnClick;
    impl.onCloseBox = &OnCloseBox;
    const forms::Control& root = doc.Root;
    const forms::PropertyBag& bag = root.Properties;
    impl.name = root.Name;
    RegisterContainerClass(L"DizoContainer", nullptr, nullptr);
    RegisterContainerClass(L"DizoForm", static_cast<HICON>(bigIcon), static_cast<HICON>(smallIcon));
    RECT outer{0, 0, scale.Pixels(bag.ReadInt32("ClientWidth", 4800)), scale.Pixels(bag.ReadInt32("ClientHeight", 3600))};
    ::AdjustWindowRectEx(&outer, FormStyle, FALSE, WS_EX_CONTROLPARENT);
    impl.top = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"DizoForm", Widen(bag.ReadString("Caption", root.Name)).c_str(),
                                 FormStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                 outer.bottom - outer.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (impl.top == nullptr) throw std::runtime_error("cannot create the window " + root.Name);
    ::SetWindowLongPtrW(impl.top, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&impl));
    if (bigIcon) ::SendMessageW(impl.top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (smallIcon) ::SendMessageW(impl.top, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    const std::uint32_t back = bag.ReadColour("BackColor", SysButtonFaceColour);
    impl.Look(impl.top, back, bag.ReadColour("ForeColor", SysWindowText), false);
    const forms::FontValue font = impl.FontOf(bag, forms::FontValue{});
    for (const forms::Control& child : root.Children) impl.Build(child, impl.top, back, font);
    // The dialog manager tabs in z-order: put the tab stops first, in TabIndex order.
    std::stable_sort(impl.tabStops.begin(), impl.tabStops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ::HWND after = HWND_TOP;
    for (const auto& [index, hwnd] : impl.tabStops) {
        ::SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = hwnd;
    }
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
    const auto it = impl_->byName.find(Lower(name));
    return it == impl_->byName.end() ? win::HWND() : Ours(it->second);
}

void FormWindow::Show() {
    if (impl_->lastFocus == nullptr && !impl_->tabStops.empty()) impl_->lastFocus = impl_->tabStops.front().second;
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
    return Narrow(text);
}

void FormWindow::SetText(std::string_view name, const std::string& text) {
    if (const ::HWND h = Native(Find(name))) ::SetWindowTextW(h, Widen(text).c_str());
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

bool FormWindow::SetOuterWidth(int twips) {
    if (Minimised()) return false;
    RECT r;
    ::GetWindowRect(impl_->top, &r);
    return ::SetWindowPos(impl_->top, nullptr, 0, 0, std::max(1, impl_->scale.Pixels(twips)), r.bottom - r.top,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

bool FormWindow::SetOuterHeight(int twips) {
    if (Minimised()) return false;
    RECT r;
    ::GetWindowRect(impl_->top, &r);
    return ::SetWindowPos(impl_->top, nullptr, 0, 0, r.right - r.left, std::max(1, impl_->scale.Pixels(twips)),
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace hosts::win32
