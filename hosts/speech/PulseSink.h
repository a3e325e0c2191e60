// Speech played on the default output through PulseAudio's simple API (also served by PipeWire).
// Owns one playback stream from Open until destruction.
#pragma once

#include <string>

#include "hosts/speech/AudioSink.h"

struct pa_simple;

namespace hosts::speech {

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
    std::string appName_;
    pa_simple* stream_ = nullptr;
};

}  // namespace hosts::speech
