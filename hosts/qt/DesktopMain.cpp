#include "hosts/qt/DesktopMain.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>

#include <cstdio>
#include <exception>
#include <optional>

#include "hosts/dbus/BusNames.h"
#include "hosts/qt/ButtonAccessible.h"
#include "hosts/qt/DesktopColours.h"
#include "hosts/qt/DesktopScreen.h"
#include "hosts/qt/EndSignals.h"
#include "hosts/qt/FontSubstitutes.h"
#include "hosts/qt/InstalledFiles.h"
#include "hosts/qt/Program.h"
#include "hosts/qt/SingleCopy.h"

namespace hosts::qt {

int RunDesktopProgram(int argc, char** argv, const DesktopOptions& options) {
    // Before any thread exists: only the signals' own thread takes them.
    EndSignals::BlockInThisThread();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dizo-chat"));
    // The program ends when Form1 unloads, not when its last window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);
    ApplyDesktopColours(QApplication::palette());
    FollowPrimaryScreen();
    InstallFontSubstitutes();
    QAccessible::installFactory(ButtonAccessibleFactory);

    const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::optional<ProgramFiles> files = LocateProgramFiles(programFolder, options.dataFromProgram);
    if (!files) {
        std::fprintf(stderr, "dizo-chat: %s\n", MissingFilesMessage(programFolder, options.dataFromProgram).c_str());
        return 1;
    }
    try {
        if (!SingleCopy::Claim(QDBusConnection::sessionBus(), hosts::dbus::DefaultCallTimeoutMs)) {
            std::fprintf(stderr, "dizo-chat: already running on this desktop; that copy was brought to the front\n");
            return 0;
        }
        Program program(*files, QDBusConnection::sessionBus(),
                        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("dizo-chat-guard")),
                        hosts::dbus::DefaultCallTimeoutMs, options.transmitLimit);
        return program.Run();
    } catch (const std::exception& e) {
        // A broken installation is the one failure worth telling the operator about.
        std::fprintf(stderr, "dizo-chat: %s\n", e.what());
        return 1;
    }
}

}  // namespace hosts::qt
