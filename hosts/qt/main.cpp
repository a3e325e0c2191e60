// dizo-chat: the Linux desktop program. Its windows come from the stored descriptions found from
// the program's own folder (installed or in the build tree); EchoLink is the station on the session bus.
#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>

#include "hosts/dbus/BusNames.h"
#include "hosts/qt/ButtonAccessible.h"
#include "hosts/qt/DesktopColours.h"
#include "hosts/qt/DesktopScreen.h"
#include "hosts/qt/FontSubstitutes.h"
#include "hosts/qt/InstalledFiles.h"
#include "hosts/qt/Program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dizo-chat"));
    // The program ends when Form1 unloads, not when its last window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);
    hosts::qt::ApplyDesktopColours(QApplication::palette());
    hosts::qt::FollowPrimaryScreen();
    hosts::qt::InstallFontSubstitutes();
    QAccessible::installFactory(hosts::qt::ButtonAccessibleFactory);

    const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::optional<hosts::qt::ProgramFiles> files =
        hosts::qt::LocateProgramFiles(programFolder, DIZO_DATA_FROM_PROGRAM);
    if (!files) {
        std::fprintf(stderr, "dizo-chat: %s\n",
                     hosts::qt::MissingFilesMessage(programFolder, DIZO_DATA_FROM_PROGRAM).c_str());
        return 1;
    }
    try {
        hosts::qt::Program program(*files, QDBusConnection::sessionBus(), hosts::dbus::DefaultCallTimeoutMs);
        return program.Run();
    } catch (const std::exception& e) {
        // A broken installation is the one failure worth telling the operator about.
        std::fprintf(stderr, "dizo-chat: %s\n", e.what());
        return 1;
    }
}
