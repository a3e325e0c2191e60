// Test doubles for the input, hover and option-group modules: a control on the headless host that
// writes everything it does into one trace, so whole sequences compare at once.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "buttons/ButtonControl.h"
#include "buttons/HeadlessHost.h"
#include "buttons/Input.h"
#include "buttons/OptionGroup.h"
#include "win/testing/FakeWindowServices.h"

namespace buttons::testing {

using Trace = std::vector<std::string>;

// Records every event as text, e.g. "MouseDown(1,0,5,6)".
class RecordingListener : public ButtonEvents {
public:
    RecordingListener(std::string name, Trace& trace) : name_(std::move(name)), trace_(trace) {}
    void MouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y) override { Mouse("MouseDown", b, s, x, y); }
    void MouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y) override { Mouse("MouseUp", b, s, x, y); }
    void MouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y) override { Mouse("MouseMove", b, s, x, y); }
    void KeyDown(std::int16_t& k, std::int16_t& s) override { Add("KeyDown(" + Num(k) + "," + Num(s) + ")"); }
    void KeyPress(std::int16_t& k) override { Add("KeyPress(" + Num(k) + ")"); }
    void KeyUp(std::int16_t& k, std::int16_t& s) override { Add("KeyUp(" + Num(k) + "," + Num(s) + ")"); }
    void MouseOnButton(bool& on) override { Add(on ? "MouseOnButton(True)" : "MouseOnButton(False)"); }
    void Click() override {
        Add("Click");
        if (onClick) onClick();
    }
    void DoubleClick(std::int16_t& b) override { Add("DoubleClick(" + Num(b) + ")"); }

    std::function<void()> onClick;

private:
    static std::string Num(double v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", v);
        return buf;
    }
    void Mouse(const char* what, std::int16_t b, std::int16_t s, float x, float y) {
        Add(std::string(what) + "(" + Num(b) + "," + Num(s) + "," + Num(x) + "," + Num(y) + ")");
    }
    void Add(const std::string& text) { trace_.push_back(name_ + text); }
    std::string name_;
    Trace& trace_;
};

// A control with the Value and Mode setters' option-group behaviour, tracing redraws and Values.
class TestControl : public ButtonControl {
public:
    TestControl(win::FakeWindowServices& ws, win::HWND container, const gdi::RECT& screenRect, Trace& trace,
                std::string name = "")
        : ws_(ws),
          hwnd_(ws.CreateWindow(screenRect, container)),
          host_(screenRect.right - screenRect.left, screenRect.bottom - screenRect.top),
          trace_(trace),
          name_(name),
          listener_(name, trace),
          input_(std::make_unique<ButtonInput>(*this)) {
        host_.SetWindows(hwnd_, container);
        host_.SetTag(std::to_string(container.value));
        state_.Container.Window = container;
    }
    ~TestControl() override {
        input_.reset();
        ws_.DestroyWindow(hwnd_);
    }

    ButtonState& State() override { return state_; }
    ButtonHost& Host() override { return host_; }
    win::WindowServices& Windows() override { return ws_; }
    ButtonEvents* Listener() override { return &listener_; }
    void Refresh() override {
        if (!state_.Input.DelayFlag) trace_.push_back(name_ + "redraw");
    }
    bool GetValue() override { return state_.Props.Value; }
    void SetValue(bool value) override {
        if (value && state_.Props.Mode == ToInt(ButtonMode::ModeCommand)) return;
        state_.Props.Value = value;
        if (value && state_.Props.Mode == ToInt(ButtonMode::ModeOption)) OptionToggle(*this, OptionAction::Select);
        trace_.push_back(name_ + (value ? "Value=True" : "Value=False"));
        Refresh();
    }
    void SetMode(ButtonMode mode) {
        const std::int32_t next = ToInt(mode);
        const std::int32_t option = ToInt(ButtonMode::ModeOption);
        if (state_.Props.Mode == option && next != option) OptionToggle(*this, OptionAction::Leave);
        if (next == option && state_.Props.Mode != option) OptionToggle(*this, OptionAction::Join);
        if (next == ToInt(ButtonMode::ModeCommand) && state_.Props.Mode != next) SetValue(false);
        state_.Props.Mode = next;
    }

    ButtonInput& Input() { return *input_; }
    RecordingListener& Events() { return listener_; }
    HeadlessHost& TestHost() { return host_; }
    win::HWND Hwnd() const { return hwnd_; }

private:
    win::FakeWindowServices& ws_;
    win::HWND hwnd_;
    HeadlessHost host_;
    ButtonState state_;
    Trace& trace_;
    std::string name_;
    RecordingListener listener_;
    std::unique_ptr<ButtonInput> input_;
};

}  // namespace buttons::testing
