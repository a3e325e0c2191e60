// The main window's logic wired to every fake, for the relay's tests.
// One log records EchoLink, speech, pause and host calls in order, on one virtual clock.
#pragma once

#include <string>
#include <vector>

#include "echolink/testing/FakeEchoLink.h"
#include "relay/Form1.h"
#include "relay/testing/EventLog.h"
#include "relay/testing/FakeForm.h"
#include "relay/testing/FakeGuard.h"
#include "relay/testing/FakeLog.h"
#include "relay/testing/FakePause.h"
#include "relay/testing/FakeProgram.h"
#include "relay/testing/FakeSpeech.h"

namespace relay::testing {

struct Rig {
    fakes::EventLog log;
    echolink::FakeEchoLinkFactory echoLink;
    fakes::FakeForm form{&log};
    fakes::FakeSpeech speech{log};
    fakes::FakePause pause{log};
    fakes::FakeProgram program{log};
    fakes::FakeLog notices{log};
    std::chrono::milliseconds transmitLimit;
    fakes::FakeGuardTimer guardTimer{log};
    fakes::FakeGuardPath guardPath{log};
    TransmitGuard guard{guardTimer, guardPath.Actions(&notices)};
    Form1 window{Form1Services{echoLink, form, speech, pause, program, &notices, transmitLimit, &guard}};

    explicit Rig(bool echoLinkPresent = true, std::chrono::milliseconds limit = kTransmitLimit)
        : transmitLimit(limit) {
        echoLink.available = echoLinkPresent;
        echoLink.onCall = [this](const echolink::RecordedCall& call) { log.Add(echolink::Describe(call)); };
    }

    // Loads the window, then forgets what loading did, optionally switching the relay off.
    void LoadAndClear(bool relayOn = true) {
        window.Load();
        if (!relayOn) {
            window.Click("desligar");
        }
        log.Clear();
        echoLink.calls.clear();
        log.now = {};
    }

    bool RedLamp() const { return form.visible.at(Control::Image2); }
    bool GreyLamp() const { return form.visible.at(Control::Image3); }
};

inline const std::string kOnLine = "PostChatLine(' Dizo chat est\xC3\xA1 ligado...')";
inline const std::string kOffLine = "PostChatLine(' Dizo chat est\xC3\xA1 desligado.')";

}  // namespace relay::testing
