// The relay's speech engine on Windows: SAPI 5's SpVoice, a new one for each line, on the default
// voice and output. Each voice owns its SAPI object through a small seam that tests replace; the
// engine keeps a list of the voices alive, to silence them from the transmit guard's thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>
#include <string>

#include "relay/Speech.h"

namespace hosts::sapi {

// The part of ISpVoice a voice uses; results are HRESULTs, flags SAPI's SPF_ values.
class VoicePort {
public:
    virtual ~VoicePort() = default;
    virtual std::int32_t Speak(const std::wstring& text, std::uint32_t flags) = 0;
    // S_OK when done, S_FALSE when the time ran out.
    virtual std::int32_t WaitUntilDone(std::uint32_t milliseconds) = 0;
    // UTF-16 offset of the word being spoken in the last text, when SAPI says.
    virtual std::optional<std::size_t> InputPosition() = 0;
    // Stops and drops what the voice is saying, from any thread, without waiting for the audio.
    virtual void Silence() = 0;
};

// The voices alive now. Thread-safe: a voice leaves the list before its port goes.
class LiveVoices {
public:
    void Add(VoicePort* port);
    void Remove(VoicePort* port);
    // Silences every voice alive; returns without waiting for any audio to end.
    void SilenceAll();

private:
    std::mutex mutex_;
    std::vector<VoicePort*> ports_;
};

class SapiVoice final : public relay::Voice {
public:
    // `live` (may be null) lists the voice while it lives.
    explicit SapiVoice(std::unique_ptr<VoicePort> port, std::shared_ptr<LiveVoices> live = nullptr);
    ~SapiVoice() override;
    SapiVoice(const SapiVoice&) = delete;
    SapiVoice& operator=(const SapiVoice&) = delete;
    // The text goes to SAPI exactly once converted; the flags pass through as they are numbered
    // alike (kSpeakIsNotXml is SPF_IS_NOT_XML: a line beginning with "<" is read, not parsed).
    echolink::HResult Speak(const std::string& text, relay::SpeakFlags flags) override;
    bool WaitUntilDone(std::chrono::milliseconds timeout);
    std::optional<std::size_t> SpokenCharacters() const;

private:
    std::unique_ptr<VoicePort> port_;
    std::shared_ptr<LiveVoices> live_;
    std::wstring last_;
};

class SapiSpeechEngine final : public relay::SpeechEngine {
public:
    // Null when SpVoice cannot be created (no SAPI, or COM refuses this thread).
    std::unique_ptr<relay::Voice> CreateVoice() override;
    // Silences every voice this engine made that is still alive, from any thread: what the
    // transmit guard does to the audio once it has unkeyed.
    void SilenceAll() { live_->SilenceAll(); }

private:
    std::shared_ptr<LiveVoices> live_ = std::make_shared<LiveVoices>();
};

// SAPI's text: UTF-16 of the chat text made speakable (relay::SpeakableText: every control
// character, NUL and stray byte a blank), so nothing in a line can act on the voice.
std::wstring SapiText(const std::string& utf8);

}  // namespace hosts::sapi
