// Keys, focus and the container's ambient properties reaching a button through the Qt widget,
// on Qt's offscreen platform.
#if defined(DIZO_HAVE_QTHOST)
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>

#include <functional>

#include "buttons/Colors.h"
#include "buttons/qkButtons_H.h"
#include "hosts/qt/ButtonWidget.h"
#include "hosts/qt/FormWindow.h"
#include "hosts/qt/QtWindowServices.h"
#include "hosts/tests/BusFixture.h"
#include "hosts/tests/QtFormSupport.h"

namespace hosts::qt {
namespace {

using hosts::testing::App;
using hosts::testing::Describe;
using hosts::testing::kButton;
using hosts::testing::KeyTrace;
using Trace = std::vector<std::string>;

struct KeyCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* text;  // UTF-8, as the keyboard layout produced it
    Trace expected;
};

class WidgetKeys : public ::testing::TestWithParam<KeyCase> {};

// A press and release as the platform delivers them (a modifier's own key first): every key with
// its virtual-key code, and a KeyPress for the character it typed when Windows-1252 holds it.
TEST_P(WidgetKeys, ReachTheControlAsThePlatformsCodes) {
    const KeyCase& c = GetParam();
    App();
    QtWindowServices services;
    FormWindow window(Describe(kButton), services);
    auto* button = qobject_cast<ButtonWidget*>(window.Find("ligar"));
    ASSERT_NE(button, nullptr);
    KeyTrace trace;
    button->Control().SetEventListener(&trace);
    QTest::sendKeyEvent(QTest::Click, button, static_cast<Qt::Key>(c.key), QString::fromUtf8(c.text), c.modifiers);
    EXPECT_EQ(trace.events, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, WidgetKeys,
    ::testing::Values(
        KeyCase{"F1", Qt::Key_F1, {}, "", {"D112,0", "U112,0"}},
        KeyCase{"F24", Qt::Key_F24, {}, "", {"D135,0", "U135,0"}},
        KeyCase{"DeleteTypesNothing", Qt::Key_Delete, {}, "\x7f", {"D46,0", "U46,0"}},
        KeyCase{"Home", Qt::Key_Home, {}, "", {"D36,0", "U36,0"}},
        KeyCase{"End", Qt::Key_End, {}, "", {"D35,0", "U35,0"}},
        KeyCase{"PageUp", Qt::Key_PageUp, {}, "", {"D33,0", "U33,0"}},
        KeyCase{"PageDown", Qt::Key_PageDown, {}, "", {"D34,0", "U34,0"}},
        KeyCase{"Comma", Qt::Key_Comma, {}, ",", {"D188,0", "P44", "U188,0"}},
        KeyCase{"ShiftedSlashIsQuestion", Qt::Key_Question, Qt::ShiftModifier, "?", {"D16,1", "D191,1", "P63", "U191,1"}},
        KeyCase{"KeypadFive", Qt::Key_5, Qt::KeypadModifier, "5", {"D101,0", "P53", "U101,0"}},
        KeyCase{"KeypadDecimalComma", Qt::Key_Comma, Qt::KeypadModifier, ",", {"D110,0", "P44", "U110,0"}},
        KeyCase{"KeypadStar", Qt::Key_Asterisk, Qt::KeypadModifier, "*", {"D106,0", "P42", "U106,0"}},
        KeyCase{"CCedilla", Qt::Key_Ccedilla, {}, "ç", {"D186,0", "P231", "U186,0"}},
        KeyCase{"ComposedATilde", Qt::Key_A, {}, "ã", {"D65,0", "P227", "U65,0"}},
        KeyCase{"LetterWithoutAKeyCode", Qt::Key_Udiaeresis, {}, "ü", {"P252"}},
        KeyCase{"EuroIsByte128", Qt::Key_E, {}, "€", {"D69,0", "P128", "U69,0"}},
        KeyCase{"OutsideTheCodePageTypesNothing", Qt::Key_L, {}, "ł", {"D76,0", "U76,0"}},
        KeyCase{"CtrlLetterTypesItsControlCode", Qt::Key_A, Qt::ControlModifier, "\x01", {"D17,2", "D65,2", "P1", "U65,2", "U17,0"}},
        KeyCase{"EscWithoutACancelButton", Qt::Key_Escape, {}, "\x1b", {"D27,0", "P27", "U27,0"}},
        KeyCase{"AltLetterTypesNothing", Qt::Key_X, Qt::AltModifier, "x", {"D18,4", "D88,4", "U88,4", "U18,0"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A window with a text box first in the tab order, so that activating it focuses no button.
forms::Document WindowWithOption() {
    return Describe(" Begin TextBox Text1\n  Left = 150\n  Top = 1500\n  Width = 3000\n  Height = 765\n  TabIndex = 0\n"
                    " End\n"
                    " Begin Button opcao\n  Left = 2400\n  Top = 300\n  Width = 1500\n  Height = 615\n  TabIndex = 2\n"
                    "  Caption = \"Opção\"\n  Mode = 2\n End\n" +
                    std::string(kButton));
}

void Activate(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Focus reaches an option button that no group member has selected, so focus clicks it, and the
// click handler deletes it: by a press (which must then not reach it) and by Tab.
TEST(ButtonWidget, FocusWhoseClickDeletesTheButtonEndsThere) {
    App();
    const std::vector<std::pair<const char*, std::function<void(QWidget& from, QWidget& option)>>> arrivals = {
        {"press", [](QWidget&, QWidget& option) { QTest::mousePress(&option, Qt::LeftButton, {}, QPoint(20, 20)); }},
        {"tab", [](QWidget& from, QWidget&) { QTest::keyClick(&from, Qt::Key_Tab); }},
    };
    for (const auto& [how, arrive] : arrivals) {
        QtWindowServices services;
        FormWindow window(WindowWithOption(), services);
        ASSERT_NO_FATAL_FAILURE(Activate(window));
        QWidget* ligar = window.Find("ligar");
        ligar->setFocus();
        QPointer<ButtonWidget> option = qobject_cast<ButtonWidget*>(window.Find("opcao"));
        ASSERT_NE(option, nullptr);
        std::vector<std::string> clicks;
        window.OnClick = [&](const std::string& name) {
            clicks.push_back(name);
            delete option.data();
        };
        arrive(*ligar, *option);
        QCoreApplication::processEvents();
        EXPECT_EQ(clicks, std::vector<std::string>{"opcao"}) << how;
        EXPECT_TRUE(option.isNull()) << how;
    }
}

// Enter presses the focused command button, else the Default one; Esc the Cancel one.
forms::Document DialogWindow() {
    const auto button = [](const char* name, int left, int tab, const char* extra) {
        return std::string(" Begin Button ") + name + "\n  Left = " + std::to_string(left) +
               "\n  Top = 300\n  Width = 900\n  Height = 450\n  TabIndex = " + std::to_string(tab) + "\n" + extra +
               " End\n";
    };
    return Describe(" Begin TextBox Text1\n  Left = 150\n  Top = 1500\n  Width = 3000\n  Height = 300\n  TabIndex = 0\n"
                    " End\n" +
                    button("ok", 150, 1, "  Default = True\n") + button("cancela", 1200, 2, "  Cancel = True\n") +
                    button("marca", 2250, 3, "  Mode = 1\n") + button("oval", 3300, 4, "  Shape = 4\n") +
                    " Begin Frame Frame1\n  Left = 0\n  Top = 2000\n  Width = 4500\n  Height = 900\n  BackColor = &H00C0C0C0&\n" +
                    button("dentro", 150, 5, "") + " End\n");
}

struct DialogKeyCase {
    const char* focus;
    Qt::Key key;
    const char* clicked;
};

TEST(FormWindow, EnterAndEscPressTheWindowsDefaultAndCancelButtons) {
    App();
    QtWindowServices services;
    FormWindow window(DialogWindow(), services);
    ASSERT_NO_FATAL_FAILURE(Activate(window));
    std::vector<std::string> clicks;
    window.OnClick = [&](const std::string& name) { clicks.push_back(name); };
    for (const DialogKeyCase& c : {DialogKeyCase{"Text1", Qt::Key_Return, "ok"}, {"Text1", Qt::Key_Escape, "cancela"},
                                   {"marca", Qt::Key_Enter, "ok"}, {"marca", Qt::Key_Escape, "cancela"},
                                   {"cancela", Qt::Key_Return, "cancela"}, {"ok", Qt::Key_Escape, "cancela"}}) {
        QWidget* focus = window.Find(c.focus);
        focus->setFocus();
        clicks.clear();
        QTest::keyClick(focus, c.key);
        EXPECT_EQ(clicks, std::vector<std::string>{c.clicked}) << c.focus << " " << c.key;
    }
    EXPECT_FALSE(qobject_cast<ButtonWidget*>(window.Find("marca"))->Control().GetValue());
}

TEST(FormWindow, TabWalksTheTabOrderAndBoxesKeepWhatIsTheirs) {
    App();
    QtWindowServices services;
    FormWindow window(Describe(" Begin TextBox Many\n  Left = 150\n  Top = 1200\n  Width = 3000\n  Height = 765\n"
                               "  TabIndex = 0\n  MultiLine = True\n End\n" +
                               std::string(kButton)),
                      services);
    bool closed = false;
    window.OnCloseBox = [&] { closed = true; };
    ASSERT_NO_FATAL_FAILURE(Activate(window));
    QWidget* many = window.Find("Many");
    many->setFocus();
    QTest::keyClicks(many, "um");
    QTest::keyClick(many, Qt::Key_Return);
    QTest::keyClick(many, Qt::Key_Escape);
    EXPECT_EQ(window.Text("Many"), "um\r\n");
    EXPECT_FALSE(closed);
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(many, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.Find("ligar"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), many);
    QTest::keyClick(many, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), window.Find("ligar"));
    EXPECT_EQ(window.Text("Many"), "um\r\n");
}

TEST(FormWindow, TheDefaultLookFollowsTheButtonEnterPresses) {
    App();
    QtWindowServices services;
    FormWindow window(DialogWindow(), services);
    ASSERT_NO_FATAL_FAILURE(Activate(window));
    const auto lookedDefault = [&] {
        std::vector<std::string> names;
        for (ButtonWidget* b : window.Buttons()) {
            if (b->Control().State().Input.StateFlags & buttons::DefaultLook) names.push_back(b->Name());
        }
        return names;
    };
    for (const auto& [focus, expected] : std::vector<std::pair<const char*, const char*>>{
             {"Text1", "ok"}, {"cancela", "cancela"}, {"marca", "ok"}, {"dentro", "dentro"}}) {
        window.Find(focus)->setFocus();
        EXPECT_EQ(lookedDefault(), std::vector<std::string>{expected}) << focus;
    }
}

TEST(FormWindow, ABackColorChangeReachesTheButtonsItHolds) {
    App();
    QtWindowServices services;
    FormWindow window(DialogWindow(), services);
    const auto containerBack = [&](const char* name) {
        return qobject_cast<ButtonWidget*>(window.Find(name))->Control().State().Container.BackColor;
    };
    const gdi::COLORREF inFrame = containerBack("dentro");
    window.SetBackColor(0x000000FF);
    EXPECT_EQ(containerBack("ok"), 0x000000FFu);
    EXPECT_EQ(containerBack("oval"), 0x000000FFu);
    EXPECT_EQ(containerBack("dentro"), inFrame);
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(255, 0, 0));
    window.SetBackColor(0x8000000F);  // a system colour is resolved
    EXPECT_EQ(containerBack("oval"), buttons::ConvertSysColor(0x8000000F));
}

}  // namespace
}  // namespace hosts::qt
#endif
