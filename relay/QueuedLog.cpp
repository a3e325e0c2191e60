#include "relay/QueuedLog.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "relay/Steps.h"

namespace relay {

struct QueuedLog::Shared {
    std::unique_ptr<Log> output;
    std::size_t capacity = kLogQueueLines;
    std::mutex m;
    std::condition_variable cv;
    std::deque<std::string> lines;
    std::size_t dropped = 0;
    bool writing = false;
    bool stopping = false;
};

namespace {

void WriteLines(const std::shared_ptr<QueuedLog::Shared>& s) {
    std::unique_lock lock(s->m);
    for (;;) {
        s->cv.wait(lock, [&] { return s->stopping || !s->lines.empty(); });
        if (s->lines.empty()) return;
        std::string line = std::move(s->lines.front());
        s->lines.pop_front();
        s->writing = true;
        lock.unlock();
        TryStep([&] { s->output->Line(line); });
        lock.lock();
        s->writing = false;
        s->cv.notify_all();
    }
}

}  // namespace

QueuedLog::QueuedLog(std::unique_ptr<Log> output, std::size_t capacity) : shared_(std::make_shared<Shared>()) {
    shared_->output = std::move(output);
    shared_->capacity = capacity == 0 ? 1 : capacity;
    std::thread([s = shared_] { WriteLines(s); }).detach();
}

QueuedLog::~QueuedLog() {
    std::unique_lock lock(shared_->m);
    shared_->stopping = true;
    shared_->cv.notify_all();
    // The last notices (a time-out just before the program ends) are worth a short wait.
    shared_->cv.wait_for(lock, std::chrono::milliseconds(200),
                         [&] { return shared_->lines.empty() && !shared_->writing; });
}

void QueuedLog::Line(std::string_view line) {
    std::string text;
    TryStep([&] { text.assign(line); });
    std::lock_guard lock(shared_->m);
    if (shared_->stopping) return;
    if (shared_->lines.size() >= shared_->capacity) {
        ++shared_->dropped;
        return;
    }
    if (shared_->dropped > 0) {
        TryStep([&] {
            shared_->lines.push_back("Dizo chat: " + std::to_string(shared_->dropped) +
                                     " notice(s) dropped: the log's output was blocked");
        });
        shared_->dropped = 0;
    }
    TryStep([&] { shared_->lines.push_back(std::move(text)); });
    shared_->cv.notify_all();
}

}  // namespace relay
