#include "hosts/speech/EspeakEngine.h"

#include <espeak-ng/speak_lib.h>

#include "relay/SpeechText.h"
#include "hosts/speech/VoiceName.h"

namespace hosts::speech {

namespace {

struct Synthesis {
    AudioSink* sink;
    int sampleRate;
    const std::atomic<bool>* stop;
    std::atomic<std::size_t>* reached;
    bool opened = false;
    bool failed = false;
};

// Runs on the owner thread inside espeak_Synth; returning 1 stops the synthesis.
int OnSamples(short* wav, int count, espeak_EVENT* events) {
    if (events == nullptr || events->user_data == nullptr) return 1;
    auto* s = static_cast<Synthesis*>(events->user_data);
    if (s->stop->load()) return 1;
    for (const espeak_EVENT* e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type == espeakEVENT_WORD && e->text_position > 0) {
            s->reached->store(static_cast<std::size_t>(e->text_position - 1));
        }
    }
    if (wav == nullptr || count <= 0) return 0;
    if (!s->opened) {
        s->opened = true;
        if (!s->sink->Open(s->sampleRate)) {
            s->failed = true;
            return 1;
        }
    }
    if (!s->sink->Write(wav, static_cast<std::size_t>(count))) {
        s->failed = true;
        return 1;
    }
    return 0;
}

}  // namespace

bool Utterance::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_);
    return cv_.wait_for(lock, timeout, [this] { return done_; });
}

void Utterance::Wait() {
    std::unique_lock lock(m_);
    cv_.wait(lock, [this] { return done_; });
}

void Utterance::Stop() {
    RequestStop();
    Wait();
}

bool Utterance::Succeeded() {
    std::lock_guard lock(m_);
    return done_ && ok_;
}

void Utterance::Finish(bool ok) {
    sink_.reset();  // the output is closed before anyone hears the utterance has ended
    std::lock_guard lock(m_);
    done_ = true;
    ok_ = ok;
    cv_.notify_all();
}

EspeakEngine& EspeakEngine::Instance() {
    static EspeakEngine engine;
    return engine;
}

EspeakEngine::EspeakEngine() = default;

EspeakEngine::~EspeakEngine() {
    {
        std::lock_guard lock(m_);
        if (!started_) return;
        stop_ = true;
    }
    cv_.notify_all();
    owner_.join();
}

std::string EspeakEngine::VoiceName() {
    std::unique_lock lock(m_);
    if (!started_) {
        started_ = true;
        owner_ = std::thread([this] { Run(); });
    }
    cv_.wait(lock, [this] { return ready_; });
    return voice_;
}

void EspeakEngine::Run() {
    // Playback is ours, so the engine only synthesises; it must not exit the process on failure.
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr, espeakINITIALIZE_DONT_EXIT);
    std::string chosen;
    if (rate > 0) {
        espeak_SetSynthCallback(OnSamples);
        for (const std::string& v : VoiceCandidates(LocaleFromEnvironment())) {
            if (espeak_SetVoiceByName(v.c_str()) == EE_OK) {
                chosen = v;
                break;
            }
        }
    }
    if (rate > 0) {
        for (int p = espeakRATE; p <= espeakWORDGAP; ++p) {
            defaults_[p] = espeak_GetParameter(static_cast<espeak_PARAMETER>(p), 0);
        }
    }
    std::unique_lock lock(m_);
    sampleRate_ = rate;
    voice_ = chosen;
    ready_ = true;
    cv_.notify_all();
    for (;;) {
        cv_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) break;  // stopping, and nothing left to say
        const std::shared_ptr<Utterance> u = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        u->Finish(SpeakOnOwner(*u));
        lock.lock();
    }
    lock.unlock();
    if (rate > 0) espeak_Terminate();
}

// espeak-ng's settings are process-wide and outlive an utterance, so each line starts from the
// voice and settings chosen at start-up, whatever the text before it did to them.
void EspeakEngine::FreshVoice() {
    if (!voice_.empty()) espeak_SetVoiceByName(voice_.c_str());
    for (int p = espeakRATE; p <= espeakWORDGAP; ++p) {
        espeak_SetParameter(static_cast<espeak_PARAMETER>(p), defaults_[p], 0);
    }
}

bool EspeakEngine::SpeakOnOwner(Utterance& u) {
    if (sampleRate_ <= 0 || u.stop_.load()) return false;
    FreshVoice();
    Synthesis s{u.sink_.get(), sampleRate_, &u.stop_, &u.reached_};
    // espeakCHARS_UTF8 without espeakSSML or espeakPHONEMES: chat text is read, never obeyed.
    const espeak_ERROR err = espeak_Synth(u.text_.c_str(), u.text_.size() + 1, 0, POS_CHARACTER, 0,
                                          espeakCHARS_UTF8, nullptr, &s);
    if (u.stop_.load()) {
        if (s.opened) u.sink_->Discard();
        return false;
    }
    if (err != EE_OK || s.failed) return false;
    return s.opened ? u.sink_->Drain() : true;
}

std::shared_ptr<Utterance> EspeakEngine::Start(std::string_view utf8, std::unique_ptr<AudioSink> sink) {
    auto u = std::make_shared<Utterance>();
    if (utf8.empty()) {
        u->Finish(true);
        return u;
    }
    u->text_ = relay::SpeakableText(utf8);
    u->sink_ = std::move(sink);
    (void)VoiceName();  // starts the owner thread and waits for the engine
    {
        std::lock_guard lock(m_);
        if (sampleRate_ > 0 && u->sink_ != nullptr) {
            queue_.push_back(u);
            cv_.notify_all();
            return u;
        }
    }
    u->Finish(false);
    return u;
}

bool EspeakEngine::Speak(std::string_view utf8, std::unique_ptr<AudioSink> sink) {
    const std::shared_ptr<Utterance> u = Start(utf8, std::move(sink));
    u->Wait();
    return u->Succeeded();
}

}  // namespace hosts::speech
