// The main window's controls as the window logic sees them: the two lamps, the two text boxes,
// the keyboard focus and the window's outer size. Hosts implement it over their widgets, which they own.
#pragma once

#include <string>
#include <string_view>

namespace relay {

// The controls the logic reads or changes; the buttons reach it only as Click events by name.
enum class Control { Image2, Image3, Text1, Text13 };

std::string_view ControlName(Control control);

// None of these throws. Texts are UTF-8.
class FormControls {
public:
    virtual ~FormControls() = default;
    virtual bool Visible(Control control) const = 0;
    virtual void SetVisible(Control control, bool visible) = 0;
    virtual std::string Text(Control control) const = 0;
    virtual void SetText(Control control, const std::string& text) = 0;
    // False when the control cannot take the focus now. A host asked before the window is first
    // shown gives the control the focus it will have when the window appears.
    virtual bool SetFocus(Control control) = 0;
    // The window's outer size in twips; false when the window cannot be resized now (minimised).
    virtual bool SetWidth(int twips) = 0;
    virtual bool SetHeight(int twips) = 0;
};

}  // namespace relay
