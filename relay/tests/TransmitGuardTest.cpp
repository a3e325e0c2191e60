#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "relay/tests/Rig.h"

namespace relay::testing {
namespace {

using std::chrono::hours;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr milliseconds kLimit = seconds(10);
constexpr milliseconds kGuardAt = kLimit + kGuardMargin;
const echolink::HResult kCallTimedOut{static_cast<std::int32_t>(0x8001011Fu)};  // RPC_E_TIMEOUT

enum class Stall { None, VoiceNeverStops, UnkeyFailsTwice, UnkeyHangs, UnkeyAnswersLate, KeyingHangs };

// Plays one "=" line (or a local send) against a station or a voice that misbehaves as `stall` says.
void Play(Rig& rig, Stall stall, bool chat) {
    rig.LoadAndClear();
    rig.speech.speechDuration = stall == Stall::VoiceNeverStops ? seconds(30) : milliseconds(2500);
    rig.speech.stopTakes = hours(1000);  // an audio output that never gives the voice back
    rig.echoLink.answer = [&rig, stall](const echolink::RecordedCall& call) {
        if (call.op != echolink::Operation::SetTransmit) return echolink::kOk;
        if (call.keyed) {
            if (stall == Stall::KeyingHangs) rig.log.Advance(hours(1000));
            return echolink::kOk;
        }
        switch (stall) {
        case Stall::UnkeyFailsTwice: return echolink::kFail;
        case Stall::UnkeyHangs: rig.log.Advance(hours(1000)); return kCallTimedOut;
        case Stall::UnkeyAnswersLate: rig.log.Advance(seconds(2)); return kCallTimedOut;
        default: return echolink::kOk;
        }
    };
    if (chat) {
        rig.echoLink.RaiseChatTextReceived("QD4RV>oi=");
    } else {
        rig.form.texts[Control::Text13] = "oi";
        rig.window.Click("local");
    }
}

// Whatever holds the relay's own path, the guard unkeys at the limit plus its margin, once, after
// everything that came before, and only then stops the audio and writes its notice.
TEST(TransmitGuard, UnkeysAtTheLimitPlusTheMarginWhenTheRelayCannot) {
    const std::vector<std::string> keyAndSpeak = {"SetTransmit(True)", "Sleep(1000)", "CreateVoice", "Speak('oi', 17)"};
    const auto with = [&](std::vector<std::string> tail) {
        std::vector<std::string> all = keyAndSpeak;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    struct Row {
        const char* name;
        Stall stall;
        bool chat;
        std::vector<std::string> before;  // everything logged before the guard's unkeying
    };
    const Row rows[] = {
        {"voice never stops", Stall::VoiceNeverStops, true, with({"Speak('', 2)"})},
        {"unkeying fails twice", Stall::UnkeyFailsTwice, true,
         with({"SetTransmit(False)", "SetTransmit(False)", "ReleaseVoice"})},
        {"unkeying hangs", Stall::UnkeyHangs, true, with({"SetTransmit(False)"})},
        {"unkeying answers after the bound", Stall::UnkeyAnswersLate, true,
         with({"SetTransmit(False)", "SetTransmit(False)", "ReleaseVoice"})},
        {"keying hangs", Stall::KeyingHangs, true, {"SetTransmit(True)"}},
        {"local send, voice never stops", Stall::VoiceNeverStops, false,
         {"SetTransmit(True)", "CreateVoice", "Speak('oi', 17)", "Speak('', 2)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig(true, kLimit);
        Play(rig, row.stall, row.chat);
        rig.log.Advance(hours(1));  // the handler may have returned, keyed, long before the guard's time
        EXPECT_EQ(rig.guardPath.unkeys, 1);
        EXPECT_EQ(rig.guardPath.audioStops, 1);
        const std::vector<std::string> texts = rig.log.Texts();
        const auto at = std::find(texts.begin(), texts.end(), "Guard: SetTransmit(False)");
        ASSERT_NE(at, texts.end());
        const auto index = static_cast<std::size_t>(at - texts.begin());
        EXPECT_EQ(std::vector<std::string>(texts.begin(), at), row.before);
        EXPECT_EQ(rig.log.entries[index].at, kGuardAt);
        ASSERT_GT(texts.size(), index + 2);
        EXPECT_EQ(texts[index + 1], "Guard: StopAudio");
        EXPECT_EQ(texts[index + 2],
                  "Log('Dizo chat: transmit guard: not unkeyed 12.0 s after keying (limit 10 s); unkeyed by the "
                  "guard')");
        EXPECT_FALSE(rig.guard.Armed());
    }
}

// The normal path is left alone: the guard is armed before the keying and disarmed by the unkeying.
TEST(TransmitGuard, StaysOutOfTheWayOfTheRelaysOwnUnkeying) {
    for (const bool chat : {true, false}) {
        Rig rig(true, kLimit);
        Play(rig, Stall::None, chat);
        rig.log.Advance(hours(1));
        EXPECT_EQ(rig.guardPath.unkeys, 0);
        EXPECT_FALSE(rig.guard.Armed());
        EXPECT_EQ(rig.guard.Expiries(), 0u);
        EXPECT_TRUE(rig.notices.lines.empty());
    }
}

// The guard's own unkeying is tried once more after a failure, not when the station is gone.
TEST(TransmitGuard, TriesItsOwnUnkeyingOnceMore) {
    struct Row {
        echolink::HResult result;
        int tries;
        const char* ending;
    };
    const Row rows[] = {
        {echolink::kOk, 1, "unkeyed by the guard"},
        {echolink::kFail, 2, "the guard's unkeying failed too"},
        {echolink::kDisconnected, 1, "the guard's unkeying failed too"},
    };
    for (const Row& row : rows) {
        fakes::EventLog log;
        fakes::FakeLog notices(log);
        fakes::FakeGuardTimer timer(log);
        fakes::FakeGuardPath path(log);
        path.unkeyResult = row.result;
        TransmitGuard guard(timer, path.Actions(&notices));
        guard.Arm(seconds(1));
        log.Advance(seconds(3) - milliseconds(1));
        EXPECT_EQ(path.unkeys, 0);
        log.Advance(milliseconds(1));
        EXPECT_EQ(path.unkeys, row.tries);
        ASSERT_EQ(notices.lines.size(), 1u);
        EXPECT_TRUE(notices.lines[0].ends_with(row.ending)) << notices.lines[0];
        guard.Arm(seconds(1));  // a new keying arms it again
        guard.Disarm();
        log.Advance(hours(1));
        EXPECT_EQ(guard.Expiries(), 1u);
    }
}

// The real timer calls back on a thread of its own, and Cancel waits for a call in progress.
TEST(ThreadGuardTimer, CallsBackOnItsOwnThreadAndCancelWaitsForIt) {
    ThreadGuardTimer timer;
    std::promise<std::thread::id> ran;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool finished = false;
    timer.Set(timer.Now(), [&] {
        ran.set_value(std::this_thread::get_id());
        released.wait();
        finished = true;
    });
    EXPECT_NE(ran.get_future().get(), std::this_thread::get_id());
    std::thread releaser([&] { release.set_value(); });
    timer.Cancel();
    EXPECT_TRUE(finished);
    releaser.join();
    // An alarm replaced or cancelled before its time never runs.
    bool late = false;
    timer.Set(timer.Now() + hours(1), [&] { late = true; });
    timer.Cancel();
    EXPECT_FALSE(late);
}

}  // namespace
}  // namespace relay::testing
