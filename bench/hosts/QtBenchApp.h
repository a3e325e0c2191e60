// The one QApplication of the Qt benchmarks and the main window's description they load.
// Offscreen unless QT_QPA_PLATFORM names another platform.
#pragma once

#include <QApplication>

#include <filesystem>

QApplication& App();
extern const std::filesystem::path kMainWindow;
