// The relay's speech engine on Linux: each voice speaks through the process's espeak-ng engine
// into a fresh audio output (PulseAudio by default). Voices own nothing but their output factory.
#pragma once

#include <functional>
#include <memory>

#include "hosts/speech/AudioSink.h"
#include "relay/Speech.h"

namespace hosts::speech {

using SinkFactory = std::function<std::unique_ptr<AudioSink>()>;

class EspeakSpeechEngine final : public relay::SpeechEngine {
public:
    // By default each utterance opens its own PulseAudio playback stream.
    EspeakSpeechEngine();
    explicit EspeakSpeechEngine(SinkFactory sinks) : sinks_(std::move(sinks)) {}
    std::unique_ptr<relay::Voice> CreateVoice() override;

private:
    SinkFactory sinks_;
};

class EspeakVoice final : public relay::Voice {
public:
    explicit EspeakVoice(SinkFactory sinks) : sinks_(std::move(sinks)) {}
    // Always synchronous and always literal: asynchronous speech, markup or file names are refused.
    echolink::HResult Speak(const std::string& text, relay::SpeakFlags flags) override;

private:
    SinkFactory sinks_;
};

}  // namespace hosts::speech
