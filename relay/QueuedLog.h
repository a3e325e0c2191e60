// A log that never holds its caller: lines go to a short queue that a thread of its own writes
// out; a line that finds the queue full is dropped. Owns that thread and the log it writes to.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "relay/Log.h"

namespace relay {

// Lines waiting while the log's output is blocked (a terminal paused with Ctrl-S, a full pipe, a
// hung debug-output viewer); more are dropped, and the drop is counted in the next line written.
inline constexpr std::size_t kLogQueueLines = 64;

class QueuedLog final : public Log {
public:
    explicit QueuedLog(std::unique_ptr<Log> output, std::size_t capacity = kLogQueueLines);
    // Lets the thread write what is queued for at most a moment; an output still blocked then is
    // left to its thread, which owns everything it touches.
    ~QueuedLog() override;
    QueuedLog(const QueuedLog&) = delete;
    QueuedLog& operator=(const QueuedLog&) = delete;

    // Thread-safe; returns at once whatever the output is doing.
    void Line(std::string_view line) override;

    struct Shared;  // the queue and the output, in the .cpp

private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace relay
