// Speech through the real espeak-ng engine into a recording output: synchronous, literal, quiet
// on failure. Only the audio device is replaced.
#if defined(DIZO_HAVE_SPEECH)
#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include "hosts/speech/EspeakEngine.h"
#include "hosts/speech/EspeakVoice.h"

namespace hosts::speech {
namespace {

struct Recording {
    int opens = 0;
    int rate = 0;
    std::size_t samples = 0;
    double sumSquares = 0;
    int writes = 0;
    int drains = 0;
    int discards = 0;
    bool writeFails = false;
    bool openFails = false;
    // When set, the write after the first `gateAfter` ones blocks until the gate opens, as a
    // full audio device would; the test sees the speech "playing" without any sleep.
    int gateAfter = -1;
    std::mutex m;
    std::condition_variable cv;
    bool blocked = false;  // the engine is inside the gated write
    bool gateOpen = false;
    double Seconds() const { return rate > 0 ? static_cast<double>(samples) / rate : 0.0; }
    double Rms() const { return samples > 0 ? std::sqrt(sumSquares / static_cast<double>(samples)) : 0.0; }
    void WaitUntilBlocked() {
        std::unique_lock lock(m);
        cv.wait(lock, [this] { return blocked; });
    }
    void OpenGate() {
        {
            std::lock_guard lock(m);
            gateOpen = true;
        }
        cv.notify_all();
    }
};

class RecordingSink final : public AudioSink {
public:
    explicit RecordingSink(Recording& r) : r_(r) {}
    bool Open(int sampleRate) override {
        ++r_.opens;
        r_.rate = sampleRate;
        return !r_.openFails;
    }
    bool Write(const std::int16_t* samples, std::size_t count) override {
        std::unique_lock lock(r_.m);
        if (r_.gateAfter >= 0 && r_.writes >= r_.gateAfter && !r_.gateOpen) {
            r_.blocked = true;
            r_.cv.notify_all();
            r_.cv.wait(lock, [this] { return r_.gateOpen; });
        }
        ++r_.writes;
        r_.samples += count;
        for (std::size_t i = 0; i < count; ++i) r_.sumSquares += static_cast<double>(samples[i]) * samples[i];
        return !r_.writeFails;
    }
    bool Drain() override {
        ++r_.drains;
        return true;
    }
    bool Discard() override {
        ++r_.discards;
        return true;
    }

private:
    Recording& r_;
};

std::unique_ptr<AudioSink> SinkOf(Recording& r) { return std::make_unique<RecordingSink>(r); }

echolink::HResult SpeakInto(Recording& r, const std::string& text, relay::SpeakFlags flags = relay::kSpeakLiteral) {
    EspeakSpeechEngine engine([&r] { return SinkOf(r); });
    return engine.CreateVoice()->Speak(text, flags);
}

// Minutes of speech: it is always stopped long before its end.
std::string LongText() {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "uma frase longa que nunca acaba ";
    return text;
}

TEST(EspeakVoice, SpeaksTextIntoOneDrainedOutput) {
    struct Case {
        std::string text;
        double minSeconds;
        double maxSeconds;
    };
    const Case cases[] = {
        {"bom dia", 0.3, 3.0},
        {"bom dia ", 0.3, 3.0},
        {"está ligado", 0.3, 4.0},
        {std::string("bom\0dia", 7), 0.3, 3.0},   // a NUL does not cut the text short
        // Literal: read aloud as characters, never obeyed as a ten-minute pause.
        {"<silence msec=\"600000\"/>", 0.3, 20.0},
        {"[[h@'loU]] x", 0.3, 20.0},
    };
    for (const Case& c : cases) {
        Recording r;
        EXPECT_EQ(SpeakInto(r, c.text), echolink::kOk) << c.text;
        EXPECT_EQ(r.opens, 1) << c.text;
        EXPECT_EQ(r.drains, 1) << c.text;
        EXPECT_GT(r.Seconds(), c.minSeconds) << c.text;
        EXPECT_LT(r.Seconds(), c.maxSeconds) << c.text;
    }
}

// espeak-ng's embedded commands (byte 0x01, a number, a letter) change nothing: the line that
// carries them is heard, and the plain line after them is as loud and as long as before them.
TEST(EspeakVoice, EmbeddedCommandsChangeNothingForLaterLines) {
    const std::string message = "bom dia a todos os colegas";
    Recording before;
    ASSERT_EQ(SpeakInto(before, message), echolink::kOk);
    for (const std::string& hostile : {"\x01" "0A" + message, "\x01" "50S" + message, "\x01" "0R\x01" "99P" + message}) {
        Recording r;
        EXPECT_EQ(SpeakInto(r, hostile), echolink::kOk);
        EXPECT_GT(r.Rms(), before.Rms() / 2);
    }
    Recording after;
    ASSERT_EQ(SpeakInto(after, message), echolink::kOk);
    EXPECT_NEAR(after.Seconds(), before.Seconds(), before.Seconds() * 0.05);
    EXPECT_NEAR(after.Rms(), before.Rms(), before.Rms() * 0.05);
}

TEST(EspeakVoice, EmptyTextOpensNoOutput) {
    Recording r;
    EXPECT_EQ(SpeakInto(r, ""), echolink::kOk);
    EXPECT_EQ(r.opens, 0);
}

TEST(EspeakVoice, OutputFailuresAreReportedNotThrown) {
    Recording noDevice;
    noDevice.openFails = true;
    EXPECT_TRUE(SpeakInto(noDevice, "bom dia").Failed());
    EXPECT_EQ(noDevice.samples, 0u);

    Recording brokenDevice;
    brokenDevice.writeFails = true;
    EXPECT_TRUE(SpeakInto(brokenDevice, "uma frase bem mais longa do que a primeira, para vários blocos").Failed());
    EXPECT_EQ(brokenDevice.drains, 0);

    // The engine is still usable after a failed utterance.
    Recording fine;
    EXPECT_EQ(SpeakInto(fine, "ok"), echolink::kOk);
    EXPECT_GT(fine.samples, 0u);
}

TEST(EspeakVoice, RefusesWhatItCannotHonour) {
    for (relay::SpeakFlags flags : {relay::kSpeakIsXml, relay::kSpeakIsFilename,
                                    relay::kSpeakAsync | relay::kSpeakIsXml}) {
        Recording r;
        EXPECT_TRUE(SpeakInto(r, "bom dia", flags).Failed()) << flags.bits;
        EXPECT_EQ(r.opens, 0) << flags.bits;
    }
    Recording r;
    EXPECT_EQ(SpeakInto(r, "bom dia", relay::kSpeakDefault), echolink::kOk);
}

TEST(EspeakVoice, AsynchronousSpeechIsWaitedOnUntilItHasPlayed) {
    Recording r;
    EspeakSpeechEngine engine([&r] { return SinkOf(r); });
    const std::unique_ptr<relay::Voice> voice = engine.CreateVoice();
    EXPECT_TRUE(voice->WaitUntilDone(std::chrono::milliseconds(0)));  // nothing queued
    EXPECT_EQ(voice->Speak("bom dia", relay::kSpeakLiteralAsync), echolink::kOk);
    EXPECT_TRUE(voice->WaitUntilDone(std::chrono::minutes(1)));
    EXPECT_EQ(r.drains, 1);
    EXPECT_GT(r.Seconds(), 0.3);
}

// The stop is asked for while the device holds the engine in a write: that block is the last
// one written, and what the device still holds is dropped, never drained.
TEST(EspeakVoice, StopTakesEffectAtTheNextBlock) {
    Recording r;
    r.gateAfter = 2;
    const std::string text = LongText();
    const std::shared_ptr<Utterance> u = EspeakEngine::Instance().Start(text, SinkOf(r));
    r.WaitUntilBlocked();
    u->RequestStop();
    r.OpenGate();
    u->Wait();
    EXPECT_FALSE(u->Succeeded());
    EXPECT_EQ(r.writes, r.gateAfter + 1);
    EXPECT_EQ(r.discards, 1);
    EXPECT_EQ(r.drains, 0);
    EXPECT_LT(u->ReachedCharacters(), text.size() / 2);
}

// A purge silences all the voice has queued: the playing text is dropped and the next one never
// reaches the device.
TEST(EspeakVoice, PurgeStopsPlayingAndQueuedSpeech) {
    Recording r;
    r.gateAfter = 2;
    EspeakSpeechEngine engine([&r] { return SinkOf(r); });
    const std::unique_ptr<relay::Voice> voice = engine.CreateVoice();
    ASSERT_EQ(voice->Speak(LongText(), relay::kSpeakLiteralAsync), echolink::kOk);
    ASSERT_EQ(voice->Speak("bom dia", relay::kSpeakLiteralAsync), echolink::kOk);
    r.WaitUntilBlocked();
    EXPECT_FALSE(voice->WaitUntilDone(std::chrono::milliseconds(0)));
    EXPECT_TRUE(voice->SpokenCharacters().has_value());
    auto purge = std::async(std::launch::async, [&] { return voice->Speak("", relay::kSpeakPurgeBeforeSpeak); });
    r.OpenGate();
    EXPECT_EQ(purge.get(), echolink::kOk);
    EXPECT_TRUE(voice->WaitUntilDone(std::chrono::milliseconds(0)));
    EXPECT_EQ(r.opens, 1);
    EXPECT_EQ(r.discards, 1);
    EXPECT_EQ(r.drains, 0);
}

TEST(EspeakVoice, NoSinkMeansQuietFailure) {
    EspeakSpeechEngine engine([] { return std::unique_ptr<AudioSink>(); });
    EXPECT_TRUE(engine.CreateVoice()->Speak("bom dia", relay::kSpeakLiteral).Failed());
}

}  // namespace
}  // namespace hosts::speech
#endif
