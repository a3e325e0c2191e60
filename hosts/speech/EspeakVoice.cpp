#include "hosts/speech/EspeakVoice.h"

#include <algorithm>

#include "hosts/speech/PulseSink.h"

namespace hosts::speech {

EspeakSpeechEngine::EspeakSpeechEngine()
    : sinks_([] { return std::unique_ptr<AudioSink>(std::make_unique<PulseSink>()); }) {}

std::unique_ptr<relay::Voice> EspeakSpeechEngine::CreateVoice() { return std::make_unique<EspeakVoice>(sinks_); }

EspeakVoice::~EspeakVoice() { StopAll(); }

void EspeakVoice::StopAll() {
    // Every stop is asked for before any is waited on: the engine would otherwise start the next
    // queued text while the first one winds down, and a purged text would still be heard.
    for (const std::shared_ptr<Utterance>& u : queued_) {
        u->RequestStop();
    }
    for (const std::shared_ptr<Utterance>& u : queued_) {
        u->Wait();
    }
    queued_.clear();
}

echolink::HResult EspeakVoice::Speak(const std::string& text, relay::SpeakFlags flags) {
    if (flags.Has(relay::kSpeakIsXml) || flags.Has(relay::kSpeakIsFilename)) {
        return echolink::kInvalidArg;
    }
    if (flags.Has(relay::kSpeakPurgeBeforeSpeak)) {
        StopAll();
    }
    if (text.empty()) return echolink::kOk;  // nothing to say; no output is opened
    std::unique_ptr<AudioSink> sink = sinks_ ? sinks_() : nullptr;
    if (sink == nullptr) return echolink::kFail;
    std::erase_if(queued_, [](const std::shared_ptr<Utterance>& u) { return u->Wait(std::chrono::milliseconds(0)); });
    std::shared_ptr<Utterance> u = EspeakEngine::Instance().Start(text, std::move(sink));
    if (!flags.Has(relay::kSpeakAsync)) {
        u->Wait();
        return u->Succeeded() ? echolink::kOk : echolink::kFail;
    }
    if (u->Wait(std::chrono::milliseconds(0)) && !u->Succeeded()) {
        return echolink::kFail;  // the engine could not even start it
    }
    queued_.push_back(std::move(u));
    return echolink::kOk;
}

bool EspeakVoice::WaitUntilDone(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (const std::shared_ptr<Utterance>& u : queued_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!u->Wait(std::max(left, std::chrono::milliseconds(0)))) return false;
    }
    return true;
}

std::optional<std::size_t> EspeakVoice::SpokenCharacters() const {
    if (queued_.empty()) return std::nullopt;
    return queued_.back()->ReachedCharacters();
}

}  // namespace hosts::speech
