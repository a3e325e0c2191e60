// SAPI speech: what a voice hands SpVoice (through a recording port), and the real SpVoice of
// the machine, which under Wine refuses to speak: the relay's speech-failing path.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "hosts/sapi/SapiVoice.h"

namespace hosts::sapi {
namespace {

struct Calls {
    std::vector<std::pair<std::wstring, std::uint32_t>> spoken;
    std::int32_t speakResult = S_OK;
    std::int32_t waitResult = S_OK;
    std::uint32_t waitedMs = 0;
    std::optional<std::size_t> position;
    int silenced = 0;
};

class RecordingPort final : public VoicePort {
public:
    explicit RecordingPort(Calls& c) : c_(c) {}
    std::int32_t Speak(const std::wstring& text, std::uint32_t flags) override {
        c_.spoken.emplace_back(text, flags);
        return c_.speakResult;
    }
    std::int32_t WaitUntilDone(std::uint32_t ms) override {
        c_.waitedMs = ms;
        return c_.waitResult;
    }
    std::optional<std::size_t> InputPosition() override { return c_.position; }
    void Silence() override { ++c_.silenced; }

private:
    Calls& c_;
};

TEST(SapiVoice, HandsSapiTheTextOnceConvertedAndTheFlagsAsTheyAre) {
    struct Case {
        std::string text;
        relay::SpeakFlags flags;
        std::wstring sapiText;
        std::uint32_t sapiFlags;
    };
    const Case cases[] = {
        {"bom dia", relay::kSpeakLiteral, L"bom dia", 16},
        {"você está aí", relay::kSpeakLiteral | relay::kSpeakAsync, L"voc\u00ea est\u00e1 a\u00ed", 17},
        {"<silence msec=\"600000\"/>", relay::kSpeakLiteral, L"<silence msec=\"600000\"/>", 16},  // read, not obeyed
        {std::string("bom\0dia", 7), relay::kSpeakLiteral, L"bom dia", 16},                  // a NUL does not cut it short
        // Nothing in a line reaches the voice as anything but text: control characters, C1 and
        // line ends included, and stray bytes are blanks.
        {"a\tb\r\nc\x01" "0A\x1b", relay::kSpeakLiteral, L"a b  c 0A ", 16},
        {"a\xc2\x85" "b\xe2\x80\xa8" "c", relay::kSpeakLiteral, L"a b c", 16},
        {"x\xff", relay::kSpeakLiteral, L"x ", 16},
        {"", relay::kSpeakPurgeBeforeSpeak, L"", 2},  // stops what is playing
    };
    for (const Case& c : cases) {
        Calls calls;
        SapiVoice voice(std::make_unique<RecordingPort>(calls));
        EXPECT_EQ(voice.Speak(c.text, c.flags), echolink::kOk) << c.text;
        ASSERT_EQ(calls.spoken.size(), 1u) << c.text;
        EXPECT_EQ(calls.spoken[0].first, c.sapiText) << c.text;
        EXPECT_EQ(calls.spoken[0].second, c.sapiFlags) << c.text;
    }
}

TEST(SapiVoice, ReportsSapisResultsAndProgress) {
    Calls calls;
    SapiVoice voice(std::make_unique<RecordingPort>(calls));
    calls.speakResult = static_cast<std::int32_t>(E_NOTIMPL);
    EXPECT_EQ(voice.Speak("bom dia", relay::kSpeakLiteral).code, static_cast<std::int32_t>(E_NOTIMPL));

    calls.speakResult = S_OK;
    ASSERT_EQ(voice.Speak("\xf0\x9f\x93\xbb r\xc3\xa1" "dio", relay::kSpeakLiteral), echolink::kOk);
    EXPECT_TRUE(voice.WaitUntilDone(std::chrono::seconds(180)));
    EXPECT_EQ(calls.waitedMs, 180000u);
    calls.waitResult = S_FALSE;
    EXPECT_FALSE(voice.WaitUntilDone(std::chrono::milliseconds(5)));
    calls.position = 3;  // UTF-16 offset of "rádio": the radio sign is two units, one character
    EXPECT_EQ(voice.SpokenCharacters(), std::optional<std::size_t>(2));
    calls.position.reset();
    EXPECT_EQ(voice.SpokenCharacters(), std::nullopt);
}

TEST(LiveVoices, TheGuardSilencesTheVoicesAliveAndNoOther) {
    Calls first;
    Calls second;
    auto live = std::make_shared<LiveVoices>();
    auto gone = std::make_unique<SapiVoice>(std::make_unique<RecordingPort>(first), live);
    SapiVoice speaking(std::make_unique<RecordingPort>(second), live);
    gone.reset();
    live->SilenceAll();
    EXPECT_EQ(first.silenced, 0);
    EXPECT_EQ(second.silenced, 1);
}

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

TEST(SapiSpeechEngine, WineSpeechFailsQuietlyAndAtOnce) {
    if (!UnderWine()) GTEST_SKIP() << "only Wine's SAPI is known to refuse";
    SapiSpeechEngine engine;
    auto voice = engine.CreateVoice();
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->Speak("bom dia", relay::kSpeakLiteral).code, static_cast<std::int32_t>(E_NOTIMPL));
    EXPECT_EQ(voice->Speak("bom dia", relay::kSpeakLiteral | relay::kSpeakAsync).code,
              static_cast<std::int32_t>(E_NOTIMPL));
}

}  // namespace
}  // namespace hosts::sapi
