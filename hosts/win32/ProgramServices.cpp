#include "hosts/win32/ProgramServices.h"

#include "hosts/com/ComEchoLink.h"
#include "hosts/sapi/SapiVoice.h"

namespace hosts::win32 {

// EchoLink's automation object over COM (empty when EchoLink is not installed or fails), and SAPI 5.
ProgramServices::ProgramServices() : ProgramServices(std::make_unique<hosts::sapi::SapiSpeechEngine>()) {}

ProgramServices::ProgramServices(std::unique_ptr<relay::SpeechEngine> speech)
    : echoLink_(std::make_unique<hosts::com::ComEchoLinkFactory>()), speech_(std::move(speech)) {}

ProgramServices::~ProgramServices() = default;

}  // namespace hosts::win32
