// Our button beside the Qt widget a user would pick instead: QPushButton::render of the same size,
// caption and icon; and what the Qt host adds, from presenting the buffer to a hover's repaint.
#include <benchmark/benchmark.h>

#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStyleFactory>
#include <QWindow>

#include "QtBenchApp.h"
#include "buttons/Input.h"
#include "buttons/qkButtons_H.h"
#include "forms/Description.h"
#include "hosts/qt/ButtonWidget.h"
#include "hosts/qt/FormWindow.h"
#include "hosts/qt/QtWindowServices.h"

namespace {

// The icon of the gdi benchmarks: a green 32-pixel square inside a 2-pixel transparent border.
QIcon GreenIcon32() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 2; y < 30; ++y)
        for (int x = 2; x < 30; ++x) image.setPixel(x, y, qRgb(0, 0xC0, 0));
    return QIcon(QPixmap::fromImage(image));
}

// `ligar` as a QPushButton: 145 x 41, bold 15.75 pt Times New Roman, the fusion style.
void BM_QPushButtonRender(benchmark::State& state) {
    App();
    QPushButton button("Ligar ");
    button.setStyle(QStyleFactory::create("fusion"));
    QFont font("Times New Roman");
    font.setPointSizeF(15.75);
    font.setBold(true);
    button.setFont(font);
    if (state.range(0) != 0) {
        button.setIcon(GreenIcon32());
        button.setIconSize(QSize(32, 32));
    }
    button.resize(145, 41);
    QImage image(145, 41, QImage::Format_RGB32);
    for (auto _ : state) {
        button.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QPushButtonRender)->ArgName("icon")->Arg(0)->Arg(1);

struct MainWindow {
    MainWindow() : window(forms::LoadDescription(kMainWindow), services) {
        window.show();
        // Until the window is exposed a repaint paints nothing.
        for (int i = 0; i < 20 && !window.windowHandle()->isExposed(); ++i) QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        ligar = static_cast<hosts::qt::ButtonWidget*>(window.Find("ligar"));
    }
    hosts::qt::QtWindowServices services;
    hosts::qt::FormWindow window;
    hosts::qt::ButtonWidget* ligar = nullptr;
};

// One redraw of `ligar` in the shown main window and its present: the control's Refresh (the
// paint, the copy and RefreshNow's repaint, whose paint event finds the face drawn), its buffer
// shown through a QImage view (no copy) and the backing store's flush.
void BM_QtButtonRepaint(benchmark::State& state) {
    App();
    MainWindow w;
    for (auto _ : state) w.ligar->Control().Refresh();
}
BENCHMARK(BM_QtButtonRepaint);

// The present path alone: the buffer the control has drawn shown again (RefreshNow's repaint,
// whose Paint finds the frame already drawn): the QImage view over the buffer's memory, drawImage
// into the backing store and its flush.
void BM_QtButtonPresent(benchmark::State& state) {
    App();
    MainWindow w;
    for (auto _ : state) w.ligar->RefreshNow();
}
BENCHMARK(BM_QtButtonPresent);

// The pointer onto `ligar` (a mouse move, which lights it and repaints at once) and away (the
// hover timer's tick finds it elsewhere and repaints).
struct Hover {
    explicit Hover(MainWindow& w)
        : w(w), inside(w.ligar->mapToGlobal(QPoint(20, 20))), outside(w.window.mapToGlobal(QPoint(-50, -50))) {}
    void Enter() {
        QCursor::setPos(inside);
        QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), QPointF(inside), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(w.ligar, &move);
    }
    void Leave() {
        QCursor::setPos(outside);
        w.ligar->Control().Input().HoverTick(0);
    }
    MainWindow& w;
    QPoint inside, outside;
};

// Hovers in the shown main window; the leave that puts the button back is timed only with `timeLeave`.
void HoverRuns(benchmark::State& state, bool timeLeave) {
    App();
    MainWindow w;
    Hover hover(w);
    for (auto _ : state) {
        hover.Enter();
        if (!timeLeave) state.PauseTiming();
        hover.Leave();
        if (!timeLeave) state.ResumeTiming();
    }
    state.SetLabel(QGuiApplication::platformName().toStdString());
}

// A hover's enter alone, from the mouse move to the lit face handed to the window system. Real
// time, since under Xvfb the X connection's work is part of the latency.
void BM_QtHoverEnter(benchmark::State& state) { HoverRuns(state, false); }
BENCHMARK(BM_QtHoverEnter)->UseRealTime();

// Two state changes shown on screen: the enter and the leave.
void BM_QtHoverEnterAndLeave(benchmark::State& state) { HoverRuns(state, true); }
BENCHMARK(BM_QtHoverEnterAndLeave);

}  // namespace
