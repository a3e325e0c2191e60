#include <gtest/gtest.h>

#include "relay/tests/Rig.h"

namespace relay::testing {
namespace {

using Strings = std::vector<std::string>;

// Both buttons with each combination of filled boxes: the calls in order, emptied boxes, focus.
TEST(ManualSend, SendsWhatTheBoxesHoldAndEmptiesThem) {
    struct Row {
        const char* name;
        const char* button;
        bool on;
        std::string morse;
        std::string speech;
        Strings log;
        std::optional<Control> focus;
    };
    const Row rows[] = {
        {"local, both", "local", true, "cq", "bom dia",
         {"SendMorse(0, BSTR 'cq')", "SetText(Text1, '')", "SetFocus(Text1)", "SetTransmit(True)", "CreateVoice",
          "Speak('bom dia', 17)", "SetText(Text13, '')", "SetFocus(Text13)", "SetTransmit(False)", "ReleaseVoice"},
         Control::Text13},
        {"local, Morse only", "local", true, "cq", "",
         {"SendMorse(0, BSTR 'cq')", "SetText(Text1, '')", "SetFocus(Text1)"}, Control::Text1},
        {"local, speech only, final = spoken too", "local", true, "", "oi=",
         {"SetTransmit(True)", "CreateVoice", "Speak('oi=', 17)", "SetText(Text13, '')", "SetFocus(Text13)",
          "SetTransmit(False)", "ReleaseVoice"},
         Control::Text13},
        {"local, relay off", "local", false, "cq", "oi", {}, std::nullopt},
        {"local, both empty", "local", true, "", "", {}, std::nullopt},
        {"remoto, both", "remoto", true, "cq", "boa noite",
         {"PostChatLine('cq>')", "SetText(Text1, '')", "SetFocus(Text1)", "PostChatLine('boa noite =')",
          "SetText(Text13, '')", "SetFocus(Text13)"},
         Control::Text13},
        {"remoto, Morse only", "remoto", true, "cq", "",
         {"PostChatLine('cq>')", "SetText(Text1, '')", "SetFocus(Text1)"}, Control::Text1},
        {"remoto, blanks are not empty", "remoto", true, "", "  ",
         {"PostChatLine('   =')", "SetText(Text13, '')", "SetFocus(Text13)"}, Control::Text13},
        {"remoto, several lines as typed", "remoto", true, "cq\r\nde", "",
         {"PostChatLine('cq\r\nde>')", "SetText(Text1, '')", "SetFocus(Text1)"}, Control::Text1},
        {"remoto, relay off", "remoto", false, "cq", "oi", {}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.LoadAndClear(row.on);
        rig.form.texts[Control::Text1] = row.morse;
        rig.form.texts[Control::Text13] = row.speech;
        rig.form.focus.reset();
        rig.log.Clear();
        EXPECT_TRUE(rig.window.Click(row.button));
        EXPECT_EQ(rig.log.Texts(), row.log);
        EXPECT_EQ(rig.form.focus, row.focus);
        const bool sent = !row.log.empty();
        EXPECT_EQ(rig.form.Text(Control::Text1), sent ? "" : row.morse);
        EXPECT_EQ(rig.form.Text(Control::Text13), sent ? "" : row.speech);
        EXPECT_EQ(rig.speech.voicesAlive, 0);
    }
}

TEST(ManualSend, TypedMarkupIsSpokenLiterallyWithoutAPause) {
    Rig rig;
    rig.LoadAndClear();
    rig.form.texts[Control::Text13] = "<silence msec=\"600000\"/>";
    rig.window.Click("local");
    EXPECT_EQ(rig.speech.lastText, "<silence msec=\"600000\"/>");
    EXPECT_EQ(rig.speech.lastFlags, kSpeakLiteralAsync);
    EXPECT_EQ(rig.log.now, rig.speech.speechDuration);  // no one-second wait here
}

TEST(ManualSend, BoxesAreEmptiedAndTheTransmitterUnkeyedWhateverFails) {
    struct Row {
        const char* name;
        bool echoLinkPresent;
        bool echoLinkFails;
        bool speechAbsent;
        bool speakFails;
        bool focusFails;
    };
    const Row rows[] = {
        {"EchoLink absent", false, false, false, false, false},
        {"EchoLink fails", true, true, false, false, false},
        {"no speech engine", true, false, true, false, false},
        {"speech fails", true, false, false, true, false},
        {"focus refused", true, false, false, false, true},
    };
    for (const char* button : {"local", "remoto"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(button) + ": " + row.name);
            Rig rig(row.echoLinkPresent);
            rig.LoadAndClear();
            rig.echoLink.failSetTransmit = rig.echoLink.failSendMorse = rig.echoLink.failPostChatLine =
                row.echoLinkFails;
            rig.speech.available = !row.speechAbsent;
            rig.speech.speakFails = row.speakFails;
            rig.form.focusFails = row.focusFails;
            rig.form.texts[Control::Text1] = "cq";
            rig.form.texts[Control::Text13] = "oi";
            rig.window.Click(button);
            EXPECT_EQ(rig.form.Text(Control::Text1), "");
            EXPECT_EQ(rig.form.Text(Control::Text13), "");
            if (row.echoLinkPresent && std::string(button) == "local") {
                EXPECT_FALSE(rig.echoLink.calls.back().keyed);
                EXPECT_EQ(rig.echoLink.calls.back().op, echolink::Operation::SetTransmit);
            }
        }
    }
}

}  // namespace
}  // namespace relay::testing
