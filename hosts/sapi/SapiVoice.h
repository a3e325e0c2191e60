// The relay's speech engine on Windows: SAPI 5's SpVoice, a new one for each line, on the default
// voice and output. Each voice owns its SAPI object through a small seam that tests replace.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
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
};

class SapiVoice final : public relay::Voice {
public:
    explicit SapiVoice(std::unique_ptr<VoicePort> port) : port_(std::move(port)) {}
    // The text goes to SAPI exactly once converted; the flags pass through as they are numbered
    // alike (kSpeakIsNotXml is SPF_IS_NOT_XML: a line beginning with "<" is read, not parsed).
    echolink::HResult Speak(const std::string& text, relay::SpeakFlags flags) override;
    bool WaitUntilDone(std::chrono::milliseconds timeout);
    std::optional<std::size_t> SpokenCharacters() const;

private:
    std::unique_ptr<VoicePort> port_;
    std::wstring last_;
};

class SapiSpeechEngine final : public relay::SpeechEngine {
public:
    // Null when SpVoice cannot be created (no SAPI, or COM refuses this thread).
    std::unique_ptr<relay::Voice> CreateVoice() override;
};

// SAPI's text: UTF-16, null-terminated, so a NUL in the line becomes a blank instead of ending it.
std::wstring SapiText(const std::string& utf8);

}  // namespace hosts::sapi
