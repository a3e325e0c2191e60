// dizo-station-sim: plays EchoLink's side on the session bus. Lines typed on standard input become
// chat lines; every call the program makes is printed with a time stamp.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDateTime>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "hosts/simulator/ChatLine.h"
#include "hosts/simulator/StationService.h"

namespace {

constexpr char Usage[] =
    "usage: dizo-station-sim [--sender NAME] [--log FILE]\n"
    "Owns EchoLink's name on the session bus. Type chat lines (a line ending in '=' is spoken,\n"
    "'>' is sent as Morse, 'fdp' ends the program). Commands:\n"
    "  /raw TEXT    send TEXT as the chat line, exactly\n"
    "  /closing     emit Closing and stay      /quit  emit Closing, answer 1 s more, end\n"
    "                                         (also Ctrl-D, Ctrl-C)\n"
    "  /hang MS     hold each reply MS ms      /fail on|off  answer calls with an error\n"
    "  /fail N      answer only the N-th call from now with an error\n"
    "  /flood N RATE TEXT  send N chat lines at RATE a second, each '#' in TEXT the line's number\n"
    "  //text       a chat line starting with '/'\n";

constexpr int ClosingGraceMs = 1000;

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

class Printer {
public:
    explicit Printer(const std::string& logPath) {
        if (!logPath.empty()) log_.open(logPath, std::ios::app);
    }
    bool logOk() const { return !log_.is_open() || log_.good(); }
    void operator()(const std::string& text) {
        const std::string line =
            QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")).toStdString() + " " + text + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
        // The log file is for scripts that measure durations: a monotonic stamp in milliseconds,
        // which neither midnight nor a clock adjustment moves.
        if (log_.is_open()) {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch());
            log_ << ms.count() << ' ' << text << '\n' << std::flush;
        }
    }

private:
    std::ofstream log_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::string sender = "QD4RV";
    std::string logPath;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--sender" || a == "--log") && i + 1 < argc) {
            (a == "--sender" ? sender : logPath) = argv[++i];
        } else {
            std::fputs(Usage, a == "--help" ? stdout : stderr);
            return a == "--help" ? 0 : 2;
        }
    }

    Printer print(logPath);
    if (!print.logOk()) {
        std::fprintf(stderr, "dizo-station-sim: cannot write %s\n", logPath.c_str());
        return 2;
    }
    hosts::sim::StationService station(QDBusConnection::sessionBus(), [&print](const std::string& t) { print(t); });
    if (!station.Start()) return 1;
    std::fputs("Type chat lines; /help lists the commands.\n", stdout);
    std::fflush(stdout);

    bool ending = false;
    auto quit = [&](bool closing) {
        if (ending) return;
        ending = true;
        if (!closing) {
            app.quit();
            return;
        }
        station.EmitClosing();
        // EchoLink still takes calls while it closes: the program's farewell line arrives after Closing.
        QTimer::singleShot(ClosingGraceMs, &app, &QCoreApplication::quit);
    };

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        auto* sigNotifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(sigNotifier, &QSocketNotifier::activated, [&] { quit(true); });
    }

    // Lines leave in 1 ms ticks, so the rate holds without one burst per second.
    auto flood = [&](const hosts::sim::Command& cmd) {
        print("flood: " + std::to_string(cmd.number) + " lines at " + std::to_string(cmd.rate) + " a second");
        auto* timer = new QTimer(&app);
        timer->setTimerType(Qt::PreciseTimer);
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        auto sent = std::make_shared<std::int64_t>(0);
        QObject::connect(timer, &QTimer::timeout, [&, cmd, timer, started, sent] {
            const std::int64_t due = std::min<std::int64_t>(cmd.number, started->elapsed() * cmd.rate / 1000 + 1);
            while (*sent < due && !ending) station.EmitChatText(hosts::sim::FloodLine(cmd.text, ++*sent, sender));
            if (*sent >= cmd.number || ending) {
                print("flood: done, " + std::to_string(*sent) + " lines in " + std::to_string(started->elapsed()) +
                      " ms");
                timer->deleteLater();
                timer->stop();
            }
        });
        timer->start(1);
    };

    std::string pending;
    auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(input, &QSocketNotifier::activated, [&] {
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {  // end of input: the station closes, as EchoLink does when it quits
            input->setEnabled(false);
            quit(true);
            return;
        }
        pending.append(buf, static_cast<std::size_t>(n));
        std::size_t eol;
        while (!ending && (eol = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, eol);
            pending.erase(0, eol + 1);
            using hosts::sim::CommandKind;
            const auto cmd = hosts::sim::ParseCommand(line, sender);
            switch (cmd.kind) {
            case CommandKind::ChatLine:
            case CommandKind::Raw: station.EmitChatText(cmd.text); break;
            case CommandKind::Quit: quit(true); break;
            case CommandKind::Closing: station.EmitClosing(); break;
            case CommandKind::Hang:
                station.SetReplyDelay(static_cast<int>(cmd.number));
                print("hang: replies held " + std::to_string(cmd.number) + " ms");
                break;
            case CommandKind::Fail:
                station.SetFailing(cmd.number != 0);
                print(cmd.number != 0 ? "fail: on" : "fail: off");
                break;
            case CommandKind::FailCall:
                station.FailCall(static_cast<int>(cmd.number));
                print("fail: call " + std::to_string(cmd.number) + " from now");
                break;
            case CommandKind::Flood: flood(cmd); break;
            case CommandKind::Help: std::fputs(Usage, stdout); std::fflush(stdout); break;
            case CommandKind::Unknown: print("unknown command: " + cmd.text + " (/help)"); break;
            case CommandKind::Ignore: break;
            }
        }
    });

    return app.exec();
}
