// A window built from its stored description: labels, text boxes, frames, pictures, lines,
// animated pictures and qkButtons_H buttons, as the window model gives them. Owns its widgets
// (through Qt's parent tree); the window logic reaches them by name.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "forms/Description.h"
#include "forms/model/WindowModel.h"

namespace hosts::qt {

class ButtonWidget;
class QtWindowServices;

class FormWindow final : public QWidget {
    Q_OBJECT
public:
    // Throws forms::FormatError for a setting the widgets cannot take. The model's Settings must
    // outlive the constructor only (buttons read them while they are built).
    FormWindow(const forms::Document& doc, QtWindowServices& windows);
    FormWindow(const forms::WindowModel& model, QtWindowServices& windows);
    ~FormWindow() override;

    // The control so named (without regard to case), or null.
    QWidget* Find(std::string_view name) const;
    std::vector<ButtonWidget*> Buttons() const;
    const std::string& Name() const { return name_; }

    // A button's Click event, with its name.
    std::function<void(const std::string& name)> OnClick;
    // The close box; the window closes once it returns.
    std::function<void()> OnCloseBox;

    // Outer sizes in twips, as the window logic sets them; the client area is the outer size less
    // the classic decorations, whatever the window manager draws.
    void SetOuterWidth(int twips);
    void SetOuterHeight(int twips);
    // Lets the program close the window without running the close-box handler.
    void CloseQuietly();
    // The window's BackColor (an OLE colour) changed at run time: its own buttons are told.
    void SetBackColor(std::uint32_t oleColour);

signals:
    void Closed();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Build(const forms::ControlModel& control, QWidget* parent);
    void ApplyTabOrder(const std::vector<std::string>& order);
    // The button Enter presses: the focused command button, else the Default button.
    ButtonWidget* EnterTarget() const;
    bool DialogKey(std::int16_t key);
    void ShowDefaultLook();

    QtWindowServices& windows_;
    std::string name_;
    forms::Scale units_;
    // A click handler may delete a control; these lose it then.
    std::map<std::string, QPointer<QWidget>> byName_;  // lower-cased names
    std::vector<QPointer<ButtonWidget>> buttons_;
    QMetaObject::Connection focusWatch_;
    bool quiet_ = false;
};

}  // namespace hosts::qt
