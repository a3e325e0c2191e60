// The keyboard rules of one window, for every host: the tab order from the stored TabIndex, Tab and
// Shift+Tab, arrow-key moves among buttons, access keys, the Enter and Esc targets, the default look
// that follows the focus, and what a text box keeps for itself. Owns the window's control list and
// name map; what changes at run time (visible, enabled, mode, access keys) it asks the host.
//
// A host adds every control as it builds it (Add returns the index it then uses), sets the tab
// order, and feeds each key the focused control gets (OnKey) and each arrow key a button hands to
// its container (OnArrow); it carries out the Move it gets back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/Accessible.h"
#include "dialog/Names.h"
#include "forms/model/WindowModel.h"

namespace dialog {

using Index = std::size_t;

// What the host knows now of a control it built.
class LiveControls {
public:
    virtual ~LiveControls() = default;
    // Visible and enabled, so that it can take the focus or a key.
    virtual bool Usable(Index control) const = 0;
    // A button in command mode (not a check box or an option button).
    virtual bool Command(Index control) const = 0;
    // The button's access keys as the control set them; empty for others.
    virtual std::string AccessKeys(Index control) const = 0;
};

enum class Key : std::uint8_t { Tab, Enter, Escape, Left, Right, Up, Down, Other };

struct Keystroke {
    Key key = Key::Other;
    char character = 0;  // Other: the letter or digit of an Alt combination
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// A key by its virtual-key code (Tab 9, Enter 13, Esc 27, the arrows 37 to 40, letters and digits
// by their upper-case character), with the modifiers held.
Keystroke KeystrokeOf(std::int32_t virtualKey, bool shift, bool ctrl, bool alt);

struct Move {
    enum class Kind : std::uint8_t {
        Keep,   // the focused control takes the key as its own
        Focus,  // the focus goes to `target`
        Press,  // `target` gets the access key `key` (13 Enter, 27 Esc, or the letter)
        Drop,   // nobody takes it
    };
    Kind kind = Kind::Keep;
    Index target = 0;
    std::int16_t key = 0;
    friend bool operator==(const Move&, const Move&) = default;
};

class Dialog {
public:
    // Every control of the window, each once; returns its index.
    Index Add(const forms::ControlModel& control);
    // The focusable controls by name in tab order (the window model's TabOrder).
    void SetTabOrder(const std::vector<std::string>& names);

    std::optional<Index> Find(std::string_view name) const { return names_.Find(name); }
    std::size_t Size() const { return controls_.size(); }
    Role RoleOf(Index control) const { return controls_[control].role; }
    const std::string& Name(Index control) const { return controls_[control].name; }
    const std::vector<Index>& TabOrder() const { return tabOrder_; }

    // The key the focused control (none: the window itself) is about to get.
    Move OnKey(const Keystroke& key, std::optional<Index> focus, const LiveControls& live) const;
    // An arrow key a button handed to its container: the focus moves among the buttons.
    Move OnArrow(Key arrow, std::optional<Index> focus, const LiveControls& live) const;
    // The control that takes the focus when the window first shows.
    std::optional<Index> FirstStop(const LiveControls& live) const;
    // The button that shows the default look: the one Enter presses with this focus.
    std::optional<Index> EnterTarget(std::optional<Index> focus, const LiveControls& live) const;
    std::optional<Index> CancelTarget(const LiveControls& live) const;

private:
    struct Entry {
        std::string name;
        Role role = Role::Label;
        bool multiLine = false;
        bool isDefault = false;
        bool isCancel = false;
    };
    std::optional<Index> Step(std::optional<Index> from, bool forward, bool buttonsOnly, const LiveControls& live) const;
    std::optional<Index> AccessKeyTarget(char key, std::optional<Index> focus, const LiveControls& live) const;

    Names names_;
    std::vector<Entry> controls_;
    std::vector<Index> tabOrder_;
};

}  // namespace dialog
