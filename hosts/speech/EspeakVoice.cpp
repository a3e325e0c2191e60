#include "hosts/speech/EspeakVoice.h"

#include "hosts/speech/EspeakEngine.h"
#include "hosts/speech/PulseSink.h"

namespace hosts::speech {

EspeakSpeechEngine::EspeakSpeechEngine()
    : sinks_([] { return std::unique_ptr<AudioSink>(std::make_unique<PulseSink>()); }) {}

std::unique_ptr<relay::Voice> EspeakSpeechEngine::CreateVoice() { return std::make_unique<EspeakVoice>(sinks_); }

echolink::HResult EspeakVoice::Speak(const std::string& text, relay::SpeakFlags flags) {
    if (flags.Has(relay::kSpeakAsync) || flags.Has(relay::kSpeakIsXml) || flags.Has(relay::kSpeakIsFilename)) {
        return echolink::kInvalidArg;
    }
    if (text.empty()) return echolink::kOk;  // nothing to say; no output is opened
    const std::unique_ptr<AudioSink> sink = sinks_ ? sinks_() : nullptr;
    if (sink == nullptr) return echolink::kFail;
    return EspeakEngine::Instance().Speak(text, *sink) ? echolink::kOk : echolink::kFail;
}

}  // namespace hosts::speech
