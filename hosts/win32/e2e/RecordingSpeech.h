// The speech engine of the program's end-to-end build: a voice that writes what it is asked to
// say into the stand-in EchoLink's call log and takes a while to "say" it. Owns nothing else.
#pragma once

#include <chrono>
#include <memory>

#include "relay/Speech.h"

namespace hosts::win32::e2e {

class RecordingSpeech final : public relay::SpeechEngine {
public:
    // Under Wine SAPI cannot speak, so the scenarios listen here instead. Each character takes
    // `perCharacter` of speaking, so the transmitter is seen keyed around the speech.
    // `wedged`: stopping a voice blocks, as on a sound output that no longer takes data, until
    // SilenceAll cuts the output.
    explicit RecordingSpeech(std::chrono::milliseconds perCharacter = std::chrono::milliseconds(50), bool wedged = false);
    ~RecordingSpeech() override;
    std::unique_ptr<relay::Voice> CreateVoice() override;
    // The transmit guard's audio stop, from its thread: recorded, and a wedged stop let go.
    void SilenceAll();

    struct Output;  // the wedge, shared with the voices

private:
    std::chrono::milliseconds perCharacter_;
    std::shared_ptr<Output> output_;
};

}  // namespace hosts::win32::e2e
