// What the Windows program talks to outside its windows: EchoLink's automation object and the
// speech voice. Owns both for the run.
#pragma once

#include <memory>

#include "echolink/EchoLink.h"
#include "relay/Speech.h"

namespace hosts::win32 {

class ProgramServices {
public:
    ProgramServices();
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
