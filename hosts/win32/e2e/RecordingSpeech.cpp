#include "hosts/win32/e2e/RecordingSpeech.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "hosts/com/standin/StandInControl.h"

namespace hosts::win32::e2e {

struct RecordingSpeech::Output {
    bool wedged = false;
    std::mutex mutex;
    std::condition_variable cut;
    bool silenced = false;
};

namespace {

std::size_t CodePoints(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

class RecordingVoice final : public relay::Voice {
public:
    RecordingVoice(std::chrono::milliseconds perCharacter, std::shared_ptr<RecordingSpeech::Output> output)
        : perCharacter_(perCharacter), output_(std::move(output)) {}

    echolink::HResult Speak(const std::string& text, relay::SpeakFlags flags) override {
        namespace standin = hosts::com::standin;
        standin::AppendLog("voice Speak(" + standin::Quoted(text) + ", " + std::to_string(flags.bits) + ")");
        if (flags.Has(relay::kSpeakPurgeBeforeSpeak) && output_->wedged) {
            std::unique_lock lock(output_->mutex);
            output_->cut.wait(lock, [&] { return output_->silenced; });
        }
        const auto now = Clock::now();
        if (flags.Has(relay::kSpeakPurgeBeforeSpeak)) doneAt_ = now;
        doneAt_ = std::max(doneAt_, now) + perCharacter_ * static_cast<long>(CodePoints(text));
        if (!flags.Has(relay::kSpeakAsync)) WaitUntilDone(std::chrono::hours(1));
        return echolink::kOk;
    }

    // Real time: this runs in the real program under Wine, where the relay waits on real speech.
    bool WaitUntilDone(std::chrono::milliseconds timeout) override {
        const auto now = Clock::now();
        if (doneAt_ <= now) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(doneAt_ - now);
        std::this_thread::sleep_for(std::min(left, timeout));
        return doneAt_ <= Clock::now();
    }

private:
    using Clock = std::chrono::steady_clock;
    std::chrono::milliseconds perCharacter_;
    std::shared_ptr<RecordingSpeech::Output> output_;
    Clock::time_point doneAt_ = Clock::now();
};

}  // namespace

RecordingSpeech::RecordingSpeech(std::chrono::milliseconds perCharacter, bool wedged)
    : perCharacter_(perCharacter), output_(std::make_shared<Output>()) {
    output_->wedged = wedged;
}

RecordingSpeech::~RecordingSpeech() = default;

std::unique_ptr<relay::Voice> RecordingSpeech::CreateVoice() {
    return std::make_unique<RecordingVoice>(perCharacter_, output_);
}

void RecordingSpeech::SilenceAll() {
    hosts::com::standin::AppendLog("voice Silence()");
    const std::lock_guard lock(output_->mutex);
    output_->silenced = true;
    output_->cut.notify_all();
}

}  // namespace hosts::win32::e2e
