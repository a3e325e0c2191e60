#include "hosts/speech/PulseSink.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

#include <algorithm>
#include <atomic>

namespace hosts::speech {

namespace {

std::atomic<std::uint64_t> g_cuts{0};

// The main loop is polled in short slices, so a cut from another thread is seen within one.
constexpr std::chrono::milliseconds kSlice{20};

using Clock = std::chrono::steady_clock;

}  // namespace

void CutAllAudio() { g_cuts.fetch_add(1); }

PulseSink::PulseSink(std::string appName) : appName_(std::move(appName)), epoch_(g_cuts.load()) {}

PulseSink::~PulseSink() {
    // None of these waits for the server.
    if (stream_ != nullptr) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    if (context_ != nullptr) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    if (loop_ != nullptr) pa_mainloop_free(loop_);
}

bool PulseSink::Cut() const { return g_cuts.load() != epoch_; }

template <class Done>
bool PulseSink::RunUntil(Done done, Clock::time_point deadline) {
    while (!done()) {
        if (failed_ || Cut()) return false;
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            failed_ = true;  // a server that stalled once is not waited on again by this stream
            return false;
        }
        const auto slice = std::min<std::chrono::microseconds>(left, kSlice);
        if (pa_mainloop_prepare(loop_, static_cast<int>(slice.count())) < 0 || pa_mainloop_poll(loop_) < 0 ||
            pa_mainloop_dispatch(loop_) < 0) {
            failed_ = true;
            return false;
        }
    }
    return true;
}

bool PulseSink::Open(int sampleRate) {
    if (loop_ != nullptr || sampleRate <= 0 || Cut()) return false;
    sampleRate_ = sampleRate;
    loop_ = pa_mainloop_new();
    if (loop_ == nullptr) return false;
    context_ = pa_context_new(pa_mainloop_get_api(loop_), appName_.c_str());
    if (context_ == nullptr || pa_context_connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) return false;
    const auto deadline = Clock::now() + kAudioStallBound;
    const auto contextSettled = [this] {
        const pa_context_state_t s = pa_context_get_state(context_);
        return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
    };
    if (!RunUntil(contextSettled, deadline) || pa_context_get_state(context_) != PA_CONTEXT_READY) return false;

    pa_sample_spec format{};
    format.format = PA_SAMPLE_S16NE;
    format.rate = static_cast<std::uint32_t>(sampleRate);
    format.channels = 1;
    stream_ = pa_stream_new(context_, "speech", &format, nullptr);
    if (stream_ == nullptr) return false;
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = static_cast<std::uint32_t>(sampleRate * 2 * kAudioBuffer.count() / 1000);
    buffer.prebuf = static_cast<std::uint32_t>(-1);
    buffer.minreq = static_cast<std::uint32_t>(-1);
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    if (pa_stream_connect_playback(stream_, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0) {
        return false;
    }
    const auto streamSettled = [this] {
        const pa_stream_state_t s = pa_stream_get_state(stream_);
        return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
    };
    return RunUntil(streamSettled, deadline) && pa_stream_get_state(stream_) == PA_STREAM_READY;
}

// Each wait for room is bounded by the stall bound from the last progress, not from the start:
// a healthy server takes samples at the speed it plays them, however long the text.
bool PulseSink::Write(const std::int16_t* samples, std::size_t count) {
    if (stream_ == nullptr) return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples);
    std::size_t left = count * sizeof(std::int16_t);
    while (left > 0) {
        std::size_t room = 0;
        const auto hasRoom = [&] {
            room = pa_stream_writable_size(stream_);
            return room == static_cast<std::size_t>(-1) || room > 0;
        };
        if (!RunUntil(hasRoom, Clock::now() + kAudioStallBound) || room == static_cast<std::size_t>(-1)) return false;
        const std::size_t n = std::min(room, left) & ~static_cast<std::size_t>(1);  // whole samples
        if (n == 0) return false;
        if (pa_stream_write(stream_, bytes, n, nullptr, 0, PA_SEEK_RELATIVE) < 0) return false;
        bytes += n;
        left -= n;
    }
    return true;
}

namespace {

void OperationDone(pa_stream*, int success, void* userdata) {
    *static_cast<int*>(userdata) = success ? 1 : -1;
}

}  // namespace

bool PulseSink::Drain() {
    if (stream_ == nullptr) return false;
    int result = 0;
    pa_operation* op = pa_stream_drain(stream_, OperationDone, &result);
    if (op == nullptr) return false;
    const bool done = RunUntil([&] { return result != 0; }, Clock::now() + kAudioBuffer + kAudioStallBound);
    // The callback must not fire into `result` once this frame is gone.
    if (!done) pa_operation_cancel(op);
    pa_operation_unref(op);
    return done && result > 0;
}

bool PulseSink::Discard() {
    if (stream_ == nullptr) return false;
    int result = 0;
    pa_operation* op = pa_stream_flush(stream_, OperationDone, &result);
    if (op == nullptr) return false;
    // Stopping must be quick; a server that does not answer soon is dropped with the stream.
    const bool done = RunUntil([&] { return result != 0; }, Clock::now() + kAudioBuffer);
    if (!done) pa_operation_cancel(op);
    pa_operation_unref(op);
    return done && result > 0;
}

}  // namespace hosts::speech
