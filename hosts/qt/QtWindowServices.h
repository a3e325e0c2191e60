// The window services the button control calls, over Qt widgets: capture, posted keys, the cursor,
// timers and named window properties. Owns the handle table, the timers and the properties;
// widgets stay owned by their windows, and a destroyed widget takes its timers and properties with it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <QElapsedTimer>
#include <QTimer>
#include <map>
#include <string>
#include <utility>

#include "win/PropertyList.h"
#include "win/PropertyListServices.h"

namespace hosts::qt {

class QtWindowServices final : public QObject, public win::PropertyListServices {
    Q_OBJECT
public:
    QtWindowServices();
    ~QtWindowServices() override;

    // Gives the widget a window handle (once; later calls return the same one).
    win::HWND Register(QWidget* widget);
    QWidget* Widget(win::HWND hwnd) const;
    win::HWND Handle(const QWidget* widget) const;

    win::HWND SetCapture(win::HWND hwnd) override;
    bool ReleaseCapture() override;
    bool PostMessageA(win::HWND hwnd, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool GetCursorPos(gdi::POINT* point) override;
    bool ScreenToClient(win::HWND hwnd, gdi::POINT* point) override;
    win::HWND WindowFromPoint(gdi::POINT point) override;
    std::uintptr_t SetTimer(win::HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs, win::TIMERPROC proc) override;
    bool KillTimer(win::HWND hwnd, std::uintptr_t id) override;

    std::size_t TimerCount() const { return timers_.size(); }
    std::size_t PropertyCount() const;

private:
    win::PropertyList* PropertiesOf(win::HWND hwnd) override;
    void Forget(std::uintptr_t hwnd);

    std::uintptr_t next_ = 0x10000;
    std::map<std::uintptr_t, QPointer<QWidget>> widgets_;
    std::map<const QWidget*, std::uintptr_t> handles_;
    std::map<std::pair<std::uintptr_t, std::uintptr_t>, QTimer*> timers_;
    std::map<std::uintptr_t, win::PropertyList> props_;
    win::HWND capture_;
    QElapsedTimer clock_;
};

}  // namespace hosts::qt
