// A top-level Win32 window built from the window model of its stored description: STATIC labels,
// EDIT boxes, frames, pictures (GDI+), lines and qkButtons_H buttons. Owns its child windows, their
// fonts and brushes; the window logic reaches the controls by name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/Description.h"
#include "forms/Units.h"
#include "forms/model/WindowModel.h"
#include "relay/ProgramWindows.h"
#include "win/Hwnd.h"

namespace hosts::win32 {

class ButtonWindow;
class Win32WindowServices;

class FormWindow final : public relay::NamedControls {
public:
    // The icons are native handles for the caption (null: none); they stay the caller's. The model
    // is built at `scale`, the screen's dots per inch. Throws forms::FormatError for a bad setting,
    // std::runtime_error when a window cannot be made.
    FormWindow(const forms::Document& doc, Win32WindowServices& windows, forms::Scale scale, void* bigIcon,
               void* smallIcon);
    // The buttons read their stored settings while they are made: `model`'s document must live
    // until this returns.
    FormWindow(const forms::WindowModel& model, Win32WindowServices& windows, void* bigIcon, void* smallIcon);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    win::HWND Handle() const;
    const std::string& Name() const;
    std::vector<ButtonWindow*> Buttons() const;
    // The child window of the control so named (without regard to case); null when absent.
    win::HWND Find(std::string_view name) const;

    // A button's Click event, with its name.
    std::function<void(const std::string& name)> OnClick;
    // The close box; the window stays until the program destroys it.
    std::function<void()> OnCloseBox;
    // Windows is ending the session (WM_ENDSESSION): the process may end once this returns.
    std::function<void()> OnSessionEnd;

    // A key message from the loop, before it is translated: true when the window's dialog rules
    // took it (Tab, Enter, Esc, access keys), so that the loop drops it.
    bool DialogKey(win::HWND target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    void Show();
    bool Visible(std::string_view name) const override;
    void SetVisible(std::string_view name, bool visible) override;
    // Texts of EDIT boxes, UTF-8 with "\r\n" line ends as the platform keeps them.
    std::string Text(std::string_view name) const override;
    void SetText(std::string_view name, const std::string& text) override;
    bool SetFocus(std::string_view name) override;
    // The outer size, decorations included, in twips.
    bool SetOuterWidth(int twips) override;
    bool SetOuterHeight(int twips) override;
    bool Minimised() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace hosts::win32
