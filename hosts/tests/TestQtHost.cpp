// The Qt window host: window services, the button host widget and windows built from
// descriptions, on Qt's offscreen platform.
#if defined(DIZO_HAVE_QTHOST)
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>

#include "buttons/qkButtons_H.h"
#include "forms/Description.h"
#include "gdi/Screen.h"
#include "gdi/SysColor.h"
#include "hosts/qt/ButtonAccessible.h"
#include "hosts/qt/ButtonWidget.h"
#include "hosts/qt/DesktopScreen.h"
#include "hosts/qt/FormWindow.h"
#include "hosts/qt/KeyCodes.h"
#include "hosts/qt/QtWindowServices.h"
#include "hosts/qt/TextBox.h"
#include "hosts/tests/BusFixture.h"
#include "hosts/tests/QtFormSupport.h"

namespace hosts::qt {
namespace {

using hosts::testing::App;
using hosts::testing::Describe;
using hosts::testing::kButton;
using hosts::testing::WaitFor;

class KeyRecorder final : public QWidget {
public:
    std::vector<int> keys;
protected:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

std::vector<std::pair<std::uintptr_t, std::uintptr_t>> g_ticks;
void RecordTick(win::WindowServices&, win::HWND hwnd, std::uint32_t message, std::uintptr_t id, std::uint32_t) {
    if (message == win::WM_TIMER) g_ticks.emplace_back(hwnd.value, id);
}
void KillOnFirstTick(win::WindowServices& s, win::HWND hwnd, std::uint32_t, std::uintptr_t id, std::uint32_t) {
    g_ticks.emplace_back(hwnd.value, id);
    s.KillTimer(hwnd, id);
}

TEST(QtWindowServices, PropertiesAreNamedWithoutCaseAndDieWithTheirWindow) {
    App();
    QtWindowServices services;
    auto* widget = new QWidget;
    const win::HWND h = services.Register(widget);
    ASSERT_TRUE(h);
    EXPECT_EQ(services.Register(widget), h);
    EXPECT_EQ(services.Widget(h), widget);

    EXPECT_TRUE(services.SetPropA(h, "qk_OptCount", 3));
    EXPECT_EQ(services.GetPropA(h, "QK_OPTCOUNT"), 3u);
    EXPECT_EQ(services.GetPropA(h, "qk_Obj1"), 0u);
    EXPECT_EQ(services.RemovePropA(h, "qk_optcount"), 3u);
    EXPECT_EQ(services.RemovePropA(h, "qk_optcount"), 0u);
    EXPECT_FALSE(services.SetPropA(win::HWND(0x1234), "x", 1));

    services.SetPropA(h, "qk_TimerID", 9);
    ASSERT_NE(services.SetTimer(h, 237, 1, RecordTick), 0u);
    EXPECT_EQ(services.TimerCount(), 1u);
    delete widget;
    EXPECT_EQ(services.PropertyCount(), 0u);
    EXPECT_EQ(services.TimerCount(), 0u);
    EXPECT_EQ(services.Widget(h), nullptr);
    EXPECT_EQ(services.GetPropA(h, "qk_TimerID"), 0u);
}

TEST(QtWindowServices, TimersCallTheirProcedureUntilKilled) {
    App();
    QtWindowServices services;
    QWidget widget;
    const win::HWND h = services.Register(&widget);
    g_ticks.clear();
    EXPECT_EQ(services.SetTimer(win::HWND(0x999), 1, 1, RecordTick), 0u);
    EXPECT_EQ(services.SetTimer(h, 237, 1, RecordTick), 237u);
    EXPECT_EQ(services.SetTimer(h, 237, 1, RecordTick), 237u);  // replaces, does not add
    EXPECT_EQ(services.TimerCount(), 1u);
    ASSERT_TRUE(WaitFor([] { return g_ticks.size() >= 2; }));
    EXPECT_EQ(g_ticks.front(), std::make_pair(h.value, std::uintptr_t{237}));
    EXPECT_TRUE(services.KillTimer(h, 237));
    EXPECT_FALSE(services.KillTimer(h, 237));

    g_ticks.clear();
    services.SetTimer(h, 5, 1, KillOnFirstTick);
    ASSERT_TRUE(WaitFor([] { return !g_ticks.empty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(g_ticks.size(), 1u);
    EXPECT_EQ(services.TimerCount(), 0u);
}

TEST(QtWindowServices, PostedArrowKeysReachTheContainer) {
    App();
    QtWindowServices services;
    KeyRecorder container;
    const win::HWND h = services.Register(&container);
    EXPECT_TRUE(services.PostMessageA(h, win::WM_KEYDOWN, win::VK_RIGHT, 0x014D0001));
    EXPECT_TRUE(services.PostMessageA(h, win::WM_KEYDOWN, win::VK_UP, 0x01480001));
    EXPECT_FALSE(services.PostMessageA(h, win::WM_TIMER, win::VK_UP, 0));
    EXPECT_FALSE(services.PostMessageA(h, win::WM_KEYDOWN, 0xE7, 0));
    EXPECT_FALSE(services.PostMessageA(win::HWND(0x999), win::WM_KEYDOWN, win::VK_UP, 0));
    ASSERT_TRUE(WaitFor([&] { return container.keys.size() == 2; }));
    EXPECT_EQ(container.keys, (std::vector<int>{Qt::Key_Right, Qt::Key_Up}));
}

TEST(QtWindowServices, VirtualKeysMapBothWays) {
    for (std::uintptr_t vk : {0x08u, 0x0Du, 0x10u, 0x1Bu, 0x20u, 0x21u, 0x22u, 0x23u, 0x24u, 0x25u, 0x28u, 0x2Du, 0x2Eu,
                              0x30u, 0x39u, 0x41u, 0x5Au, 0x70u, 0x7Bu, 0x87u, 0xBAu, 0xBCu, 0xBFu, 0xDEu}) {
        const int qtKey = QtKeyFromVirtualKey(vk);
        ASSERT_NE(qtKey, 0) << vk;
        EXPECT_EQ(static_cast<std::uintptr_t>(VirtualKeyFromQtKey(qtKey)), vk);
    }
    EXPECT_EQ(QtKeyFromVirtualKey(0xE7), 0);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F25), 0);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_unknown), 0);
}

TEST(DesktopScreen, TheDrawingLayerAnswersWithThePrimaryScreensSize) {
    App();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    ASSERT_NE(screen, QSize(1024, 768)) << "the test needs a screen unlike the default";
    FollowPrimaryScreen();
    const gdi::ScreenSize got = gdi::GetScreenSize();
    EXPECT_EQ(QSize(got.Width, got.Height), screen);
    gdi::SetScreenSize({});
}

// The next widget that Tab reaches, skipping the box's own inner widgets (viewport, scroll bars).
QWidget* NextTabStop(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && !from->isAncestorOf(w)) return w;
    }
    return nullptr;
}

TEST(FormWindow, PlacesControlsInPixelsAndFindsThemByName) {
    App();
    QtWindowServices services;
    FormWindow window(Describe(std::string(kButton) +
                               " Begin TextBox Text1\n  Left = 150\n  Top = 1500\n  Width = 3000\n  Height = 765\n"
                               "  TabIndex = 0\n  MultiLine = True\n  ScrollBars = 2\n  Text = \"a\\r\\nb\"\n End\n"
                               " Begin Frame Frame1\n  Left = 3000\n  Top = 0\n  Width = 1500\n  Height = 1500\n"
                               "  Begin Label Label1\n   Left = 150\n   Top = 150\n   Width = 900\n   Height = 225\n"
                               "   Caption = \"Olá\"\n  End\n End\n"
                               " Begin Image Hidden\n  Left = 0\n  Top = 0\n  Width = 150\n  Height = 150\n"
                               "  Visible = False\n End\n"
                               " Begin Line Line1\n  X1 = 0\n  Y1 = 2700\n  X2 = 4500\n  Y2 = 2700\n End\n"),
                      services);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Janela "));
    EXPECT_EQ(window.size(), QSize(300, 200));
    ASSERT_NE(window.Find("LIGAR"), nullptr);
    EXPECT_EQ(window.Find("ligar")->geometry(), QRect(10, 20, 145, 41));
    EXPECT_EQ(window.Find("Label1")->parentWidget(), window.Find("Frame1"));
    EXPECT_EQ(window.Find("Label1")->geometry(), QRect(10, 10, 60, 15));
    EXPECT_TRUE(window.Find("Hidden")->isHidden());
    EXPECT_EQ(window.Find("nothing"), nullptr);
    auto* text = qobject_cast<TextBox*>(window.Find("Text1"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text(), "a\r\nb");
    text->SetText("x\r\ny\r\n");
    EXPECT_EQ(text->Text(), "x\r\ny\r\n");
    // Tab order follows TabIndex, not the order of the description.
    EXPECT_EQ(NextTabStop(window.Find("Text1")), window.Find("ligar"));

    window.SetOuterWidth(11790);
    window.SetOuterHeight(8055);
    EXPECT_EQ(window.size(), QSize(776, 503));
    window.SetOuterWidth(6420);
    EXPECT_EQ(window.width(), 418);
}

// The one-button window the widget tests click on, with the clicks it has raised.
struct ButtonWindow {
    ButtonWindow() : window(Describe(kButton), services) {
        window.OnClick = [this](const std::string& name) { clicks.push_back(name); };
        window.show();
    }
    ButtonWidget* Button() { return qobject_cast<ButtonWidget*>(window.Find("ligar")); }
    QCoreApplication& app = App();
    QtWindowServices services;
    FormWindow window;
    std::vector<std::string> clicks;
};

TEST(ButtonWidget, PresentsTheFaceAndTurnsPointerAndKeysIntoClicks) {
    ButtonWindow w;
    ButtonWidget* button = w.Button();
    ASSERT_NE(button, nullptr);

    const QImage face = button->grab().toImage();
    // The face is shaded from its light green BackColor: most pixels are clearly green.
    int green = 0;
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            const QColor c = face.pixelColor(x, y);
            green += c.green() > c.red() + 40 && c.green() > c.blue() + 40;
        }
    }
    EXPECT_EQ(face.size(), QSize(145, 41));
    EXPECT_GT(green, face.width() * face.height() / 2);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(70, 20));
    EXPECT_EQ(w.clicks, std::vector<std::string>{"ligar"});
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(70, 20));
    EXPECT_EQ(w.clicks.size(), 1u);
    // Pressed on the button, released outside it: no click.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(70, 20));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(400, 20));
    EXPECT_EQ(w.clicks.size(), 1u);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(w.clicks.size(), 2u);
    EXPECT_EQ(button->Control().State().Input.StateFlags & buttons::HeldDown, 0);
}

// Records the mouse event types a widget receives.
class MouseEventLog final : public QObject {
public:
    std::vector<QEvent::Type> types;
    bool eventFilter(QObject*, QEvent* e) override {
        const QEvent::Type t = e->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick)
            types.push_back(t);
        return false;
    }
};

// A double click through the platform's event path (Qt pairs the presses itself) gives one Click.
TEST(ButtonWidget, DoubleClickGivesOneClick) {
    ButtonWindow w;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    ButtonWidget* button = w.Button();
    ASSERT_NE(button, nullptr);
    MouseEventLog log;
    button->installEventFilter(&log);

    QTest::mouseDClick(w.window.windowHandle(), Qt::LeftButton, {}, button->mapTo(&w.window, QPoint(70, 20)));
    EXPECT_EQ(log.types, (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}));
    EXPECT_EQ(w.clicks, std::vector<std::string>{"ligar"});
    // The next single click counts again.
    QTest::mouseClick(w.window.windowHandle(), Qt::LeftButton, {}, button->mapTo(&w.window, QPoint(70, 20)), 600);
    EXPECT_EQ(w.clicks.size(), 2u);
}

TEST(ButtonWidget, ShapesTheWindowAndSpeaksItsCaption) {
    App();
    QAccessible::installFactory(ButtonAccessibleFactory);
    QtWindowServices services;
    FormWindow window(Describe(" Begin Button oval\n  Left = 0\n  Top = 0\n  Width = 1500\n  Height = 600\n"
                               "  Caption = \"Fechar||&ajuda && sair\"\n  Shape = 4\n End\n" +
                               std::string(kButton)),
                      services);
    window.show();
    auto* oval = qobject_cast<ButtonWidget*>(window.Find("oval"));
    ASSERT_NE(oval, nullptr);
    EXPECT_FALSE(oval->mask().isEmpty());
    EXPECT_FALSE(oval->mask().contains(QPoint(0, 0)));  // a corner cut away
    EXPECT_TRUE(oval->mask().contains(QPoint(50, 20)));
    const QRegion square = qobject_cast<ButtonWidget*>(window.Find("ligar"))->mask();
    EXPECT_TRUE(square.isEmpty() || square.contains(QPoint(72, 20)));

    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(oval);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Fechar ajuda & sair"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.Find("ligar"))->text(QAccessible::Name),
              QStringLiteral("Ligar"));
}

TEST(ButtonWidget, AltAndTheMarkedLetterClicks) {
    ButtonWindow w;
    w.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    QTest::keyClick(&w.window, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(w.clicks, std::vector<std::string>{"ligar"});
    QTest::keyClick(&w.window, Qt::Key_X, Qt::AltModifier);  // no button is marked with x
    EXPECT_EQ(w.clicks.size(), 1u);
}

TEST(ButtonWidget, MousePointerCodesPickTheCursor) {
    App();
    QtWindowServices services;
    FormWindow window(Describe(" Begin Button custom\n  Width = 1500\n  Height = 600\n  mPointer = 99\n"
                               "  mIcon = Picture(\"art/ligar.ico\")\n End\n"
                               " Begin Button hand\n  Width = 1500\n  Height = 600\n  mPointer = 11\n End\n"
                               " Begin Button custom_without_icon\n  Width = 1500\n  Height = 600\n  mPointer = 99\n End\n"),
                      services);
    EXPECT_EQ(window.Find("custom")->cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(window.Find("custom")->cursor().pixmap().isNull());
    EXPECT_EQ(window.Find("hand")->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(window.Find("custom_without_icon")->cursor().shape(), Qt::ArrowCursor);
    // The codes no host accepts end the load, as the headless host's refusal does.
    EXPECT_THROW(FormWindow(Describe(" Begin Button b\n  mPointer = 42\n End\n"), services), forms::FormatError);
}

}  // namespace
}  // namespace hosts::qt
#endif
