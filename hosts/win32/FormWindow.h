// A top-level Win32 window built from its stored description: STATIC labels, EDIT boxes, frames,
// pictures (GDI+), lines and qkButtons_H buttons, placed through one DisplayScale. Owns its child
// windows, their fonts and brushes; the window logic reaches the controls by name.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/Description.h"
#include "hosts/win32/DisplayScale.h"
#include "win/Hwnd.h"

namespace hosts::win32 {

class ButtonWindow;
class Win32WindowServices;

class FormWindow {
public:
    // `icon` is a native icon handle for the caption (null: none); it stays the caller's.
    // Throws forms::FormatError for a bad setting, std::runtime_error when a window cannot be made.
    FormWindow(const forms::Document& doc, Win32WindowServices& windows, DisplayScale scale, void* bigIcon,
               void* smallIcon);
    ~FormWindow();
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

    void Show();
    bool Visible(std::string_view name) const;
    void SetVisible(std::string_view name, bool visible);
    // Texts of EDIT boxes, UTF-8 with "\r\n" line ends as the platform keeps them.
    std::string Text(std::string_view name) const;
    void SetText(std::string_view name, const std::string& text);
    bool SetFocus(std::string_view name);
    // The outer size, decorations included, in twips.
    bool SetOuterWidth(int twips);
    bool SetOuterHeight(int twips);
    bool Minimised() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace hosts::win32
