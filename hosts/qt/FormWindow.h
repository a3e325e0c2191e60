// A window built from its stored description: labels, text boxes, frames, pictures, lines,
// animated pictures and qkButtons_H buttons, as the window model gives them. Owns its widgets
// (through Qt's parent tree); the window logic reaches them by name.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/Dialog.h"
#include "forms/Description.h"
#include "forms/model/WindowModel.h"
#include "relay/ProgramWindows.h"

namespace hosts::qt {

class ButtonWidget;
class QtWindowServices;

class FormWindow final : public QWidget, public relay::NamedControls, private dialog::LiveControls {
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

    // relay::NamedControls. Outer sizes in twips, as the window logic sets them: the client area is
    // the outer size less the classic decorations, whatever the window manager draws.
    bool Visible(std::string_view name) const override;
    void SetVisible(std::string_view name, bool visible) override;
    std::string Text(std::string_view name) const override;
    void SetText(std::string_view name, const std::string& text) override;
    bool SetFocus(std::string_view name) override;
    bool SetOuterWidth(int twips) override;
    bool SetOuterHeight(int twips) override;
    // Lets the program close the window without running the close-box handler.
    void CloseQuietly();
    // The window's BackColor (an OLE colour) changed at run time: its own buttons are told.
    void SetBackColor(std::uint32_t oleColour);

signals:
    void Closed();

protected:
    void closeEvent(QCloseEvent* e) override;
    // Arrow keys a button hands to its container, and keys while no control has the focus.
    void keyPressEvent(QKeyEvent* e) override;
    // Keys the focused control is about to get go to the dialog rules first.
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Build(const forms::ControlModel& control, QWidget* parent);
    std::optional<dialog::Index> FocusIndex() const;
    // Carries out the rules' move; false when the focused control keeps the key.
    bool Carry(const dialog::Move& move);
    void ShowDefaultLook();
    ButtonWidget* ButtonAt(dialog::Index i) const;
    // dialog::LiveControls
    bool Usable(dialog::Index control) const override;
    bool Command(dialog::Index control) const override;
    std::string AccessKeys(dialog::Index control) const override;

    QtWindowServices& windows_;
    std::string name_;
    forms::Scale units_;
    dialog::Dialog dialog_;
    // By the dialog's index. A click handler may delete a control; these lose it then.
    std::vector<QPointer<QWidget>> controls_;
    std::vector<QPointer<ButtonWidget>> buttons_;
    QMetaObject::Connection focusWatch_;
    int takenKey_ = 0;  // the rules took this key's press: its repeats and release are theirs too
    bool quiet_ = false;
};

}  // namespace hosts::qt
