// What holds a station's chat lines back from the transmitter: lines grown stale while waiting,
// the lock-out after a time-out, the share of time keyed, long Morse. Owns the keying record.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <string_view>

#include "relay/Log.h"

namespace relay {

// Mends for input that any station controls; constants, not settings.
// A line is obeyed only when its turn comes within this long of its arrival.
inline constexpr std::chrono::milliseconds kStaleAfter = std::chrono::seconds(60);
// After a transmit time-out, "=" lines do not key for this long, as link controllers lock out.
inline constexpr std::chrono::milliseconds kLockOutAfterTimeOut = std::chrono::seconds(60);
// Chat lines key the transmitter for at most kDutyPercent of any kDutyWindow.
inline constexpr std::chrono::milliseconds kDutyWindow = std::chrono::minutes(10);
inline constexpr int kDutyPercent = 50;
// A ">" line whose message (its final ">" included) is longer than this is not sent.
inline constexpr std::size_t kMorseCharacterLimit = 100;
// A low guess at espeak-ng's and SAPI's pace, so a line is dropped only when even speech that fast
// would pass the share; a line that guesses short is cut where the share ends.
inline constexpr std::chrono::milliseconds kSpeechPerCharacterGuess{60};

enum class Verdict { Go, Stale, LockedOut, DutyFull, MorseTooLong };

class ChatLineRules {
public:
    // A "=" line of `characters` characters that arrived at `arrivedAt`, its turn come at `now`;
    // it keys for `limit` at most.
    Verdict ForSpeech(std::chrono::milliseconds now, std::chrono::milliseconds arrivedAt, std::size_t characters,
                      std::chrono::milliseconds limit);
    // A ">" line whose whole message has `characters` characters.
    Verdict ForMorse(std::chrono::milliseconds now, std::chrono::milliseconds arrivedAt, std::size_t characters) const;
    // How long a "=" line starting at `now` may keep the transmitter keyed: `limit`, or less where
    // the share ends first, the guard's margin kept back.
    std::chrono::milliseconds KeyingAllowed(std::chrono::milliseconds now, std::chrono::milliseconds limit);
    // A chat line kept the transmitter keyed from `from` to `to`.
    void Keyed(std::chrono::milliseconds from, std::chrono::milliseconds to);
    // The transmitter timed out at `at`.
    void TimedOut(std::chrono::milliseconds at) { lockedUntil_ = at + kLockOutAfterTimeOut; }

private:
    std::chrono::milliseconds KeyedWithin(std::chrono::milliseconds now);

    struct Span {
        std::chrono::milliseconds from;
        std::chrono::milliseconds to;
    };
    std::deque<Span> keyed_;  // oldest first, none ending before the window
    std::chrono::milliseconds lockedUntil_{-1};
};

// Dropped lines are told in one notice for each run of them: how many, why and from whom.
class DropNotices {
public:
    void Dropped(Verdict why, std::string_view sender, std::chrono::milliseconds now);
    // Writes what is pending, one line for each reason; nothing when nothing was dropped.
    void Flush(Log& log);
    // A run this old is told even while it goes on.
    bool Due(std::chrono::milliseconds now) const { return pending_ && now - since_ >= kStaleAfter / 6; }

private:
    std::map<Verdict, std::map<std::string, std::size_t>> dropped_;
    bool pending_ = false;
    std::chrono::milliseconds since_{0};
};

}  // namespace relay
