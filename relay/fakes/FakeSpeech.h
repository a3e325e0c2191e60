// A stand-in for text-to-speech: records each voice's creation, Speak call (text and flags) and
// release in the shared log, and lets virtual time pass while "speaking". Owned by the test.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "relay/Speech.h"
#include "relay/fakes/EventLog.h"

namespace relay::fakes {

class FakeSpeech final : public SpeechEngine {
public:
    explicit FakeSpeech(EventLog& log) : log_(log) {}

    std::unique_ptr<Voice> CreateVoice() override;

    bool available = true;
    bool speakFails = false;
    std::chrono::milliseconds speechDuration{2500};
    int voicesAlive = 0;
    std::string lastText;
    SpeakFlags lastFlags;
    int spoken = 0;

private:
    class FakeVoice;
    EventLog& log_;
};

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
        owner_.lastText = text;
        owner_.lastFlags = flags;
        ++owner_.spoken;
        owner_.log_.Add("Speak('" + text + "', " + std::to_string(flags.bits) + ")");
        if (owner_.speakFails) {
            return echolink::kFail;
        }
        owner_.log_.now += owner_.speechDuration;  // synchronous: returns when the speech has ended
        return echolink::kOk;
    }

private:
    FakeSpeech& owner_;
};

inline std::unique_ptr<Voice> FakeSpeech::CreateVoice() {
    log_.Add("CreateVoice");
    if (!available) {
        return nullptr;
    }
    return std::make_unique<FakeVoice>(*this);
}

}  // namespace relay::fakes
