#include "hosts/win32/ProgramServices.h"

#include "hosts/com/ComEchoLink.h"
#include "hosts/sapi/SapiVoice.h"

namespace hosts::win32 {

namespace {

std::unique_ptr<hosts::sapi::SapiSpeechEngine> MakeSapi() { return std::make_unique<hosts::sapi::SapiSpeechEngine>(); }

}  // namespace

// EchoLink's automation object over COM (empty when EchoLink is not installed or fails), and SAPI 5.
ProgramServices::ProgramServices() {
    auto sapi = MakeSapi();
    stopAudio_ = [engine = sapi.get()] { engine->SilenceAll(); };
    speech_ = std::move(sapi);
    echoLink_ = std::make_unique<hosts::com::ComEchoLinkFactory>();
}

ProgramServices::ProgramServices(std::unique_ptr<relay::SpeechEngine> speech, std::function<void()> stopAudio,
                                 std::chrono::milliseconds transmitLimit)
    : echoLink_(std::make_unique<hosts::com::ComEchoLinkFactory>()), speech_(std::move(speech)),
      stopAudio_(std::move(stopAudio)), transmitLimit_(transmitLimit) {}

ProgramServices::~ProgramServices() = default;

echolink::EchoLinkFactory& ProgramServices::EchoLink() { return *echoLink_; }

GuardPaths ProgramServices::Guard() const {
    return GuardPaths{[factory = echoLink_.get()] { return factory->UnkeyFromAnyThread(); }, stopAudio_};
}

}  // namespace hosts::win32
