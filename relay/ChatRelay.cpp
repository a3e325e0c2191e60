// Form1's handler of EchoLink's ChatTextReceived: split the line, then speak, send Morse or end.
#include <algorithm>

#include "relay/ChatLine.h"
#include "relay/ChatLineRules.h"
#include "relay/Form1.h"
#include "relay/Steps.h"
#include "relay/Texts.h"

namespace relay {

void Form1::ChatTextReceived(const std::string& line) {
    ChatTextArrived(line, services_.pause.Now());
}

void Form1::ChatTextArrived(const std::string& line, std::chrono::milliseconds arrivedAt) {
    if (ending_ || endAsked_.load()) {
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
    if (RelayOn() && (command == Command::Speak || command == Command::Morse)) {
        const std::chrono::milliseconds now = services_.pause.Now();
        const Verdict verdict = command == Command::Speak
                                    ? rules_.ForSpeech(now, arrivedAt, CharacterCount(messageText_) - 1, services_.transmitLimit)
                                    : rules_.ForMorse(now, arrivedAt, CharacterCount(messageText_));
        if (verdict != Verdict::Go) {
            drops_.Dropped(verdict, parts.sender, now);
            if (drops_.Due(now)) {
                FlushNotices();
            }
        } else {
            FlushNotices();
            if (command == Command::Speak) {
                SpeakChatLine(voice, parts.sender);
            } else {
                TryStep([&] { oEchoLink_.SendMorse(0, echolink::Variant::FromString(messageText_)); });
            }
        }
    }
    if (command == Command::Quit) {
        FlushNotices();
        ending_ = true;
        services_.program.EndNow();
    }
}

// Keyed, one second of silence, the message without its "=", unkeyed; within the transmitter's
// limit or what is left of the share of time keyed, whichever ends first.
void Form1::SpeakChatLine(std::unique_ptr<Voice>& voice, std::string_view sender) {
    const std::string text = messageText_.substr(0, messageText_.size() - 1);
    const std::chrono::milliseconds keyedAt = services_.pause.Now();
    const std::chrono::milliseconds limit = rules_.KeyingAllowed(keyedAt, services_.transmitLimit);
    const std::uint64_t expiries = services_.guard != nullptr ? services_.guard->Expiries() : 0;
    Key(limit);
    TryStep([&] { services_.pause.Sleep(std::chrono::milliseconds(kPauseBeforeSpeechMs)); });
    const std::optional<TimeOut> timeOut = Speak(voice, text, keyedAt, limit);
    const bool answered = Unkey();
    const std::chrono::milliseconds unkeyedAt = services_.pause.Now();
    const bool guardStepped = services_.guard != nullptr && services_.guard->Expiries() != expiries;
    // Where the station's answer was lost, it stays keyed as far as anyone knows until the guard's time.
    const std::chrono::milliseconds guardAt = keyedAt + limit + kGuardMargin;
    rules_.Keyed(keyedAt, guardStepped ? std::min(unkeyedAt, guardAt) : answered ? unkeyedAt : std::max(unkeyedAt, guardAt));
    // A line cut where the share ended has not timed the transmitter out.
    if (guardStepped || (timeOut && limit == services_.transmitLimit)) {
        rules_.TimedOut(unkeyedAt);
    }
    if (timeOut) {
        LogTimeOut(text, sender.empty() ? std::string_view("an unnamed sender") : sender, limit, *timeOut);
    }
}

void Form1::FlushNotices() {
    drops_.Flush(Notices());
}

// A new voice for each text; the caller holds it until its handler returns, so none outlives it.
// The speech is started asynchronously and waited on only until the transmitter's limit; an
// overrun is purged, so the call still returns only once the voice is silent.
std::optional<Form1::TimeOut> Form1::Speak(std::unique_ptr<Voice>& voice, std::string_view text,
                                           std::chrono::milliseconds keyedAt, std::chrono::milliseconds limit) {
    bool started = false;
    TryStep([&] {
        voice = services_.speech.CreateVoice();
        started = voice && !voice->Speak(std::string(text), kSpeakLiteralAsync).Failed();
    });
    if (!started) {
        return std::nullopt;
    }
    bool done = false;
    TryStep([&] {
        const std::chrono::milliseconds left = keyedAt + limit - kStopAllowance - services_.pause.Now();
        done = voice->WaitUntilDone(std::max(left, std::chrono::milliseconds(0)));
    });
    if (done) {
        return std::nullopt;
    }
    TimeOut timeOut;
    TryStep([&] { timeOut.spoken = voice->SpokenCharacters(); });
    TryStep([&] { voice->Speak(std::string(), kSpeakPurgeBeforeSpeak); });
    TryStep([&] { timeOut.keyedFor = services_.pause.Now() - keyedAt; });
    return timeOut;
}

// Armed before the keying, so a keying that hangs past the limit is still followed by an unkeying.
void Form1::Key(std::chrono::milliseconds limit) {
    if (services_.guard != nullptr) {
        TryStep([&] { services_.guard->Arm(limit); });
    }
    TryStep([&] { oEchoLink_.SetTransmit(true); });
}

// A transmitter left keyed because one answer was lost is the worst this program can do to a
// link, so a failed unkeying is tried once more. Not when the station is gone: nothing would
// hear the second try, and nothing is keyed there any more.
bool Form1::Unkey() {
    echolink::HResult first = echolink::kFail;
    TryStep([&] { first = oEchoLink_.SetTransmit(false); });
    echolink::HResult last = first;
    if (first.Failed() && !echolink::StationGone(first)) {
        last = echolink::kFail;
        TryStep([&] { last = oEchoLink_.SetTransmit(false); });
    }
    // Still keyed as far as anyone knows: the guard stays armed and tries its own way at its time.
    const bool answered = !last.Failed() || echolink::StationGone(last);
    if (services_.guard != nullptr && answered) {
        TryStep([&] { services_.guard->Disarm(); });
    }
    return answered;
}

// Written after the unkeying, so a log that blocks cannot hold the transmitter.
void Form1::LogTimeOut(std::string_view text, std::string_view sender, std::chrono::milliseconds limit,
                       const TimeOut& timeOut) {
    const std::chrono::milliseconds keyedFor = timeOut.keyedFor;
    const std::optional<std::size_t>& spoken = timeOut.spoken;
    const std::size_t characters = CharacterCount(text);
    std::string line = "Dizo chat: transmit time-out: speech ";
    line += sender.empty() ? std::string("typed here") : "from " + std::string(sender);
    line += " stopped after " + std::to_string(keyedFor.count() / 1000) + "." +
            std::to_string(keyedFor.count() % 1000 / 100) + " s keyed (limit " +
            std::to_string(limit.count() / 1000) + " s); ";
    if (spoken && *spoken <= characters) {
        line += std::to_string(characters - *spoken) + " of " + std::to_string(characters) + " characters cut";
    } else {
        line += "the rest of " + std::to_string(characters) + " characters cut";
    }
    TryStep([&] { Notices().Line(line); });
}

}  // namespace relay
