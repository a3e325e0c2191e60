// The Qt host's costs: building and first painting the main window against a bare Qt window of
// the same size, and the window services one hover tick of a button calls. Offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include <filesystem>

#include "QtBenchApp.h"
#include "forms/Description.h"
#include "hosts/qt/FormWindow.h"
#include "hosts/qt/QtWindowServices.h"

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_hosts";
    static char* argv[] = {name, nullptr};
    // Offscreen unless the caller picks a platform (the report runs the hover figure under Xvfb).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own globals may already be gone.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

const std::filesystem::path kMainWindow = std::filesystem::path(DIZO_SOURCE_DIR) / "relay" / "forms" / "Form1.frm";

namespace {

void BM_BareWindowFirstPaint(benchmark::State& state) {
    App();
    for (auto _ : state) {
        QWidget window;
        window.resize(418, 503);
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_BareWindowFirstPaint)->Unit(benchmark::kMillisecond);

void BM_MainWindowFirstPaint(benchmark::State& state) {
    App();
    hosts::qt::QtWindowServices services;
    for (auto _ : state) {
        hosts::qt::FormWindow window(forms::LoadDescription(kMainWindow), services);
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_MainWindowFirstPaint)->Unit(benchmark::kMillisecond);

// What the 50 ms poll asks of the host each tick: the cursor, the point in the button's
// coordinates and the window under it.
void BM_HoverTickServices(benchmark::State& state) {
    App();
    hosts::qt::QtWindowServices services;
    hosts::qt::FormWindow window(forms::LoadDescription(kMainWindow), services);
    window.show();
    const win::HWND button = services.Handle(window.Find("ligar"));
    for (auto _ : state) {
        gdi::POINT p{};
        services.GetCursorPos(&p);
        const win::HWND under = services.WindowFromPoint(p);
        services.ScreenToClient(button, &p);
        benchmark::DoNotOptimize(under == button);
    }
}
BENCHMARK(BM_HoverTickServices);

}  // namespace
