// A stand-in for the main window's controls: lamps, text boxes, focus and outer size in memory, with
// switches that make focus or resizing fail; text, focus and size requests go to the log in order. Owned by the test.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "relay/FormControls.h"
#include "relay/testing/EventLog.h"

namespace relay::fakes {

class FakeForm final : public FormControls {
public:
    explicit FakeForm(EventLog* log = nullptr) : log_(log) {}

    bool Visible(Control control) const override { return visible.at(control); }
    void SetVisible(Control control, bool v) override { visible[control] = v; }
    std::string Text(Control control) const override {
        const auto it = texts.find(control);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetText(Control control, const std::string& text) override {
        texts[control] = text;
        Note("SetText(" + std::string(ControlName(control)) + ", '" + text + "')");
    }
    bool SetFocus(Control control) override {
        if (focusFails) {
            return false;
        }
        focus = control;
        Note("SetFocus(" + std::string(ControlName(control)) + ")");
        return true;
    }
    bool SetWidth(int twips) override {
        Note("SetWidth(" + std::to_string(twips) + ")");
        if (minimised) {
            return false;
        }
        width = twips;
        return true;
    }
    bool SetHeight(int twips) override {
        Note("SetHeight(" + std::to_string(twips) + ")");
        if (minimised) {
            return false;
        }
        height = twips;
        return true;
    }

    // A freshly created window: both lamps visible as designed, nothing focused, help hidden.
    std::map<Control, bool> visible{{Control::Image2, true}, {Control::Image3, true}};
    std::map<Control, std::string> texts;
    std::optional<Control> focus;
    int width = 6420;
    int height = 8055;
    bool focusFails = false;
    bool minimised = false;

private:
    void Note(std::string what) {
        if (log_) {
            log_->Add(std::move(what));
        }
    }
    EventLog* log_;
};

}  // namespace relay::fakes
