// One qkButtons_H on a Win32 window of the class "qkButtons_H": the window is the control's host.
// Owns the control, the presentation buffer it draws into (shown with SetDIBitsToDevice) and the
// region it hands over until the window takes it; the window procedure feeds the control.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "buttons/ButtonEvents.h"
#include "buttons/HostProperties.h"
#include "buttons/PresentationBuffer.h"
#include "gdi/Handles.h"
#include "hosts/win32/ButtonMessages.h"

namespace buttons {
class qkButtons_H;
}
namespace forms {
class PropertyBag;
}

namespace hosts::win32 {

class Win32WindowServices;

struct ButtonPlacement {
    win::HWND parent;
    int id = 0;  // the child-window identifier
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class ButtonWindow final : public buttons::PropertyHoldingHost, private buttons::ButtonEvents {
public:
    static constexpr char ClassName[] = "qkButtons_H";
    // Registers the window class once per process; false when the platform refuses.
    static bool RegisterWindowClass();

    // Creates the window and the control and reads its stored settings; throws forms::FormatError
    // for a bad setting and std::runtime_error when the window cannot be created.
    ButtonWindow(const ButtonPlacement& place, Win32WindowServices& windows, std::string name,
                 const forms::PropertyBag& settings, buttons::OleColor ambientBack);
    ~ButtonWindow() override;
    ButtonWindow(const ButtonWindow&) = delete;
    ButtonWindow& operator=(const ButtonWindow&) = delete;

    // Raised for the control's Click event, with the control's name.
    std::function<void(const std::string& name)> OnClick;
    // The focus comes to or leaves this button; `focus` is the window that has it now.
    std::function<void(win::HWND focus)> OnFocusChange;

    buttons::qkButtons_H& Control() { return *control_; }
    const std::string& Name() const { return name_; }
    // A command button (not a check box or option), which takes Enter itself while it has the focus.
    bool IsCommand() const;
    // An access key, Enter or Esc meant for this button, as the window's dialog rules hand it on
    // (or BM_CLICK from assistive technology).
    void AccessKey(std::int16_t keyAscii);
    // The container's ambient property changed ("BackColor", "DisplayAsDefault").
    void AmbientChanged(const char* name);
    void SetDisplayAsDefault(bool on);

    // ---- The rest of ButtonHost (the host-held properties are PropertyHoldingHost's).
    bool UserMode() const override { return true; }
    buttons::OleColor AmbientBackColor() const override { return ambientBack_; }
    std::string DisplayName() const override { return name_; }
    bool DisplayAsDefault() const override { return displayAsDefault_; }
    void PropertyChanged(const std::string& key) override;
    void InfoMessage(const std::string&) override {}  // design time only; the program is never in design mode
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }
    gdi::HDC hDC() const override { return buffer_.Dc(); }
    win::HWND hWnd() const override { return hwnd_; }
    win::HWND ContainerHwnd() const override { return parent_; }
    void RefreshNow() override;
    void SetWidthPixels(int width) override;
    void SetWindowRgn(gdi::HRGN rgn, bool redraw) override;

    // The window procedure's work, for the window of this button.
    std::intptr_t HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

private:
    void Click() override;  // buttons::ButtonEvents
    void Present(void* nativeDc) const;
    bool OverButton(std::intptr_t lParam) const;
    std::int16_t ShiftState() const;
    void UpdateWindowText();
    void EnabledChanged() override;
    void PointerChanged() override;

    Win32WindowServices& windows_;
    std::string name_;
    win::HWND parent_;
    win::HWND hwnd_;
    int width_ = 0;
    int height_ = 0;
    buttons::PresentationBuffer buffer_;
    gdi::OwnedRgn region_;  // our copy of the region the window was handed, for hit tests
    std::unique_ptr<buttons::qkButtons_H> control_;

    void* customCursor_ = nullptr;  // HCURSOR made from MouseIcon for MousePointer 99; owned
    buttons::OleColor ambientBack_;
    bool displayAsDefault_ = false;
};

}  // namespace hosts::win32
