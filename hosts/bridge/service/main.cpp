// dizo-wine-echolink: owns EchoLink's name on the session bus for an EchoLink that runs under Wine,
// and carries every call and event through the bridge in EchoLink's prefix. Ends, releasing the
// name, when the bridge goes.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDateTime>
#include <QSocketNotifier>
#include <QTcpSocket>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hosts/bridge/Secret.h"
#include "hosts/bridge/service/WineStation.h"

namespace {

constexpr char kUsage[] =
    "usage: dizo-wine-echolink --port N --secret FILE [--bound MS]\n"
    "Connects to dizo-echolink-bridge.exe on 127.0.0.1:N, proves the secret in FILE (64 hex digits,\n"
    "readable by you alone) and owns org.dizochat.EchoLink on the session bus until the bridge goes.\n"
    "Each call is given up after MS milliseconds (default 1600; the program's own bound is 2000).\n";

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

void Report(const std::string& text) {
    const std::string line = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")).toStdString() +
                             " dizo-wine-echolink: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// The secret, only from a file no one else may read: anyone who could read it could key the radio.
std::optional<std::string> ReadSecret(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        Report("error: cannot read the secret file " + path);
        return std::nullopt;
    }
    if (info.st_uid != ::getuid() || (info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        Report("error: the secret file " + path + " must be yours and readable by you alone (chmod 600)");
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    auto secret = hosts::bridge::ParseSecret(text.str());
    if (!secret) Report("error: the secret file " + path + " does not hold 64 hexadecimal digits");
    return secret;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int port = 0;
    int boundMs = 1600;
    std::string secretPath;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 < argc && (a == "--port" || a == "--bound")) {
            (a == "--port" ? port : boundMs) = std::atoi(argv[++i]);
        } else if (i + 1 < argc && a == "--secret") {
            secretPath = argv[++i];
        } else {
            std::fputs(kUsage, a == "--help" ? stdout : stderr);
            return a == "--help" ? 0 : 2;
        }
    }
    if (port <= 0 || port > 65535 || secretPath.empty() || boundMs <= 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const auto secret = ReadSecret(secretPath);
    if (!secret) return 2;

    auto* socket = new QTcpSocket;
    // Loopback only: the bridge listens on nothing else.
    socket->connectToHost(QHostAddress(QHostAddress::LocalHost), static_cast<quint16>(port));
    if (!socket->waitForConnected(2000)) {
        Report("error: no bridge on 127.0.0.1:" + std::to_string(port));
        delete socket;
        return 1;
    }
    hosts::bridge::WineStation station(QDBusConnection::sessionBus(), socket, *secret,
                                       std::chrono::milliseconds(boundMs), Report);
    if (!station.Start(std::chrono::milliseconds(5000))) return 1;
    station.OnEnded([&app] { app.quit(); });

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    }
    app.exec();
    return station.ClosedByEchoLink() ? 0 : 1;
}
