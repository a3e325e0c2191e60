// The transmitter's guard, apart from the relay and its speech: armed at every keying, it unkeys
// the station on a thread of its own when the relay's own unkeying has not come by the limit plus a margin.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "echolink/HResult.h"
#include "relay/Log.h"

namespace relay {

// The relay's own path gets this long past its limit before the guard steps in: time for a purge
// and an unkeying that are merely slow.
inline constexpr std::chrono::milliseconds kGuardMargin = std::chrono::seconds(2);

// The guard's clock and its one alarm. Hosts use ThreadGuardTimer; tests drive a virtual one.
class GuardTimer {
public:
    virtual ~GuardTimer() = default;
    // The clock Pause::Now reads (milliseconds of the steady clock in the real program).
    virtual std::chrono::milliseconds Now() = 0;
    // `due` is called once at `deadline`, on a thread that is neither the window's nor the speech
    // engine's, unless Set or Cancel comes first. Never waits for a `due` that is running.
    virtual void Set(std::chrono::milliseconds deadline, std::function<void()> due) = 0;
    // No `due` starts after this returns; one running on another thread is waited for.
    virtual void Cancel() = 0;
};

// One thread that sleeps until the deadline on the steady clock.
class ThreadGuardTimer final : public GuardTimer {
public:
    ThreadGuardTimer();
    ~ThreadGuardTimer() override;
    ThreadGuardTimer(const ThreadGuardTimer&) = delete;
    ThreadGuardTimer& operator=(const ThreadGuardTimer&) = delete;

    std::chrono::milliseconds Now() override;
    void Set(std::chrono::milliseconds deadline, std::function<void()> due) override;
    void Cancel() override;

    struct Shared;  // the alarm the thread and its owner share, in the .cpp

private:
    std::shared_ptr<Shared> shared_;
};

// What the host gives the guard. Both callables run on the guard's thread; neither may need the
// window's thread or the speech engine, and each must return within a bound of its own.
struct GuardActions {
    // SetTransmit(false) to the station by a path of the host's own (its own bus connection, the
    // call worker): never queued behind a call the window's thread is waiting on.
    std::function<echolink::HResult()> unkey;
    // Silences the audio output at once, whatever the speech engine is doing. May be empty.
    std::function<void()> stopAudio;
    // Where the guard's notice goes, after the unkeying; thread-safe and never blocking. May be null.
    Log* log = nullptr;
};

class TransmitGuard {
public:
    // `timer` must outlive the guard.
    TransmitGuard(GuardTimer& timer, GuardActions actions);
    ~TransmitGuard();
    TransmitGuard(const TransmitGuard&) = delete;
    TransmitGuard& operator=(const TransmitGuard&) = delete;

    // The relay is about to key for at most `limit`: unless Disarm comes first, the guard unkeys
    // at now + limit + kGuardMargin, once, then stops the audio and writes its notice.
    void Arm(std::chrono::milliseconds limit);
    // The relay's own path has unkeyed the station (or found no station to unkey).
    void Disarm();
    // The program is told to end (a signal, the session ending): when armed, unkeys now, on the
    // calling thread, as at the deadline; `why` goes in the notice. True when it was armed.
    bool Trip(std::string_view why);

    bool Armed() const;
    // How often the guard has stepped in so far; the relay compares it around a keying.
    std::uint64_t Expiries() const;

    struct State;  // shared with the alarm, in the .cpp

private:
    GuardTimer& timer_;
    std::shared_ptr<State> state_;
};

}  // namespace relay
