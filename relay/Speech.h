// Text-to-speech as the relay uses it: a new voice for each line, one synchronous Speak call.
// Backends (SAPI, espeak-ng) and the test fake implement it; the caller owns each voice it creates.
#pragma once

#include <cstdint>
#include <memory>
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

// What the relay always passes: synchronous, and never parsed as markup. Chat text comes from any
// station on the link; with markup parsing a line such as '<silence msec="600000"/>' would hold
// the transmitter keyed for ten minutes.
inline constexpr SpeakFlags kSpeakLiteral = kSpeakIsNotXml;

class Voice {
public:
    virtual ~Voice() = default;
    // Speaks `text` (UTF-8, any characters, NUL included) with the default voice and audio output.
    // Without kSpeakAsync it returns only when the speech has ended. With kSpeakIsNotXml every
    // character is text: no markup (SSML, SAPI XML) is ever interpreted. A backend that cannot
    // honour a flag returns a failure without speaking.
    virtual echolink::HResult Speak(const std::string& text, SpeakFlags flags) = 0;
};

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // A new voice, or null when no speech engine is available.
    virtual std::unique_ptr<Voice> CreateVoice() = 0;
};

}  // namespace relay
