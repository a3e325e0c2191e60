// Where synthesised speech goes: 16-bit mono samples, written as they are made, then drained.
// The engine borrows a sink for one utterance; PulseSink plays, tests record.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hosts::speech {

class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Called once, before the first samples; false when the output cannot be opened.
    virtual bool Open(int sampleRate) = 0;
    virtual bool Write(const std::int16_t* samples, std::size_t count) = 0;
    // Returns when every sample written has been played.
    virtual bool Drain() = 0;
    // Drops what was written but not played yet, for speech stopped before its end.
    virtual bool Discard() { return true; }
};

}  // namespace hosts::speech
