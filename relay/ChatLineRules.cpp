#include "relay/ChatLineRules.h"

#include <algorithm>

#include "relay/SpeechText.h"
#include "relay/Steps.h"
#include "relay/Texts.h"
#include "relay/TransmitGuard.h"

namespace relay {

namespace {

constexpr std::chrono::milliseconds kDutyBudget = kDutyWindow * kDutyPercent / 100;

bool Stale(std::chrono::milliseconds now, std::chrono::milliseconds arrivedAt) { return now - arrivedAt > kStaleAfter; }

// A sender's name as any station typed it, made safe for a log line: no control characters (no
// forged lines), at most 20 bytes, never cut inside a character.
std::string LogName(std::string_view sender) {
    if (sender.empty()) return "an unnamed sender";
    std::string name = SpeakableText(sender.substr(0, 64));
    if (name.size() > 20) {
        std::size_t cut = 20;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
        name += "...";
    }
    return name;
}

std::string_view Reason(Verdict why) {
    switch (why) {
    case Verdict::Stale: return "older than 60 s when their turn came";
    case Verdict::LockedOut: return "speech locked out for 60 s after a transmit time-out";
    case Verdict::DutyFull: return "the transmitter was keyed for half of the last 10 minutes";
    case Verdict::MorseTooLong: return "Morse messages over 100 characters";
    case Verdict::Go: break;
    }
    return "";
}

}  // namespace

Verdict ChatLineRules::ForSpeech(std::chrono::milliseconds now, std::chrono::milliseconds arrivedAt,
                                 std::size_t characters, std::chrono::milliseconds limit) {
    if (Stale(now, arrivedAt)) return Verdict::Stale;
    if (now < lockedUntil_) return Verdict::LockedOut;
    // However long the text, the line keys for the limit at most.
    const std::size_t counted = std::min<std::size_t>(characters, static_cast<std::size_t>(limit / kSpeechPerCharacterGuess) + 1);
    const auto guess = std::min(limit, std::chrono::milliseconds(kPauseBeforeSpeechMs) +
                                           kSpeechPerCharacterGuess * static_cast<std::int64_t>(counted));
    // The guard's margin too: a keying whose unkeying is lost lasts until the guard's time.
    if (KeyedWithin(now) + guess + kGuardMargin > kDutyBudget) return Verdict::DutyFull;
    return Verdict::Go;
}

Verdict ChatLineRules::ForMorse(std::chrono::milliseconds now, std::chrono::milliseconds arrivedAt,
                                std::size_t characters) const {
    if (Stale(now, arrivedAt)) return Verdict::Stale;
    if (characters > kMorseCharacterLimit) return Verdict::MorseTooLong;
    return Verdict::Go;
}

std::chrono::milliseconds ChatLineRules::KeyingAllowed(std::chrono::milliseconds now, std::chrono::milliseconds limit) {
    return std::clamp(kDutyBudget - KeyedWithin(now) - kGuardMargin, std::chrono::milliseconds(0), limit);
}

void ChatLineRules::Keyed(std::chrono::milliseconds from, std::chrono::milliseconds to) {
    if (to > from) keyed_.push_back({from, to});
}

// Keyed time in the window that ends now. Counting it against the window ending at the start of a
// keying is enough for every window: one that ends later holds no more of the past, and one that
// ends within the keying holds less of it.
std::chrono::milliseconds ChatLineRules::KeyedWithin(std::chrono::milliseconds now) {
    const std::chrono::milliseconds start = now - kDutyWindow;
    while (!keyed_.empty() && keyed_.front().to <= start) keyed_.pop_front();
    std::chrono::milliseconds total{0};
    for (const Span& s : keyed_) total += std::min(s.to, now) - std::max(s.from, start);
    return total;
}

void DropNotices::Dropped(Verdict why, std::string_view sender, std::chrono::milliseconds now) {
    TryStep([&] {
        std::map<std::string, std::size_t>& senders = dropped_[why];
        std::string name = LogName(sender);
        // A flood from ever new names must not grow the notice without bound.
        if (senders.size() >= 5 && senders.find(name) == senders.end()) name = "others";
        ++senders[name];
    });
    if (!pending_) since_ = now;
    pending_ = true;
}

void DropNotices::Flush(Log& log) {
    if (!pending_) return;
    for (const auto& entry : dropped_) {
        const Verdict why = entry.first;
        const std::map<std::string, std::size_t>& senders = entry.second;
        std::size_t total = 0;
        std::string from;
        for (const auto& [name, count] : senders) {
            total += count;
            from += (from.empty() ? "" : ", ") + name + " " + std::to_string(count);
        }
        TryStep([&] {
            log.Line("Dizo chat: " + std::to_string(total) + (total == 1 ? " chat line" : " chat lines") +
                     " dropped (" + std::string(Reason(why)) + "): " + from);
        });
    }
    dropped_.clear();
    pending_ = false;
}

}  // namespace relay
