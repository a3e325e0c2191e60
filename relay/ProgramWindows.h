// What both desktop programs share around the window logic: Form1's controls reached by their
// names in whatever window a host built. Owns nothing; the host owns its windows.
#pragma once

#include <string>
#include <string_view>

#include "relay/FormControls.h"
#include "relay/ProgramHost.h"

namespace relay {

// One built window by its controls' names (without regard to case). None of these throws.
class NamedControls {
public:
    virtual ~NamedControls() = default;
    virtual bool Visible(std::string_view name) const = 0;
    virtual void SetVisible(std::string_view name, bool visible) = 0;
    // Texts of text boxes, UTF-8 with CR LF line ends.
    virtual std::string Text(std::string_view name) const = 0;
    virtual void SetText(std::string_view name, const std::string& text) = 0;
    virtual bool SetFocus(std::string_view name) = 0;
    // The outer size in twips; false when the window cannot be resized now (minimised).
    virtual bool SetOuterWidth(int twips) = 0;
    virtual bool SetOuterHeight(int twips) = 0;
};

// A host's program: Form1's controls are those of the main window it built; the About window,
// unloading, ending and the shell are its own.
class ProgramWindows : public ProgramHost, public Shell, public FormControls {
public:
    bool Visible(Control control) const final;
    void SetVisible(Control control, bool visible) final;
    std::string Text(Control control) const final;
    void SetText(Control control, const std::string& text) final;
    bool SetFocus(Control control) final;
    bool SetWidth(int twips) final;
    bool SetHeight(int twips) final;

protected:
    // The main window; null before it is built and once it is gone.
    virtual NamedControls* MainControls() const = 0;
};

}  // namespace relay
