// The process's one espeak-ng engine. espeak-ng may be initialised only once per process and
// must never synthesise on two threads at once, so a single owner thread holds it for good.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "hosts/speech/AudioSink.h"

namespace hosts::speech {

class EspeakEngine {
public:
    // The engine of this process, started on first use (documented process-wide state).
    static EspeakEngine& Instance();

    // Speaks the text literally (no markup, no phoneme codes) into the sink, and returns once the
    // sink has drained. Samples are written as they are synthesised, so memory stays bounded
    // however long the text. An empty text opens no output. False when the engine or sink failed.
    bool Speak(std::string_view utf8, AudioSink& sink);

    // The voice chosen at start-up from the locale, or "" for espeak-ng's default.
    std::string VoiceName();

    ~EspeakEngine();
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

private:
    EspeakEngine();
    void run();
    bool speakOnOwner(const std::string& text, AudioSink& sink);

    std::mutex callers_;  // one utterance at a time
    std::mutex m_;
    std::condition_variable cv_;
    bool started_ = false;
    bool stop_ = false;
    bool ready_ = false;
    int sampleRate_ = 0;
    std::string voice_;
    // The job in flight, handed to the owner thread.
    const std::string* jobText_ = nullptr;
    AudioSink* jobSink_ = nullptr;
    bool jobDone_ = false;
    bool jobResult_ = false;
    std::thread owner_;
};

}  // namespace hosts::speech
