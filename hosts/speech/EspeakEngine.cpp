#include "hosts/speech/EspeakEngine.h"

#include <espeak-ng/speak_lib.h>

#include "hosts/speech/SpeechText.h"
#include "hosts/speech/VoiceName.h"

namespace hosts::speech {

namespace {

struct Utterance {
    AudioSink* sink;
    int sampleRate;
    bool opened = false;
    bool failed = false;
};

// Runs on the owner thread inside espeak_Synth; returning 1 stops the synthesis.
int OnSamples(short* wav, int count, espeak_EVENT* events) {
    if (events == nullptr || events->user_data == nullptr) return 1;
    auto* u = static_cast<Utterance*>(events->user_data);
    if (wav == nullptr || count <= 0) return 0;
    if (!u->opened) {
        u->opened = true;
        if (!u->sink->Open(u->sampleRate)) {
            u->failed = true;
            return 1;
        }
    }
    if (!u->sink->Write(wav, static_cast<std::size_t>(count))) {
        u->failed = true;
        return 1;
    }
    return 0;
}

}  // namespace

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
        owner_ = std::thread([this] { run(); });
    }
    cv_.wait(lock, [this] { return ready_; });
    return voice_;
}

void EspeakEngine::run() {
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
    std::unique_lock lock(m_);
    sampleRate_ = rate;
    voice_ = chosen;
    ready_ = true;
    cv_.notify_all();
    for (;;) {
        cv_.wait(lock, [this] { return stop_ || jobText_ != nullptr; });
        if (jobText_ != nullptr) {
            const std::string* text = jobText_;
            AudioSink* sink = jobSink_;
            lock.unlock();
            const bool ok = speakOnOwner(*text, *sink);
            lock.lock();
            jobText_ = nullptr;
            jobResult_ = ok;
            jobDone_ = true;
            cv_.notify_all();
            continue;
        }
        if (stop_) break;
    }
    lock.unlock();
    if (rate > 0) espeak_Terminate();
}

bool EspeakEngine::speakOnOwner(const std::string& text, AudioSink& sink) {
    if (sampleRate_ <= 0) return false;
    Utterance u{&sink, sampleRate_};
    // espeakCHARS_UTF8 without espeakSSML or espeakPHONEMES: chat text is read, never obeyed.
    const espeak_ERROR err = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                                          nullptr, &u);
    if (err != EE_OK || u.failed) return false;
    return u.opened ? sink.Drain() : true;
}

bool EspeakEngine::Speak(std::string_view utf8, AudioSink& sink) {
    if (utf8.empty()) return true;
    const std::string text = SpeakableText(utf8);
    std::lock_guard caller(callers_);
    (void)VoiceName();  // starts the owner thread and waits for the engine
    std::unique_lock lock(m_);
    if (sampleRate_ <= 0) return false;
    jobText_ = &text;
    jobSink_ = &sink;
    jobDone_ = false;
    cv_.notify_all();
    cv_.wait(lock, [this] { return jobDone_; });
    return jobResult_;
}

}  // namespace hosts::speech
