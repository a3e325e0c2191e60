// One qkButtons_H on a Qt window: the widget is the control's host. It owns the control, the
// presentation buffer the control draws into (shown as a QImage) and the window region it is handed, and
// turns Qt's mouse, key, focus and paint events into the control's notifications.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "buttons/ButtonEvents.h"
#include "buttons/HostProperties.h"
#include "buttons/PresentationBuffer.h"
#include "gdi/Handles.h"

namespace buttons {
class qkButtons_H;
}
namespace forms {
class PropertyBag;
}

namespace hosts::qt {

class QtWindowServices;

class ButtonWidget final : public QWidget, public buttons::PropertyHoldingHost, private buttons::ButtonEvents {
    Q_OBJECT
public:
    // The control is created and its stored settings read here; throws forms::FormatError for a
    // bad setting. `ambientBack` is the container's BackColor.
    ButtonWidget(QWidget* parent, QtWindowServices& windows, std::string name, const forms::PropertyBag& settings,
                 buttons::OleColor ambientBack, QSize size);
    ~ButtonWidget() override;

    // Raised for the control's Click event, with the control's name.
    std::function<void(const std::string& name)> OnClick;

    // An access key (or Enter/Esc for the window) while the button can take it; the window's
    // dialog rules decide which button gets which.
    void AccessKey(std::int16_t keyAscii);
    // The container's ambient properties; the control hears of each change.
    void SetDisplayAsDefault(bool on);
    void SetAmbientBackColor(buttons::OleColor colour);

    buttons::qkButtons_H& Control() { return *control_; }
    const std::string& Name() const { return name_; }
    // The caption as a screen reader should say it: no access-key marks, line breaks as blanks.
    QString SpokenCaption() const;

    // ---- The rest of ButtonHost (the host-held properties are PropertyHoldingHost's).
    bool UserMode() const override { return true; }
    buttons::OleColor AmbientBackColor() const override { return ambientBack_; }
    std::string DisplayName() const override { return name_; }
    bool DisplayAsDefault() const override { return displayAsDefault_; }
    void PropertyChanged(const std::string& key) override;
    void InfoMessage(const std::string&) override {}  // design time only; the program is never in design mode
    double ScaleWidth() const override { return width(); }
    double ScaleHeight() const override { return height(); }
    gdi::HDC hDC() const override { return buffer_.Dc(); }
    win::HWND hWnd() const override;
    win::HWND ContainerHwnd() const override;
    void RefreshNow() override;
    void SetWidthPixels(int width) override;
    void SetWindowRgn(gdi::HRGN rgn, bool redraw) override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void Click() override;  // buttons::ButtonEvents
    void EnabledChanged() override;
    void PointerChanged() override;

    QtWindowServices& windows_;
    std::string name_;
    buttons::PresentationBuffer buffer_;
    gdi::OwnedRgn region_;
    std::unique_ptr<buttons::qkButtons_H> control_;
    bool focusByPress_ = false;  // mousePressEvent is giving the focus and reports it itself

    buttons::OleColor ambientBack_;
    bool displayAsDefault_ = false;
};

}  // namespace hosts::qt
