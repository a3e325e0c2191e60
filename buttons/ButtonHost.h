// What qkButtons_H needs of the window that carries it: host-held properties, ambient values,
// notifications, its drawing target and geometry. The Qt host (ButtonWidget), the Win32 host
// (ButtonWindow) and the offscreen host (the render tool's, and under the tests' headless host)
// implement it; the control never owns the host.
#pragma once

#include <string>

#include "buttons/ButtonTypes.h"
#include "gdi/Handles.h"
#include "win/Hwnd.h"

namespace buttons {

class ButtonHost {
public:
    virtual ~ButtonHost() = default;

    // Host-held properties of the control.
    virtual OleColor ForeColor() const = 0;
    virtual void SetForeColor(OleColor c) = 0;
    virtual FontDesc Font() const = 0;
    virtual void SetFont(const FontDesc& f) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool e) = 0;
    virtual std::int32_t MousePointer() const = 0;
    virtual void SetMousePointer(std::int32_t p) = 0;
    virtual PictureRef MouseIcon() const = 0;
    virtual void SetMouseIcon(PictureRef icon) = 0;
    virtual std::string AccessKeys() const = 0;
    virtual void SetAccessKeys(const std::string& keys) = 0;
    virtual std::string Tag() const = 0;  // the control's own tag string
    virtual void SetTag(const std::string& tag) = 0;

    // Ambient values of the container.
    virtual bool UserMode() const = 0;  // False in a form designer, True at run time
    virtual OleColor AmbientBackColor() const = 0;
    virtual std::string DisplayName() const = 0;
    virtual bool DisplayAsDefault() const = 0;

    // Notifications to the container.
    virtual void PropertyChanged(const std::string& key) = 0;
    virtual void InfoMessage(const std::string& text) = 0;  // design time only
    // The same box with its own title instead of the application's; hosts without titles may ignore it.
    virtual void InfoMessageWithTitle(const std::string& text, const std::string& /*title*/) { InfoMessage(text); }

    // Geometry and drawing target: client size in pixels (the host reports floating-point values).
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;
    virtual gdi::HDC hDC() const = 0;
    virtual win::HWND hWnd() const = 0;
    virtual win::HWND ContainerHwnd() const = 0;
    // Show the control's DC at once. The control calls it after a Refresh has painted and copied,
    // never from inside a paint (the host's own paint event shows the DC after Paint returns).
    virtual void RefreshNow() = 0;
    // Sets the control's width to so many pixels (converted to the container's scale mode by the host);
    // the host raises the resize notification from inside, as the platform does.
    virtual void SetWidthPixels(int width) = 0;
    // Hands a window region to the window, which owns it from then on (null: rectangular).
    virtual void SetWindowRgn(gdi::HRGN rgn, bool redraw) = 0;
};

}  // namespace buttons
