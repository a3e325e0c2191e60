#include <gtest/gtest.h>

#include "relay/tests/Rig.h"

namespace relay::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(MainWindowLoad, AnnouncesOnceShowsTheRedLampAndFocusesTheSpeechBox) {
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present ? "EchoLink present" : "EchoLink absent");
        Rig rig(present);
        rig.form.texts[Control::Text13] = "left over";
        rig.window.Load();
        EXPECT_EQ(rig.window.HasEchoLink(), present);
        EXPECT_EQ(rig.echoLink.Connected(), present);
        const Strings expected = present ? Strings{kOnLine, "SetText(Text13, '')", "SetFocus(Text13)"}
                                         : Strings{"SetText(Text13, '')", "SetFocus(Text13)"};
        EXPECT_EQ(rig.log.Texts(), expected);
        EXPECT_TRUE(rig.RedLamp());
        EXPECT_FALSE(rig.GreyLamp());
        EXPECT_TRUE(rig.window.RelayOn());
        EXPECT_EQ(rig.form.focus, Control::Text13);
        EXPECT_TRUE(rig.program.unloaded.empty());
        EXPECT_EQ(rig.program.ended, 0);
    }
}

TEST(MainWindowLoad, EveryStepIsTriedWhenEarlierOnesFail) {
    Rig rig;
    rig.echoLink.failPostChatLine = true;
    rig.form.focusFails = true;
    rig.form.texts[Control::Text13] = "x";
    rig.window.Load();
    EXPECT_TRUE(rig.RedLamp());
    EXPECT_FALSE(rig.GreyLamp());
    EXPECT_EQ(rig.form.Text(Control::Text13), "");
    EXPECT_FALSE(rig.form.focus.has_value());
}

TEST(MainWindowLoad, LaterOperationsOfAMissingEchoLinkDoNothing) {
    Rig rig(false);
    rig.window.Load();
    rig.window.Click("desligar");
    rig.window.Click("ligar");
    rig.window.ChatTextReceived("QD4RV>cq>");
    EXPECT_TRUE(rig.echoLink.calls.empty());
    EXPECT_TRUE(rig.RedLamp());  // the lamps still follow the switch
}

// The relay switch from each state: what is posted, how the lamps end and where the focus goes.
TEST(RelaySwitch, PostsOnlyWhenTheStateChanges) {
    struct Row {
        const char* name;
        bool startOn;
        const char* button;
        Strings posted;
        bool endOn;
        std::optional<Control> focus;
    };
    const Row rows[] = {
        {"on, ligar", true, "ligar", {}, true, Control::Text1},
        {"off, ligar", false, "ligar", {kOnLine}, true, Control::Text1},
        {"on, desligar", true, "desligar", {kOffLine}, false, std::nullopt},
        {"off, desligar", false, "desligar", {}, false, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.LoadAndClear(row.startOn);
        rig.form.focus.reset();
        EXPECT_TRUE(rig.window.Click(row.button));
        Strings posted;
        for (const auto& call : rig.echoLink.calls) {
            posted.push_back(echolink::Describe(call));
        }
        EXPECT_EQ(posted, row.posted);
        EXPECT_EQ(rig.RedLamp(), row.endOn);
        EXPECT_EQ(rig.GreyLamp(), !row.endOn);
        EXPECT_EQ(rig.form.focus, row.focus);
    }
}

TEST(RelaySwitch, LampsFollowTheSwitchEvenWhenTheAnnouncementFails) {
    Rig rig;
    rig.LoadAndClear();
    rig.echoLink.failPostChatLine = true;
    rig.window.Click("desligar");
    EXPECT_FALSE(rig.window.RelayOn());
    EXPECT_TRUE(rig.GreyLamp());
    rig.window.Click("ligar");
    EXPECT_TRUE(rig.window.RelayOn());
    EXPECT_EQ(rig.echoLink.calls.size(), 2u);
}

// sair, EchoLink's Closing and the close box, from each state, with and without EchoLink.
TEST(MainWindowExit, AnnouncesOnlyWhenOnAndAlwaysEnds) {
    enum class Way { Sair, Closing, CloseBox };
    struct Row {
        const char* name;
        Way way;
        bool on;
        bool present;
        bool postFails;
        Strings log;
    };
    const Row rows[] = {
        {"sair while on", Way::Sair, true, true, false, {kOffLine, "Unload(Form1)"}},
        {"sair while off", Way::Sair, false, true, false, {"Unload(Form1)"}},
        {"Closing while on", Way::Closing, true, true, false, {kOffLine, "Unload(Form1)"}},
        {"Closing while off", Way::Closing, false, true, false, {"Unload(Form1)"}},
        {"close box while on", Way::CloseBox, true, true, false, {"Unload(Form1)"}},
        {"sair, EchoLink absent", Way::Sair, true, false, false, {"Unload(Form1)"}},
        {"sair, announcement fails", Way::Sair, true, true, true, {kOffLine, "Unload(Form1)"}},
        {"Closing, announcement fails", Way::Closing, true, true, true, {kOffLine, "Unload(Form1)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig(row.present);
        rig.LoadAndClear(row.on);
        rig.echoLink.failPostChatLine = row.postFails;
        switch (row.way) {
        case Way::Sair:
            EXPECT_TRUE(rig.window.Click("sair"));
            break;
        case Way::Closing:
            rig.echoLink.RaiseClosing();
            break;
        case Way::CloseBox:
            rig.window.CloseBox();
            break;
        }
        EXPECT_EQ(rig.log.Texts(), row.log);
        EXPECT_EQ(rig.program.ended, 0);
        EXPECT_EQ(rig.RedLamp(), row.on);  // the lamps are left as they were
    }
}

TEST(MainWindowExit, NothingMoreHappensOnceTheProgramIsEnding) {
    Rig rig;
    rig.LoadAndClear();
    rig.window.Click("sair");
    rig.echoLink.RaiseClosing();
    EXPECT_FALSE(rig.window.Click("sair"));
    EXPECT_FALSE(rig.window.Click("desligar"));
    rig.echoLink.RaiseChatTextReceived("QD4RV>oi=");
    EXPECT_EQ(rig.log.Texts(), (Strings{kOffLine, "Unload(Form1)"}));
}

// The two lamps are always switched together, so which one a path reads shows only when they
// disagree: switching on, the chat relay and the manual sends read the red lamp (Image2); switching
// off and the exits read the grey one (Image3). Each path runs from both inconsistent states.
TEST(LampsRead, EachPathTestsItsOwnLamp) {
    enum class Path { Ligar, Desligar, Sair, Closing, Chat, Local, Remoto };
    struct Row {
        const char* name;
        Path path;
        bool red;
        bool grey;
        Strings log;
    };
    const Strings morse{"SendMorse(0, BSTR 'cq>')"};
    const Strings unload{"Unload(Form1)"};
    const Strings sentHere{"SendMorse(0, BSTR 'cq')", "SetText(Text1, '')", "SetFocus(Text1)"};
    const Strings sentThere{"PostChatLine('cq>')", "SetText(Text1, '')", "SetFocus(Text1)"};
    const Row rows[] = {
        {"ligar, both lit", Path::Ligar, true, true, {"SetFocus(Text1)"}},
        {"ligar, both dark", Path::Ligar, false, false, {kOnLine, "SetFocus(Text1)"}},
        {"desligar, both lit", Path::Desligar, true, true, {}},
        {"desligar, both dark", Path::Desligar, false, false, {kOffLine}},
        {"sair, both lit", Path::Sair, true, true, unload},
        {"sair, both dark", Path::Sair, false, false, {kOffLine, "Unload(Form1)"}},
        {"Closing, both lit", Path::Closing, true, true, unload},
        {"Closing, both dark", Path::Closing, false, false, {kOffLine, "Unload(Form1)"}},
        {"chat, both lit", Path::Chat, true, true, morse},
        {"chat, both dark", Path::Chat, false, false, {}},
        {"local, both lit", Path::Local, true, true, sentHere},
        {"local, both dark", Path::Local, false, false, {}},
        {"remoto, both lit", Path::Remoto, true, true, sentThere},
        {"remoto, both dark", Path::Remoto, false, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.LoadAndClear();
        rig.form.visible[Control::Image2] = row.red;
        rig.form.visible[Control::Image3] = row.grey;
        rig.form.texts[Control::Text1] = "cq";
        switch (row.path) {
        case Path::Ligar: rig.window.Click("ligar"); break;
        case Path::Desligar: rig.window.Click("desligar"); break;
        case Path::Sair: rig.window.Click("sair"); break;
        case Path::Closing: rig.echoLink.RaiseClosing(); break;
        case Path::Chat: rig.echoLink.RaiseChatTextReceived("QD4RV>cq>"); break;
        case Path::Local: rig.window.Click("local"); break;
        case Path::Remoto: rig.window.Click("remoto"); break;
        }
        EXPECT_EQ(rig.log.Texts(), row.log);
    }
}

TEST(MainWindowClick, UnknownNamesAreNotButtonsOfThisWindow) {
    Rig rig;
    rig.LoadAndClear();
    for (const char* name : {"", "Ligar", "retorna", "servidor", "Text1", "ligar "}) {
        EXPECT_FALSE(rig.window.Click(name)) << name;
    }
    EXPECT_TRUE(rig.log.entries.empty());
}

}  // namespace
}  // namespace relay::testing
