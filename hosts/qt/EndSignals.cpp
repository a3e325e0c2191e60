#include "hosts/qt/EndSignals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <thread>

namespace hosts::qt {

namespace {

sigset_t EndSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

constexpr timespec kPoll{0, 200'000'000};

}  // namespace

struct EndSignals::Shared {
    std::function<void(int)> onSignal;
    std::atomic<bool> stopping{false};
};

void EndSignals::BlockInThisThread() {
    const sigset_t set = EndSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

EndSignals::EndSignals(std::function<void(int)> onSignal) : shared_(std::make_shared<Shared>()) {
    shared_->onSignal = std::move(onSignal);
    std::thread([s = shared_] {
        const sigset_t set = EndSet();
        int signal = -1;
        while (!s->stopping.load()) {
            signal = sigtimedwait(&set, nullptr, &kPoll);
            if (signal > 0) break;
        }
        if (signal <= 0 || s->stopping.load()) return;
        s->onSignal(signal);
        // The window's thread ends the program once it is free; should it never be, nothing is
        // keyed any more (the guard has seen to that), so the process may go without it.
        const auto end = std::chrono::steady_clock::now() + kEndBound;
        while (!s->stopping.load() && std::chrono::steady_clock::now() < end) {
            const timespec slice{0, 50'000'000};
            nanosleep(&slice, nullptr);
        }
        if (!s->stopping.load()) _exit(128 + signal);
    }).detach();
}

EndSignals::~EndSignals() { shared_->stopping.store(true); }

}  // namespace hosts::qt
