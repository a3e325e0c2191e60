// Speech played on the default output through PulseAudio's asynchronous API (also served by
// PipeWire), every wait bounded. Owns one connection, one playback stream and their main loop.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "hosts/speech/AudioSink.h"

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace hosts::speech {

// A sound server that makes no progress this long (a stopped server, a wedged card) fails the
// connection, the write or the drain that waits on it: the speech ends and the relay unkeys.
inline constexpr std::chrono::milliseconds kAudioStallBound{2000};
// How much audio the server is asked to hold ahead; a drain waits this long plus the stall bound.
inline constexpr std::chrono::milliseconds kAudioBuffer{500};

// Every stream open now stops at once: nothing more is written, what is queued is dropped, the
// waits end. Thread-safe and never blocks; the transmit guard's audio stop. Streams opened later play.
void CutAllAudio();

class PulseSink final : public AudioSink {
public:
    explicit PulseSink(std::string appName = "Dizo chat");
    ~PulseSink() override;
    PulseSink(const PulseSink&) = delete;
    PulseSink& operator=(const PulseSink&) = delete;

    bool Open(int sampleRate) override;
    bool Write(const std::int16_t* samples, std::size_t count) override;
    bool Drain() override;
    bool Discard() override;

private:
    // Runs the main loop until `done` holds, the bound passes or the audio is cut; false unless done.
    template <class Done>
    bool RunUntil(Done done, std::chrono::steady_clock::time_point deadline);
    bool Cut() const;

    std::string appName_;
    std::uint64_t epoch_;  // the cut this sink was made after
    int sampleRate_ = 0;
    pa_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    bool failed_ = false;
};

}  // namespace hosts::speech
