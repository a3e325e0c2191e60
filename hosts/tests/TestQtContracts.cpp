// The window services and button host contracts for the Qt host, on Qt's offscreen platform.
#if defined(DIZO_HAVE_QTHOST)
#include <QWidget>

#include <map>
#include <memory>

#include "buttons/testing/ButtonHostContract.h"
#include "forms/PropertyBag.h"
#include "hosts/qt/ButtonWidget.h"
#include "hosts/qt/QtWindowServices.h"
#include "hosts/tests/BusFixture.h"
#include "win/testing/WindowServicesContract.h"

namespace {

struct QtWindowsWorld {
    QtWindowsWorld() { hosts::testing::App(); }
    win::WindowServices& Services() { return services; }
    win::HWND NewWindow() {
        auto widget = std::make_unique<QWidget>();
        const win::HWND hwnd = services.Register(widget.get());
        widgets[hwnd.value] = std::move(widget);
        return hwnd;
    }
    void Destroy(win::HWND hwnd) { widgets.erase(hwnd.value); }

    hosts::qt::QtWindowServices services;
    std::map<std::uintptr_t, std::unique_ptr<QWidget>> widgets;  // destroyed before the services
};

struct QtButtonWorld {
    QtButtonWorld(int width, int height)
        : app((hosts::testing::App(), 0)),  // the application exists before the first widget
          button(&parent, services, "contract", forms::PropertyBag{}, buttons::SysButtonFace, QSize(width, height)) {}
    buttons::ButtonHost& Host() { return button; }

    int app;
    hosts::qt::QtWindowServices services;
    QWidget parent;
    hosts::qt::ButtonWidget button;
};

}  // namespace

namespace win::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, WindowServicesContract, QtWindowsWorld);
}  // namespace win::testing
namespace buttons::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, ButtonHostContract, QtButtonWorld);
}  // namespace buttons::testing
#endif
