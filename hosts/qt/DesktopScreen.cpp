#include "hosts/qt/DesktopScreen.h"

#include <QGuiApplication>
#include <QScreen>

#include "gdi/Screen.h"

namespace hosts::qt {

namespace {

void Apply(const QScreen* screen) {
    if (screen != nullptr) gdi::SetScreenSize({screen->size().width(), screen->size().height()});
}

void Watch(QScreen* screen) {
    Apply(screen);
    if (screen == nullptr) return;
    QObject::connect(screen, &QScreen::geometryChanged, screen, [screen] {
        if (screen == QGuiApplication::primaryScreen()) Apply(screen);
    }, Qt::UniqueConnection);
}

}  // namespace

void FollowPrimaryScreen() {
    Watch(QGuiApplication::primaryScreen());
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, qGuiApp, &Watch);
}

}  // namespace hosts::qt
