// The relay's speech engine on Linux: each voice speaks through the process's espeak-ng engine
// into a fresh audio output (PulseAudio by default). A voice owns the utterances it started.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "hosts/speech/AudioSink.h"
#include "hosts/speech/EspeakEngine.h"
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

// Always literal: markup and file names are refused. Releasing a voice stops what it still says.
class EspeakVoice final : public relay::Voice {
public:
    explicit EspeakVoice(SinkFactory sinks) : sinks_(std::move(sinks)) {}
    ~EspeakVoice() override;
    EspeakVoice(const EspeakVoice&) = delete;
    EspeakVoice& operator=(const EspeakVoice&) = delete;

    echolink::HResult Speak(const std::string& text, relay::SpeakFlags flags) override;
    bool WaitUntilDone(std::chrono::milliseconds timeout) override;
    std::optional<std::size_t> SpokenCharacters() const override;

private:
    void StopAll();

    SinkFactory sinks_;
    std::vector<std::shared_ptr<Utterance>> queued_;  // oldest first
};

}  // namespace hosts::speech
