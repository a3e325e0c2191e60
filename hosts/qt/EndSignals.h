// SIGTERM, SIGINT and SIGHUP on Linux, taken on a thread of their own so that they are seen even
// while the window's thread is held by speech. Owns that thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace hosts::qt {

// After a signal the program has this long to end by itself; then the process ends at once.
inline constexpr std::chrono::milliseconds kEndBound{5000};

class EndSignals {
public:
    // Blocks the three signals in the calling thread and so in every thread it starts later. Call
    // it first thing in main, before any thread exists.
    static void BlockInThisThread();

    // `onSignal` runs on the signals' thread, once, for the first of them; if the process is still
    // there kEndBound later, it ends with 128 + the signal's number.
    explicit EndSignals(std::function<void(int signal)> onSignal);
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace hosts::qt
