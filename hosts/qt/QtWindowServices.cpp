#include "hosts/qt/QtWindowServices.h"

#include "hosts/qt/KeyCodes.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>

#include <algorithm>

namespace hosts::qt {

QtWindowServices::QtWindowServices() { clock_.start(); }

QtWindowServices::~QtWindowServices() {
    for (auto& [key, timer] : timers_) delete timer;
}

win::HWND QtWindowServices::Register(QWidget* widget) {
    if (widget == nullptr) return {};
    if (auto it = handles_.find(widget); it != handles_.end()) return win::HWND(it->second);
    const std::uintptr_t h = next_++;
    widgets_[h] = widget;
    handles_[widget] = h;
    connect(widget, &QObject::destroyed, this, [this, h, widget] {
        handles_.erase(widget);
        Forget(h);
    });
    return win::HWND(h);
}

QWidget* QtWindowServices::Widget(win::HWND hwnd) const {
    const auto it = widgets_.find(hwnd.value);
    return it == widgets_.end() ? nullptr : it->second.data();
}

win::HWND QtWindowServices::Handle(const QWidget* widget) const {
    const auto it = handles_.find(widget);
    return it == handles_.end() ? win::HWND() : win::HWND(it->second);
}

// A destroyed window leaves no timer and no property behind.
void QtWindowServices::Forget(std::uintptr_t hwnd) {
    widgets_.erase(hwnd);
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first == hwnd) {
            it->second->stop();
            it->second->deleteLater();
            it = timers_.erase(it);
        } else {
            ++it;
        }
    }
    props_.erase(hwnd);
    if (capture_.value == hwnd) capture_ = {};
}

win::HWND QtWindowServices::SetCapture(win::HWND hwnd) {
    const win::HWND previous = capture_;
    QWidget* w = Widget(hwnd);
    if (w == nullptr) return previous;
    if (QWidget* old = Widget(previous); old != nullptr && old != w) old->releaseMouse();
    w->grabMouse();
    capture_ = hwnd;
    return previous;
}

bool QtWindowServices::ReleaseCapture() {
    if (QWidget* w = Widget(capture_)) w->releaseMouse();
    capture_ = {};
    return true;
}

bool QtWindowServices::PostMessageA(win::HWND hwnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
    QWidget* w = Widget(hwnd);
    if (w == nullptr || message != win::WM_KEYDOWN) return false;
    const int key = QtKeyFromVirtualKey(wParam);
    if (key == 0) return false;
    QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    return true;
}

bool QtWindowServices::GetCursorPos(gdi::POINT* point) {
    if (point == nullptr) return false;
    const QPoint p = QCursor::pos();
    point->x = p.x();
    point->y = p.y();
    return true;
}

bool QtWindowServices::ScreenToClient(win::HWND hwnd, gdi::POINT* point) {
    QWidget* w = Widget(hwnd);
    if (w == nullptr || point == nullptr) return false;
    const QPoint p = w->mapFromGlobal(QPoint(point->x, point->y));
    point->x = p.x();
    point->y = p.y();
    return true;
}

win::HWND QtWindowServices::WindowFromPoint(gdi::POINT point) {
    // The innermost widget of ours under the point; a shaped button's cut-away corners belong to
    // what lies beneath, as on the platform (widgetAt honours masks).
    for (QWidget* w = QApplication::widgetAt(QPoint(point.x, point.y)); w != nullptr; w = w->parentWidget()) {
        if (const win::HWND h = Handle(w)) return h;
    }
    return {};
}

std::uintptr_t QtWindowServices::SetTimer(win::HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                                          win::TIMERPROC proc) {
    if (Widget(hwnd) == nullptr || proc == nullptr) return 0;
    KillTimer(hwnd, id);
    auto* timer = new QTimer(this);
    timer->setInterval(static_cast<int>(std::max<std::uint32_t>(elapseMs, 1)));
    const std::uintptr_t h = hwnd.value;
    connect(timer, &QTimer::timeout, this, [this, h, id, proc] {
        proc(*this, win::HWND(h), win::WM_TIMER, id, static_cast<std::uint32_t>(clock_.elapsed()));
    });
    timers_[{hwnd.value, id}] = timer;
    timer->start();
    return id == 0 ? 1 : id;
}

bool QtWindowServices::KillTimer(win::HWND hwnd, std::uintptr_t id) {
    const auto it = timers_.find({hwnd.value, id});
    if (it == timers_.end()) return false;
    // The callback may be killing its own timer: delete it once the signal has returned.
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
    return true;
}

win::PropertyList* QtWindowServices::PropertiesOf(win::HWND hwnd) {
    return Widget(hwnd) == nullptr ? nullptr : &props_[hwnd.value];
}

std::size_t QtWindowServices::PropertyCount() const {
    std::size_t count = 0;
    for (const auto& [hwnd, list] : props_) count += list.Size();
    return count;
}

}  // namespace hosts::qt
