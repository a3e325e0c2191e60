#include <gtest/gtest.h>

#include "relay/ChatLine.h"
#include "relay/tests/Rig.h"

namespace relay::testing {
namespace {

using Strings = std::vector<std::string>;
using std::chrono::milliseconds;

Strings Spoken(const std::string& text) {
    return {"SetTransmit(True)", "Sleep(1000)",       "CreateVoice",
            "Speak('" + text + "', 17)", "SetTransmit(False)", "ReleaseVoice"};
}

// Each line in both relay states: the exact calls in order, and whether the program ends.
TEST(ChatRelay, ObeysTheEndingOnlyWhileTheRelayIsOn) {
    struct Row {
        std::string line;
        Strings whenOn;
        Strings whenOff;
        std::string message;
    };
    const Strings quit{"EndNow"};
    const Row rows[] = {
        {"QD4RV>bom dia=", Spoken("bom dia"), {}, "bom dia="},
        {"QD4RV>bom dia =", Spoken("bom dia "), {}, "bom dia ="},
        {"QD4RV>cq test>", {"SendMorse(0, BSTR 'cq test>')"}, {}, "cq test>"},
        {"QD4RV>tchau fdp", quit, quit, "tchau fdp"},
        {"QD4RV>FDP", {}, {}, "FDP"},
        {">hello=", Spoken("hello"), {}, "hello="},
        {"ABCDEFGHIJ>oi=", Spoken("ABCDEFGHIJ>oi"), {}, "ABCDEFGHIJ>oi="},
        {"QD4RV>=", Spoken(""), {}, "="},
        {"QD4RV>", {}, {}, ""},
        {"no separator fdp", quit, quit, "no separator fdp"},
        {"Jos\xC3\xA9 Ant>ol\xC3\xA1=", Spoken("ol\xC3\xA1"), {}, "ol\xC3\xA1="},
        {"S\xC3\xA3o Paulo>73>", {"SendMorse(0, BSTR '73>')"}, {}, "73>"},
    };
    for (const Row& row : rows) {
        for (const bool on : {true, false}) {
            SCOPED_TRACE(row.line + (on ? " (on)" : " (off)"));
            Rig rig;
            rig.LoadAndClear(on);
            rig.echoLink.RaiseChatTextReceived(row.line);
            EXPECT_EQ(rig.log.Texts(), on ? row.whenOn : row.whenOff);
            EXPECT_EQ(rig.window.MessageText(), row.message);
            EXPECT_EQ(rig.speech.voicesAlive, 0);
            EXPECT_TRUE(rig.program.unloaded.empty());  // "fdp" runs no exit steps
            EXPECT_EQ(rig.RedLamp(), on);
        }
    }
}

TEST(ChatRelay, SendMorseGetsAVariantHoldingTheWholeMessage) {
    Rig rig;
    rig.LoadAndClear();
    rig.echoLink.RaiseChatTextReceived("QD4RV>cq test>");
    ASSERT_EQ(rig.echoLink.calls.size(), 1u);
    const echolink::RecordedCall& call = rig.echoLink.calls[0];
    EXPECT_EQ(call.op, echolink::Operation::SendMorse);
    EXPECT_EQ(call.reserved, 0);
    EXPECT_EQ(call.text.Type(), echolink::VarType::Bstr);
    EXPECT_EQ(call.text.String(), "cq test>");
}

TEST(ChatRelay, KeysAtLeastOneSecondBeforeSpeakingAndUnkeysAfterTheSpeech) {
    Rig rig;
    rig.LoadAndClear();
    rig.speech.speechDuration = milliseconds(2500);
    rig.echoLink.RaiseChatTextReceived("QD4RV>bom dia=");
    const auto& e = rig.log.entries;
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0].what, "SetTransmit(True)");
    EXPECT_EQ(e[3].what.rfind("Speak(", 0), 0u);
    EXPECT_EQ(e[4].what, "SetTransmit(False)");
    EXPECT_GE(e[3].at - e[0].at, milliseconds(1000));
    EXPECT_GE(e[4].at - e[3].at, rig.speech.speechDuration);
}

TEST(ChatRelay, MarkupInAChatLineIsSpokenLiterally) {
    Rig rig;
    rig.LoadAndClear();
    rig.echoLink.RaiseChatTextReceived("QD4RV><silence msec=\"600000\"/>=");
    EXPECT_EQ(rig.speech.lastText, "<silence msec=\"600000\"/>");
    EXPECT_TRUE(rig.speech.lastFlags.Has(kSpeakIsNotXml));
    EXPECT_FALSE(rig.speech.lastFlags.Has(kSpeakIsXml));
    EXPECT_TRUE(rig.speech.lastFlags.Has(kSpeakAsync));  // so the wait can be bounded
    EXPECT_EQ(rig.echoLink.calls.back().keyed, false);
}

TEST(ChatRelay, UntrustedLinesOfAnySizeAndContentPassThroughUnchanged) {
    std::string huge(1 << 20, 'a');
    huge.replace(0, 6, "QD4RV>");
    huge.back() = '=';
    const std::string binary = std::string("QD4RV>\0\x01\x7f\xF0\x9F\x98\x80\r\n", 14) + "=";
    struct Row {
        std::string line;
        std::string spoken;
    };
    const Row rows[] = {
        {huge, huge.substr(6, huge.size() - 7)},
        {binary, binary.substr(6, binary.size() - 7)},
        {"=", ""},
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.LoadAndClear();
        rig.echoLink.RaiseChatTextReceived(row.line);
        EXPECT_EQ(rig.speech.spoken, 1);
        EXPECT_EQ(rig.speech.lastText.size(), row.spoken.size());
        EXPECT_TRUE(rig.speech.lastText == row.spoken);
    }
    // Morse up to its limit goes to EchoLink byte for byte; a longer message is not sent at all.
    std::string morse = "QD4RV>" + binary.substr(6, binary.size() - 7);
    morse += std::string(kMorseCharacterLimit - CharacterCount(morse.substr(6)) - 1, 'a') + ">";
    for (const bool tooLong : {false, true}) {
        Rig rig;
        rig.LoadAndClear();
        rig.echoLink.RaiseChatTextReceived(tooLong ? "QD4RV>a" + morse.substr(6) : morse);
        ASSERT_EQ(rig.echoLink.calls.size(), tooLong ? 0u : 1u);
        if (!tooLong) {
            EXPECT_EQ(rig.echoLink.calls[0].text.String(), morse.substr(6));
        }
    }
}

// Failing parts are skipped and the rest still runs; the transmitter is always unkeyed.
TEST(ChatRelay, EveryStepIsTriedWhenSpeechOrEchoLinkFails) {
    struct Row {
        const char* name;
        bool speechAbsent;
        bool speakFails;
        bool echoLinkFails;
        bool echoLinkAbsent;
        Strings log;
    };
    const Row rows[] = {
        {"no speech engine", true, false, false, false,
         {"SetTransmit(True)", "Sleep(1000)", "CreateVoice", "SetTransmit(False)"}},
        {"speech fails", false, true, false, false,
         {"SetTransmit(True)", "Sleep(1000)", "CreateVoice", "Speak('oi', 17)", "SetTransmit(False)", "ReleaseVoice"}},
        {"EchoLink fails: the unkeying is tried twice", false, false, true, false,
         {"SetTransmit(True)", "Sleep(1000)", "CreateVoice", "Speak('oi', 17)", "SetTransmit(False)",
          "SetTransmit(False)", "ReleaseVoice"}},
        {"EchoLink absent", false, false, false, true, {"Sleep(1000)", "CreateVoice", "Speak('oi', 17)", "ReleaseVoice"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig(!row.echoLinkAbsent);
        rig.LoadAndClear();
        rig.speech.available = !row.speechAbsent;
        rig.speech.speakFails = row.speakFails;
        rig.echoLink.failSetTransmit = row.echoLinkFails;
        rig.window.ChatTextReceived("QD4RV>oi=");
        EXPECT_EQ(rig.log.Texts(), row.log);
    }
}

TEST(ChatRelay, AHostThatThrowsIsTreatedAsAFailedStep) {
    struct ThrowingSpeech : SpeechEngine {
        std::unique_ptr<Voice> CreateVoice() override { throw std::runtime_error("no audio device"); }
    } speech;
    Rig rig;
    Form1 window{Form1Services{rig.echoLink, rig.form, speech, rig.pause, rig.program}};
    window.Load();
    rig.log.Clear();
    window.ChatTextReceived("QD4RV>oi=");
    EXPECT_EQ(rig.log.Texts(), (Strings{"SetTransmit(True)", "Sleep(1000)", "SetTransmit(False)"}));
}

}  // namespace
}  // namespace relay::testing
