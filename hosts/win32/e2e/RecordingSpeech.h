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
    explicit RecordingSpeech(std::chrono::milliseconds perCharacter = std::chrono::milliseconds(50))
        : perCharacter_(perCharacter) {}
    std::unique_ptr<relay::Voice> CreateVoice() override;

private:
    std::chrono::milliseconds perCharacter_;
};

}  // namespace hosts::win32::e2e
