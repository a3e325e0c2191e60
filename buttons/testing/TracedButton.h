// Real qkButtons_H controls on shared fake window services that write what they do into one trace:
// events raised, redraws presented and Value notifications in order, so sequences compare whole.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "buttons/ButtonEvents.h"
#include "buttons/testing/HeadlessHost.h"
#include "buttons/qkButtons_H.h"
#include "buttons/testing/ControlRig.h"
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

// The headless host, adding "redraw" for each presented face and "Value=True"/"Value=False" for
// each Value notification once tracing is on.
class TracingHost final : public HeadlessHost {
public:
    TracingHost(int width, int height, std::string name, Trace& trace)
        : HeadlessHost(width, height), name_(std::move(name)), trace_(trace) {}
    void RefreshNow() override {
        HeadlessHost::RefreshNow();
        if (tracing) trace_.push_back(name_ + "redraw");
    }
    void PropertyChanged(const std::string& key) override {
        HeadlessHost::PropertyChanged(key);
        if (tracing && key == "Value") trace_.push_back(name_ + (value() ? "Value=True" : "Value=False"));
    }
    bool tracing = false;
    std::function<bool()> value;

private:
    std::string name_;
    Trace& trace_;
};

// A started button in its own window at screenRect inside container; the trace starts after it
// has started. Destroys the button, then its window.
struct TracedButton {
    TracedButton(win::FakeWindowServices& ws, win::HWND container, const gdi::RECT& screenRect, Trace& trace,
                 std::string name = "")
        : windows(ws),
          hwnd(ws.CreateWindow(screenRect, container)),
          host(screenRect.right - screenRect.left, screenRect.bottom - screenRect.top, name, trace),
          listener(name, trace) {
        host.SetWindows(hwnd, container);
        button = StartButton(host, ws);
        button->SetEventListener(&listener);
        host.value = [this] { return button->Value(); };
        host.tracing = true;
    }
    ~TracedButton() {
        button.reset();
        windows.DestroyWindow(hwnd);
    }
    TracedButton(const TracedButton&) = delete;
    TracedButton& operator=(const TracedButton&) = delete;

    qkButtons_H* operator->() { return button.get(); }
    ButtonInput& Input() { return button->Input(); }
    Interaction& Fields() { return button->State().Input; }
    // The identity the option-group registry stores.
    std::uintptr_t Id() const { return reinterpret_cast<std::uintptr_t>(static_cast<ButtonControl*>(button.get())); }

    win::FakeWindowServices& windows;
    win::HWND hwnd;
    TracingHost host;
    RecordingListener listener;
    std::unique_ptr<qkButtons_H> button;
};

}  // namespace buttons::testing
