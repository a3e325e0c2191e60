#include "hosts/qt/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>
#include <QUrl>

#include "forms/Description.h"
#include "hosts/qt/EndSignals.h"
#include "hosts/qt/FormWindow.h"
#include "hosts/qt/SingleCopy.h"
#include "hosts/speech/PulseSink.h"
#include "relay/AboutWindow.h"
#include "relay/Form1.h"

namespace hosts::qt {

Program::Program(const ProgramFiles& files, QDBusConnection bus, QDBusConnection guardBus, int callTimeoutMs,
                 std::chrono::milliseconds transmitLimit)
    : files_(files),
      echoLink_(bus, callTimeoutMs),
      log_(std::make_unique<relay::StandardErrorLog>()),
      guardLine_(std::move(guardBus), callTimeoutMs),
      guard_(guardTimer_, relay::GuardActions{[this] { return guardLine_.Unkey(); }, [] { hosts::speech::CutAllAudio(); },
                                              &log_}) {
    echoLink_.onBound = [this](const QString& owner) { guardLine_.Bind(owner); };
    main_ = std::make_unique<FormWindow>(forms::LoadDescription(files_.mainWindow), windows_);
    form1_ = std::make_unique<relay::Form1>(
        relay::Form1Services{echoLink_, *this, speech_, pause_, *this, &log_, transmitLimit, &guard_});
    main_->OnClick = [this](const std::string& name) { form1_->Click(name); };
    main_->OnCloseBox = [this] { form1_->CloseBox(); };
    singleCopy_ = std::make_unique<SingleCopy>(std::move(bus), [this] {
        if (main_ == nullptr || ending_) return;
        main_->showNormal();
        main_->raise();
        main_->activateWindow();
    });
}

Program::~Program() {
    signals_.reset();
    singleCopy_.reset();
    form1_.reset();  // drops oEchoLink and its signal subscriptions before the windows go
    main_.reset();
}

int Program::Run() {
    signals_ = std::make_unique<EndSignals>([this](int signal) { EndOnSignal(signal); });
    form1_->Load();
    if (ending_) return 0;
    // Dropped chat lines are told once the window's thread is free again, that is once their run has ended.
    auto* notices = new QTimer(main_.get());
    QObject::connect(notices, &QTimer::timeout, main_.get(), [this] { form1_->FlushNotices(); });
    notices->start(1000);
    main_->show();
    return QCoreApplication::exec();
}

void Program::EndOnSignal(int signal) {
    form1_->AskToEnd();
    const std::string why = std::string("told to end by signal ") + std::to_string(signal) + ": unkeyed";
    guard_.Trip(why);
    hosts::speech::CutAllAudio();
    QMetaObject::invokeMethod(main_.get(), [this] { form1_->CloseBox(); }, Qt::QueuedConnection);
}

bool Program::ShowModal(relay::Window window) {
    if (window != relay::Window::Sobre || about_ != nullptr || ending_) return false;
    std::unique_ptr<FormWindow> about;
    try {
        about = std::make_unique<FormWindow>(forms::LoadDescription(files_.aboutWindow), windows_);
    } catch (const std::exception&) {
        return false;  // a failure to show the About window is ignored by the caller
    }
    relay::AboutWindow logic(*this, *this);
    about->OnClick = [&logic](const std::string& name) { logic.Click(name); };
    about->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(about.get(), &FormWindow::Closed, &loop, &QEventLoop::quit);
    about_ = about.get();
    about->show();
    // No owner: Qt gives a modal window the active one as its parent window, whose closing would
    // close it too.
    if (QWindow* native = about->windowHandle()) native->setTransientParent(nullptr);
    loop.exec();
    about_ = nullptr;
    if (ending_) QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    return true;
}

void Program::Unload(relay::Window window) {
    if (window == relay::Window::Sobre) {
        // Closed after the Click handler has returned, never from inside it.
        if (about_ != nullptr) QTimer::singleShot(0, about_, [a = about_] { a->CloseQuietly(); });
        return;
    }
    if (ending_) return;
    ending_ = true;
    // The program ends once no window is left: an About window up stays until it is closed.
    QTimer::singleShot(0, main_.get(), [this] {
        main_->CloseQuietly();
        if (about_ == nullptr) QCoreApplication::exit(0);
    });
}

void Program::EndNow() {
    // No exit steps, no announcement: the event loops stop as soon as this handler returns.
    ending_ = true;
    QCoreApplication::exit(0);
}

std::intptr_t Program::Open(const relay::ShellOpenRequest& request) {
    if (request.verb != "open") return 2;  // SE_ERR_FILENOTFOUND, as the shell answers an unknown verb
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(request.file));
    return url.isValid() && QDesktopServices::openUrl(url) ? 42 : 2;
}

relay::NamedControls* Program::MainControls() const { return main_.get(); }

}  // namespace hosts::qt
