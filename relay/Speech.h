// Text-to-speech as the relay uses it: a new voice for each line, spoken asynchronously, waited on
// with a time-out and purged when it overruns. Backends (SAPI, espeak-ng) and the test fake implement it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "echolink/HResult.h"

namespace relay {

// Speak flags, numbered as SAPI's SpeechVoiceSpeakFlags so a SAPI backend passes them through.
struct SpeakFlags {
    std::uint32_t bits = 0;
    constexpr bool Has(SpeakFlags f) const { return (bits & f.bits) == f.bits; }
    friend constexpr SpeakFlags operator|(SpeakFlags a, SpeakFlags b) { return SpeakFlags{a.bits | b.bits}; }
    friend constexpr bool operator==(SpeakFlags, SpeakFlags) = default;
};

inline constexpr SpeakFlags kSpeakDefault{0};
inline constexpr SpeakFlags kSpeakAsync{1};
inline constexpr SpeakFlags kSpeakPurgeBeforeSpeak{2};
inline constexpr SpeakFlags kSpeakIsFilename{4};
inline constexpr SpeakFlags kSpeakIsXml{8};
inline constexpr SpeakFlags kSpeakIsNotXml{16};

// Chat text is never parsed as markup: it comes from any station on the link, and with markup
// parsing a line such as '<silence msec="600000"/>' would hold the transmitter keyed for minutes.
inline constexpr SpeakFlags kSpeakLiteral = kSpeakIsNotXml;
// What the relay passes to start a text: literal, and asynchronous so it can bound the wait.
inline constexpr SpeakFlags kSpeakLiteralAsync = kSpeakIsNotXml | kSpeakAsync;

class Voice {
public:
    virtual ~Voice() = default;
    // Speaks `text` (UTF-8, any characters, NUL included) with the default voice and audio output.
    // Without kSpeakAsync it returns only when the speech has ended; with it, as soon as the text
    // is queued. With kSpeakIsNotXml every character is text: no markup (SSML, SAPI XML) is ever
    // interpreted. With kSpeakPurgeBeforeSpeak whatever this voice is still speaking stops first
    // and is dropped; Speak("", kSpeakPurgeBeforeSpeak) only stops, and returns once the voice is
    // silent. A backend that cannot honour a flag returns a failure without speaking.
    virtual echolink::HResult Speak(const std::string& text, SpeakFlags flags) = 0;
    // Waits at most `timeout` for this voice's queued speech to end. True when it has ended (or
    // nothing is queued), false when the time ran out with speech still playing.
    virtual bool WaitUntilDone(std::chrono::milliseconds timeout) = 0;
    // How many characters (code points) of the last text spoken have been reached so far, when
    // the backend can tell; only used to say how much a time-out cut off.
    virtual std::optional<std::size_t> SpokenCharacters() const { return std::nullopt; }
};

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // A new voice, or null when no speech engine is available.
    virtual std::unique_ptr<Voice> CreateVoice() = 0;
};

}  // namespace relay
