#include <gtest/gtest.h>

#include "relay/AboutWindow.h"
#include "relay/Texts.h"
#include "relay/tests/Rig.h"

namespace relay::testing {
namespace {

TEST(HelpPanel, ButtonsSetTheOuterSizeWhateverItWasBefore) {
    struct Row {
        const char* name;
        std::vector<const char*> clicks;
        int userWidth;  // a size the user dragged to before the clicks; 0 for none
        int width;
        int height;
    };
    const Row rows[] = {
        {"Ajuda", {"a_ajuda"}, 0, 11790, 8055},
        {"Ajuda twice", {"a_ajuda", "a_ajuda"}, 0, 11790, 8055},
        {"Ajuda then Fechar ajuda", {"a_ajuda", "f_ajuda"}, 0, 6420, 8055},
        {"Fechar ajuda after the user resized", {"f_ajuda"}, 9000, 6420, 8055},
        {"Ajuda after the user resized", {"a_ajuda"}, 4000, 11790, 8055},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.LoadAndClear();
        if (row.userWidth != 0) {
            rig.form.width = row.userWidth;
            rig.form.height = 3000;
        }
        for (const char* button : row.clicks) {
            EXPECT_TRUE(rig.window.Click(button));
        }
        EXPECT_EQ(rig.form.width, row.width);
        EXPECT_EQ(rig.form.height, row.height);
        EXPECT_TRUE(rig.echoLink.calls.empty());
    }
}

// The width goes first: a window whose height is set first grows the other way before it widens.
TEST(HelpPanel, WidthIsSetBeforeHeight) {
    for (const auto& [button, width] : {std::pair{"a_ajuda", kWidthHelpShown}, std::pair{"f_ajuda", kWidthHelpHidden}}) {
        SCOPED_TRACE(button);
        Rig rig;
        rig.LoadAndClear();
        rig.window.Click(button);
        EXPECT_EQ(rig.log.Texts(), (std::vector<std::string>{"SetWidth(" + std::to_string(width) + ")",
                                                             "SetHeight(" + std::to_string(kWindowHeight) + ")"}));
    }
}

TEST(HelpPanel, AMinimisedWindowKeepsItsSizeAndTheNextPressWorks) {
    Rig rig;
    rig.LoadAndClear();
    rig.form.minimised = true;
    rig.window.Click("a_ajuda");
    EXPECT_EQ(rig.form.width, kWidthHelpHidden);
    rig.form.minimised = false;
    rig.window.Click("a_ajuda");
    EXPECT_EQ(rig.form.width, kWidthHelpShown);
}

TEST(AboutWindowModal, MainWindowButtonsDoNotReactWhileItIsUp) {
    Rig rig;
    rig.LoadAndClear();
    fakes::FakeShell shell;
    AboutWindow about(rig.program, shell);
    std::vector<bool> reacted;
    rig.program.whileModal = [&] {
        for (const char* button : {"desligar", "sair", "local", "remoto", "a_ajuda", "sobre"}) {
            reacted.push_back(rig.window.Click(button));
        }
        // EchoLink's events are not window input: the relay keeps working meanwhile.
        rig.echoLink.RaiseChatTextReceived("QD4RV>cq>");
        EXPECT_TRUE(about.Click("retorna"));
    };
    rig.form.texts[Control::Text1] = "cq";
    EXPECT_TRUE(rig.window.Click("sobre"));
    EXPECT_EQ(reacted, std::vector<bool>(6, false));
    EXPECT_EQ(rig.log.Texts(), (std::vector<std::string>{"ShowModal(sobre_)", "SendMorse(0, BSTR 'cq>')",
                                                         "Unload(sobre_)"}));
    EXPECT_TRUE(rig.window.RelayOn());
    EXPECT_EQ(rig.form.Text(Control::Text1), "cq");
    EXPECT_EQ(rig.form.width, kWidthHelpHidden);
    // Once it has closed the buttons work again.
    EXPECT_TRUE(rig.window.Click("desligar"));
    EXPECT_FALSE(rig.window.RelayOn());
}

TEST(AboutWindowModal, EchoLinkClosingStillEndsTheProgramWhileItIsUp) {
    Rig rig;
    rig.LoadAndClear();
    rig.program.whileModal = [&] { rig.echoLink.RaiseClosing(); };
    rig.window.Click("sobre");
    EXPECT_EQ(rig.log.Texts(), (std::vector<std::string>{"ShowModal(sobre_)", kOffLine, "Unload(Form1)"}));
}

TEST(AboutWindowModal, AFailureToShowItIsIgnored) {
    Rig rig;
    rig.LoadAndClear();
    rig.program.showFails = true;
    EXPECT_TRUE(rig.window.Click("sobre"));
    EXPECT_EQ(rig.program.modalShown, 0);
    EXPECT_TRUE(rig.window.Click("desligar"));  // the main window is not left blocked
}

TEST(AboutWindowButtons, ServidorOpensTheAuthorsPageAndRetornaUnloads) {
    fakes::EventLog log;
    fakes::FakeProgram program(log);
    fakes::FakeShell shell;
    AboutWindow about(program, shell);
    shell.result = 2;  // ERROR_FILE_NOT_FOUND: not reported
    EXPECT_TRUE(about.Click("servidor"));
    ASSERT_EQ(shell.requests.size(), 1u);
    const ShellOpenRequest& r = shell.requests[0];
    EXPECT_EQ(r.parent, Window::Sobre);
    EXPECT_EQ(r.verb, "open");
    EXPECT_EQ(r.file, kAuthorPage);
    EXPECT_TRUE(r.parameters.empty());
    EXPECT_TRUE(r.directory.empty());
    EXPECT_EQ(r.showCommand, 1);
    EXPECT_TRUE(program.unloaded.empty());
    EXPECT_TRUE(about.Click("retorna"));
    EXPECT_EQ(program.unloaded, std::vector<Window>{Window::Sobre});
    EXPECT_FALSE(about.Click("sobre"));
    EXPECT_FALSE(about.Click("Retornar"));
}

}  // namespace
}  // namespace relay::testing
