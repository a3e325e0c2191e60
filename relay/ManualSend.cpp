// Form1's manual send: `local` plays the two boxes over this station's link, `remoto` posts them
// to the chat with the endings a far station's relay obeys. Both do nothing while the relay is off.
#include "relay/Form1.h"
#include "relay/Steps.h"
#include "relay/Texts.h"

namespace relay {

void Form1::LocalClick() {
    if (!RelayOn()) {
        return;
    }
    FormControls& controls = services_.controls;
    if (!controls.Text(Control::Text1).empty()) {
        TryStep([&] { oEchoLink_.SendMorse(0, echolink::Variant::FromString(controls.Text(Control::Text1))); });
        TryStep([&] { controls.SetText(Control::Text1, std::string()); });
        TryStep([&] { controls.SetFocus(Control::Text1); });
    }
    if (!controls.Text(Control::Text13).empty()) {
        std::unique_ptr<Voice> voice;  // released when the handler returns
        // The operator's own text: the whole limit, none of the rules that hold chat lines back.
        const std::chrono::milliseconds limit = services_.transmitLimit;
        const std::string text = controls.Text(Control::Text13);
        const std::chrono::milliseconds keyedAt = services_.pause.Now();
        Key(limit);
        const std::optional<TimeOut> timeOut = Speak(voice, text, keyedAt, limit);
        TryStep([&] { controls.SetText(Control::Text13, std::string()); });
        TryStep([&] { controls.SetFocus(Control::Text13); });
        Unkey();
        if (timeOut) {
            LogTimeOut(text, std::string_view(), limit, *timeOut);
        }
    }
}

void Form1::RemotoClick() {
    if (!RelayOn()) {
        return;
    }
    FormControls& controls = services_.controls;
    if (!controls.Text(Control::Text1).empty()) {
        TryStep([&] { oEchoLink_.PostChatLine(controls.Text(Control::Text1) + std::string(kMorseEnding)); });
        TryStep([&] { controls.SetText(Control::Text1, std::string()); });
        TryStep([&] { controls.SetFocus(Control::Text1); });
    }
    if (!controls.Text(Control::Text13).empty()) {
        TryStep([&] { oEchoLink_.PostChatLine(controls.Text(Control::Text13) + std::string(kSpeechEnding)); });
        TryStep([&] { controls.SetText(Control::Text13, std::string()); });
        TryStep([&] { controls.SetFocus(Control::Text13); });
    }
}

}  // namespace relay
