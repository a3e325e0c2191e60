#include "hosts/win32/ProgramServices.h"

namespace hosts::win32 {

namespace {

// Until the COM binding is wired in, the program runs as it does without EchoLink installed:
// no automation object, every EchoLink step skipped.
class NoEchoLink final : public echolink::EchoLinkFactory {
public:
    std::unique_ptr<echolink::EchoLink> Create(echolink::ChatEvents&) override { return nullptr; }
};

// Until the SAPI binding is wired in, there is no voice: the speaking step is skipped.
class NoSpeech final : public relay::SpeechEngine {
public:
    std::unique_ptr<relay::Voice> CreateVoice() override { return nullptr; }
};

}  // namespace

ProgramServices::ProgramServices()
    : echoLink_(std::make_unique<NoEchoLink>()), speech_(std::make_unique<NoSpeech>()) {}

ProgramServices::~ProgramServices() = default;

}  // namespace hosts::win32
