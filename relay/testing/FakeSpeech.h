// A stand-in for text-to-speech: records each voice's creation, Speak call (text and flags) and
// release in the shared log, and lets virtual time pass while "speaking". Owned by the test.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "relay/Speech.h"
#include "relay/testing/EventLog.h"

namespace relay::fakes {

class FakeSpeech final : public SpeechEngine {
public:
    explicit FakeSpeech(EventLog& log) : log_(log) {}

    std::unique_ptr<Voice> CreateVoice() override;

    bool available = true;
    bool speakFails = false;
    bool knowsPosition = true;  // whether SpokenCharacters answers
    std::chrono::milliseconds speechDuration{2500};
    // How long a purge takes to silence the voice: an audio output that blocks holds it for good.
    std::chrono::milliseconds stopTakes{0};
    int voicesAlive = 0;
    std::string lastText;
    SpeakFlags lastFlags;
    int spoken = 0;
    // Runs once each text starts, as the outside world moving on while the thread is held.
    std::function<void(const std::string&)> whileSpeaking;

private:
    class FakeVoice;
    EventLog& log_;
};

// Speech takes speechDuration of virtual time whatever the text; a purge stops it at once.
class FakeSpeech::FakeVoice final : public Voice {
public:
    explicit FakeVoice(FakeSpeech& owner) : owner_(owner) { ++owner_.voicesAlive; }
    ~FakeVoice() override {
        --owner_.voicesAlive;
        owner_.log_.Add("ReleaseVoice");
    }
    FakeVoice(const FakeVoice&) = delete;
    FakeVoice& operator=(const FakeVoice&) = delete;

    echolink::HResult Speak(const std::string& text, SpeakFlags flags) override {
        owner_.log_.Add("Speak('" + text + "', " + std::to_string(flags.bits) + ")");
        if (owner_.speakFails) {
            return echolink::kFail;
        }
        if (flags.Has(kSpeakPurgeBeforeSpeak)) {
            if (left_.count() > 0) {
                owner_.log_.Advance(owner_.stopTakes);
            }
            left_ = {};
        }
        if (text.empty() && flags.Has(kSpeakPurgeBeforeSpeak)) {
            return echolink::kOk;
        }
        owner_.lastText = text;
        owner_.lastFlags = flags;
        ++owner_.spoken;
        if (owner_.whileSpeaking) {
            owner_.whileSpeaking(text);
        }
        characters_ = text.size();
        left_ = owner_.speechDuration;
        if (!flags.Has(kSpeakAsync)) {
            WaitUntilDone(left_);
        }
        return echolink::kOk;
    }

    bool WaitUntilDone(std::chrono::milliseconds timeout) override {
        const std::chrono::milliseconds waited = std::min(timeout, left_);
        left_ -= waited;
        owner_.log_.Advance(waited);
        return left_.count() == 0;
    }

    std::optional<std::size_t> SpokenCharacters() const override {
        if (!owner_.knowsPosition || owner_.speechDuration.count() == 0) {
            return std::nullopt;
        }
        const auto done = owner_.speechDuration - left_;
        return characters_ * static_cast<std::size_t>(done.count()) /
               static_cast<std::size_t>(owner_.speechDuration.count());
    }

private:
    FakeSpeech& owner_;
    std::chrono::milliseconds left_{0};
    std::size_t characters_ = 0;
};

inline std::unique_ptr<Voice> FakeSpeech::CreateVoice() {
    log_.Add("CreateVoice");
    if (!available) {
        return nullptr;
    }
    return std::make_unique<FakeVoice>(*this);
}

}  // namespace relay::fakes
