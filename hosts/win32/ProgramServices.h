// What the Windows program talks to outside its windows: EchoLink's automation object and the
// speech voice. Owns both for the run.
#pragma once

#include <memory>

#include "echolink/EchoLink.h"
#include "relay/Speech.h"

namespace hosts::win32 {

class ProgramServices {
public:
    // EchoLink over COM and SAPI 5: what the program runs with.
    ProgramServices();
    // Another speech engine in SAPI's place, for the program's end-to-end tests.
    explicit ProgramServices(std::unique_ptr<relay::SpeechEngine> speech);
    ~ProgramServices();
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;

    echolink::EchoLinkFactory& EchoLink() { return *echoLink_; }
    relay::SpeechEngine& Speech() { return *speech_; }

private:
    std::unique_ptr<echolink::EchoLinkFactory> echoLink_;
    std::unique_ptr<relay::SpeechEngine> speech_;
};

}  // namespace hosts::win32
