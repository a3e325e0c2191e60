// What the Windows program talks to outside its windows: EchoLink's automation object and the
// speech voice. Owns both for the run.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "echolink/EchoLink.h"
#include "relay/Speech.h"
#include "relay/Texts.h"

namespace hosts::com {
class ComEchoLinkFactory;
}

namespace hosts::win32 {

// How the transmit guard reaches the station and the audio from its own thread (see
// relay::GuardActions): both thread-safe and bounded; either may be empty.
struct GuardPaths {
    std::function<echolink::HResult()> unkey;
    std::function<void()> stopAudio;
};

class ProgramServices {
public:
    // EchoLink over COM and SAPI 5: what the program runs with.
    ProgramServices();
    // Another speech engine in SAPI's place, for the program's end-to-end tests, with the way to
    // silence it from any thread, and a transmit limit of their own.
    ProgramServices(std::unique_ptr<relay::SpeechEngine> speech, std::function<void()> stopAudio,
                    std::chrono::milliseconds transmitLimit);
    ~ProgramServices();
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;

    echolink::EchoLinkFactory& EchoLink();
    relay::SpeechEngine& Speech() { return *speech_; }
    // The guard's ways: an unkeying through EchoLink's call worker, the voices silenced.
    GuardPaths Guard() const;
    // The constant, but in the end-to-end tests.
    std::chrono::milliseconds TransmitLimit() const { return transmitLimit_; }

private:
    std::unique_ptr<hosts::com::ComEchoLinkFactory> echoLink_;
    std::unique_ptr<relay::SpeechEngine> speech_;
    std::function<void()> stopAudio_;
    std::chrono::milliseconds transmitLimit_ = relay::kTransmitLimit;
};

}  // namespace hosts::win32
