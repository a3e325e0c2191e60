// The process's one espeak-ng engine. espeak-ng may be initialised only once per process and
// must never synthesise on two threads at once, so a single owner thread holds it for good.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "hosts/speech/AudioSink.h"

namespace hosts::speech {

// One text on its way through the engine into its own sink; shared by the voice that started it
// and the owner thread. Thread-safe.
class Utterance {
public:
    // Waits at most `timeout` for the speech to end (played out, stopped or failed).
    bool Wait(std::chrono::milliseconds timeout);
    void Wait();
    // Asks the engine to stop synthesis at the next block and drop what the sink has not played
    // yet; an utterance still queued is never started. Returns at once.
    void RequestStop() { stop_.store(true); }
    // RequestStop, then waits until the utterance has ended.
    void Stop();
    bool Succeeded();
    // Characters (code points) of the text synthesised so far, by espeak-ng's word events.
    std::size_t ReachedCharacters() const { return reached_.load(); }

private:
    friend class EspeakEngine;
    void Finish(bool ok);

    std::string text_;
    std::unique_ptr<AudioSink> sink_;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> reached_{0};
    std::mutex m_;
    std::condition_variable cv_;
    bool done_ = false;
    bool ok_ = false;
};

class EspeakEngine {
public:
    // The engine of this process, started on first use (documented process-wide state).
    static EspeakEngine& Instance();

    // Queues the text to be spoken literally (no markup, no phoneme codes) into the sink and
    // returns at once; utterances are spoken one after another. Samples are written as they are
    // synthesised, so memory stays bounded however long the text. An empty text opens no output
    // and ends at once; when the engine cannot start the utterance ends failed.
    std::shared_ptr<Utterance> Start(std::string_view utf8, std::unique_ptr<AudioSink> sink);

    // Speaks and returns once the sink has drained; false when the engine or sink failed.
    bool Speak(std::string_view utf8, std::unique_ptr<AudioSink> sink);

    // The voice chosen at start-up from the locale, or "" for espeak-ng's default.
    std::string VoiceName();

    ~EspeakEngine();
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

private:
    EspeakEngine();
    void Run();
    bool SpeakOnOwner(Utterance& u);
    void FreshVoice();

    std::mutex m_;
    std::condition_variable cv_;
    bool started_ = false;
    bool stop_ = false;
    bool ready_ = false;
    int sampleRate_ = 0;
    std::string voice_;
    // espeak-ng's own settings as it started (rate, volume, pitch, range, punctuation, capitals,
    // word gap), indexed by its parameter number; read and written on the owner thread only.
    std::array<int, 8> defaults_{};
    std::deque<std::shared_ptr<Utterance>> queue_;
    std::thread owner_;
};

}  // namespace hosts::speech
