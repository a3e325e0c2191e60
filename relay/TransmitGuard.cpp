#include "relay/TransmitGuard.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "relay/Pause.h"
#include "relay/Steps.h"

namespace relay {

// ---- ThreadGuardTimer ------------------------------------------------------------------------

struct ThreadGuardTimer::Shared {
    std::mutex m;
    std::condition_variable cv;
    std::optional<std::chrono::milliseconds> deadline;
    std::function<void()> due;
    bool running = false;  // a `due` is being called
    bool stopping = false;
    std::thread::id thread;
};

namespace {

void RunAlarms(const std::shared_ptr<ThreadGuardTimer::Shared>& s) {
    std::unique_lock lock(s->m);
    s->thread = std::this_thread::get_id();
    for (;;) {
        if (s->stopping) return;
        if (!s->deadline) {
            s->cv.wait(lock);
            continue;
        }
        const std::chrono::steady_clock::time_point at{*s->deadline};
        if (std::chrono::steady_clock::now() < at) {
            s->cv.wait_until(lock, at);
            continue;  // the alarm may have been moved or cancelled meanwhile
        }
        std::function<void()> due = std::move(s->due);
        s->due = nullptr;
        s->deadline.reset();
        s->running = true;
        lock.unlock();
        TryStep(due);
        lock.lock();
        s->running = false;
        s->cv.notify_all();
    }
}

}  // namespace

ThreadGuardTimer::ThreadGuardTimer() : shared_(std::make_shared<Shared>()) {
    std::thread([s = shared_] { RunAlarms(s); }).detach();
}

ThreadGuardTimer::~ThreadGuardTimer() {
    Cancel();
    std::lock_guard lock(shared_->m);
    shared_->stopping = true;
    shared_->cv.notify_all();
    // The thread holds the shared state itself, so it may wake after this object has gone.
}

std::chrono::milliseconds ThreadGuardTimer::Now() { return SteadyNow(); }

void ThreadGuardTimer::Set(std::chrono::milliseconds deadline, std::function<void()> due) {
    std::lock_guard lock(shared_->m);
    shared_->deadline = deadline;
    shared_->due = std::move(due);
    shared_->cv.notify_all();
}

void ThreadGuardTimer::Cancel() {
    std::unique_lock lock(shared_->m);
    shared_->deadline.reset();
    shared_->due = nullptr;
    if (shared_->thread != std::this_thread::get_id()) {
        shared_->cv.wait(lock, [this] { return !shared_->running; });
    }
}

// ---- TransmitGuard ---------------------------------------------------------------------------

struct TransmitGuard::State {
    GuardActions actions;
    mutable std::mutex m;
    bool armed = false;
    std::uint64_t arming = 0;  // which keying the alarm set now belongs to (from 1)
    std::uint64_t expiries = 0;
    std::chrono::milliseconds armedAt{0};
    std::chrono::milliseconds limit{0};
};

namespace {

std::string Seconds(std::chrono::milliseconds t) {
    const long long ms = t.count() < 0 ? 0 : t.count();
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

// On the timer's thread. The unkeying comes first; the audio and the notice only after it, so
// neither a wedged sound output nor a blocked log can hold the transmitter.
// `arming` 0 is any arming (a trip); `why` empty is the deadline.
bool Expire(TransmitGuard::State& s, GuardTimer& timer, std::uint64_t arming, std::string_view why) {
    std::chrono::milliseconds limit;
    std::chrono::milliseconds armedAt;
    {
        std::lock_guard lock(s.m);
        if (!s.armed || (arming != 0 && s.arming != arming)) return false;
        s.armed = false;
        ++s.expiries;
        limit = s.limit;
        armedAt = s.armedAt;
    }
    echolink::HResult result = echolink::kFail;
    TryStep([&] { result = s.actions.unkey ? s.actions.unkey() : echolink::kNoObject; });
    // As on the relay's own path: one answer lost must not leave the transmitter keyed.
    if (result.Failed() && !echolink::StationGone(result)) {
        TryStep([&] { result = s.actions.unkey(); });
    }
    const std::chrono::milliseconds unkeyedAt = timer.Now();
    if (s.actions.stopAudio) TryStep(s.actions.stopAudio);
    if (s.actions.log == nullptr) return true;
    TryStep([&] {
        std::string line = "Dizo chat: transmit guard: ";
        line += why.empty() ? "not unkeyed " + Seconds(unkeyedAt - armedAt) + " after keying (limit " +
                                  std::to_string(limit.count() / 1000) + " s); "
                            : std::string(why) + " " + Seconds(unkeyedAt - armedAt) + " after keying; ";
        line += result.Failed() ? "the guard's unkeying failed too" : "unkeyed by the guard";
        s.actions.log->Line(line);
    });
    return true;
}

}  // namespace

TransmitGuard::TransmitGuard(GuardTimer& timer, GuardActions actions)
    : timer_(timer), state_(std::make_shared<State>()) {
    state_->actions = std::move(actions);
}

TransmitGuard::~TransmitGuard() { timer_.Cancel(); }

void TransmitGuard::Arm(std::chrono::milliseconds limit) {
    const std::chrono::milliseconds now = timer_.Now();
    std::uint64_t arming;
    {
        std::lock_guard lock(state_->m);
        state_->armed = true;
        arming = ++state_->arming;
        state_->armedAt = now;
        state_->limit = limit;
    }
    timer_.Set(now + limit + kGuardMargin,
               [s = state_, &timer = timer_, arming] { Expire(*s, timer, arming, std::string_view()); });
}

void TransmitGuard::Disarm() {
    std::lock_guard lock(state_->m);
    state_->armed = false;
    ++state_->arming;  // an alarm already on its way finds nothing to do
}

bool TransmitGuard::Trip(std::string_view why) {
    return Expire(*state_, timer_, 0, why.empty() ? std::string_view("tripped") : why);
}

bool TransmitGuard::Armed() const {
    std::lock_guard lock(state_->m);
    return state_->armed;
}

std::uint64_t TransmitGuard::Expiries() const {
    std::lock_guard lock(state_->m);
    return state_->expiries;
}

}  // namespace relay
