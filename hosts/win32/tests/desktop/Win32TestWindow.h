// Support for the Win32 host's tests under Wine: a real window built from a small description,
// its buttons' Click events recorded, and the messages a user's input would bring.
#pragma once

#include <memory>
#include <stdexcept>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "forms/Description.h"
#include "hosts/win32/ButtonWindow.h"
#include "hosts/win32/FormWindow.h"
#include "hosts/win32/Win32WindowServices.h"

#include <windows.h>

namespace hosts::win32::testing {

inline ::HWND Native(win::HWND h) { return reinterpret_cast<::HWND>(h.value); }

// Delivers what is queued, as the program's loop does: keys to the window's dialog rules first.
inline void Pump(FormWindow* window) {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (window != nullptr &&
            window->DialogKey(win::HWND(reinterpret_cast<std::uintptr_t>(m.hwnd)), m.message, m.wParam, m.lParam))
            continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

class TestWindow {
public:
    // `controls` are the description's Begin...End blocks inside a 7000x3000 twips window (466x200
    // pixels at the standard scale).
    explicit TestWindow(std::string_view controls, forms::Scale scale = forms::StandardScale) {
        const std::string text = "DizoForm 1\nBegin Form Probe\n    Caption = \"Probe\"\n    ClientWidth = 7000\n"
                                 "    ClientHeight = 3000\n" +
                                 std::string(controls) + "End\n";
        const forms::Document doc = forms::ParseDescription(text, "probe.frm", DIZO_SOURCE_DIR);
        window_ = std::make_unique<FormWindow>(doc, services_, scale, nullptr, nullptr);
        window_->OnClick = [this](const std::string& name) { clicks_.push_back(name); };
        window_->OnCloseBox = [this] { ++closeBoxes_; };
        window_->Show();
        Pump();
    }

    FormWindow& Window() { return *window_; }
    Win32WindowServices& Services() { return services_; }
    ::HWND Top() const { return Native(window_->Handle()); }
    ::HWND Child(std::string_view name) const { return Native(window_->Find(name)); }
    ButtonWindow& Button(std::string_view name) const {
        for (ButtonWindow* b : window_->Buttons()) {
            if (b->Name() == name) return *b;
        }
        throw std::invalid_argument("no button " + std::string(name));
    }
    void Pump() { testing::Pump(window_.get()); }
    // The Click events raised since the last call, by button name.
    std::vector<std::string> TakeClicks() { return std::exchange(clicks_, {}); }
    int CloseBoxes() const { return closeBoxes_; }
    // Characters typed into the control with the focus, each as the keyboard driver posts it.
    void Type(std::string_view text) {
        for (char c : text) Key(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)));
    }

    // A key as the keyboard driver posts it to the window with the focus.
    void Key(UINT message, WPARAM key) {
        ::PostMessageW(::GetFocus(), message, key, 1);
        Pump();
    }
    void Press(WPARAM key) {
        Key(WM_KEYDOWN, key);
        Key(WM_KEYUP, key);
    }
    // A mouse message at client point (x, y) of a child.
    void Mouse(std::string_view child, UINT message, int x, int y) {
        ::SendMessageW(Child(child), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
        Pump();
    }

private:
    Win32WindowServices services_;
    std::unique_ptr<FormWindow> window_;
    std::vector<std::string> clicks_;
    int closeBoxes_ = 0;
};

// A button of 100x40 pixels with the given name, caption, place and extra settings.
inline std::string ButtonText(std::string_view name, std::string_view caption, int index, std::string_view extra = "") {
    return "    Begin Button " + std::string(name) + "\n        Left = " + std::to_string(120 + index * 1650) +
           "\n        Top = 1200\n        Width = 1500\n        Height = 600\n        TabIndex = " +
           std::to_string(index) + "\n        Caption = \"" + std::string(caption) + "\"\n" + std::string(extra) +
           "    End\n";
}

inline std::string TextBoxText(std::string_view name, int index, bool multiLine = false) {
    return "    Begin TextBox " + std::string(name) + "\n        Left = " + std::to_string(120 + index * 3100) +
           "\n        Top = 120\n        Width = 3000\n        Height = 400\n        TabIndex = " + std::to_string(index) +
           (multiLine ? "\n        MultiLine = True\n        ScrollBars = 2" : "") + "\n    End\n";
}

}  // namespace hosts::win32::testing
