// Form1's handler of EchoLink's ChatTextReceived: split the line, then speak, send Morse or end.
#include "relay/ChatLine.h"
#include "relay/Form1.h"
#include "relay/Steps.h"
#include "relay/Texts.h"

namespace relay {

void Form1::ChatTextReceived(const std::string& line) {
    if (ending_) {
        return;
    }
    const ChatLineParts parts = SplitChatLine(line);
    try {
        messageText_.assign(parts.message);
    } catch (...) {
        // Without the new message the old one would be obeyed a second time.
        messageText_.clear();
        return;
    }
    const Command command = CommandOf(messageText_);
    std::unique_ptr<Voice> voice;  // released when the handler returns
    if (RelayOn()) {
        if (command == Command::Speak) {
            TryStep([&] { oEchoLink_.SetTransmit(true); });
            TryStep([&] { services_.pause.Sleep(std::chrono::milliseconds(kPauseBeforeSpeechMs)); });
            Speak(voice, std::string_view(messageText_).substr(0, messageText_.size() - 1));
            TryStep([&] { oEchoLink_.SetTransmit(false); });
        } else if (command == Command::Morse) {
            TryStep([&] { oEchoLink_.SendMorse(0, echolink::Variant::FromString(messageText_)); });
        }
    }
    if (command == Command::Quit) {
        ending_ = true;
        services_.program.EndNow();
    }
}

// A new voice for each text; the caller holds it until its handler returns, so none outlives it.
void Form1::Speak(std::unique_ptr<Voice>& voice, std::string_view text) {
    TryStep([&] {
        voice = services_.speech.CreateVoice();
        if (voice) {
            voice->Speak(std::string(text), kSpeakLiteral);
        }
    });
}

}  // namespace relay
