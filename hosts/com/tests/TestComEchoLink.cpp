// The COM binding of EchoLink against our stand-in server, registered in the Wine prefix by the
// suite: the operations as the server logs them, the events through the message loop.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include <windows.h>

#include "hosts/com/ComEchoLink.h"
#include "hosts/wide/WideText.h"
#include "hosts/com/standin/StandInControl.h"

namespace hosts::com {
namespace {

namespace standin = hosts::com::standin;

std::chrono::milliseconds SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

struct RecordedEvents final : echolink::ChatEvents {
    std::vector<std::string> lines;
    // When each line reached the program, and when the window's thread got it.
    std::vector<std::pair<std::chrono::milliseconds, std::chrono::milliseconds>> stamps;
    int closings = 0;
    std::function<void()> onClosing;
    void ChatTextReceived(const std::string& line) override { lines.push_back(line); }
    void ChatTextArrived(const std::string& line, std::chrono::milliseconds arrivedAt) override {
        stamps.emplace_back(arrivedAt, SteadyMs());
        ChatTextReceived(line);
    }
    void Closing() override {
        ++closings;
        if (onClosing) onClosing();
    }
};

// Runs this thread's message loop until `done`. The limit only ends a wait for what never comes,
// so it holds on a loaded machine, where Wine's cross-process calls are many times slower.
bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

// The server's log from where a test began.
class Log {
public:
    Log() : start_(Read().size()) {}
    std::vector<std::string> Lines() const {
        std::istringstream in(Read().substr(start_));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    static std::string Read() {
        const auto path = standin::ReadSetting(standin::kLogSetting);
        std::ifstream file(std::filesystem::path(path ? *path : std::wstring()), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    std::size_t start_;
};

// Registers the stand-in built beside these tests (Wine shows the build machine's root as Z:).
bool RegisterStandIn() {
    std::wstring command = L"\"Z:" + wide::Widen(DIZO_STANDIN) + L"\" /regserver";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, 30000);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status == 0;
}

const echolink::HResult kTimedOut{static_cast<std::int32_t>(RPC_E_TIMEOUT)};

// How long `action` held this thread.
std::chrono::steady_clock::duration Held(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::steady_clock::now() - start;
}

void SetMode(const wchar_t* setting, const wchar_t* value) { ASSERT_TRUE(standin::WriteSetting(setting, value)); }

// One object held for the whole run keeps the server up, so only the first test pays for its start.
class ComEchoLinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(RegisterStandIn()) << "the stand-in could not be registered";
        keeper_ = factory_.Create(keeperEvents_).release();
    }
    static void TearDownTestSuite() { delete keeper_; }
    void SetUp() override { ASSERT_NE(keeper_, nullptr); }
    void TearDown() override {
        for (const wchar_t* mode : {standin::kFailSetting, standin::kFailCreateSetting, standin::kHangSetting,
                                    standin::kHangCreateSetting}) {
            SetMode(mode, L"0");
        }
    }

    static inline ComEchoLinkFactory factory_;
    // For the hung server: each call given up after 300 ms, an owed unkeying after 400 ms more.
    static inline ComEchoLinkFactory bounded_{std::chrono::milliseconds(300), std::chrono::milliseconds(400)};
    static inline RecordedEvents keeperEvents_;
    static inline echolink::EchoLink* keeper_ = nullptr;
    RecordedEvents events;
};

TEST_F(ComEchoLinkTest, OperationsArriveThroughTheirSlotsWithTheirArguments) {
    Log log;
    auto link = factory_.Create(events);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->PostChatLine(" Dizo chat está ligado..."), echolink::kOk);
    EXPECT_EQ(link->SetTransmit(true), echolink::kOk);
    EXPECT_EQ(link->SendMorse(0, echolink::Variant::FromString("cq test>")), echolink::kOk);
    EXPECT_EQ(link->SetTransmit(false), echolink::kOk);
    EXPECT_EQ(link->PostChatLine(std::string("a\0b\r\n\xff", 6)), echolink::kOk);
    EXPECT_EQ(link->SendMorse(0, echolink::Variant::FromInt32(7)), echolink::kOk);
    EXPECT_EQ(link->SendMorse(0, echolink::Variant()), echolink::kOk);
    const std::vector<std::string> expected = {
        "create",
        "Advise",
        "PostChatLine(\" Dizo chat está ligado...\")",
        "SetTransmit(-1)",
        "SendMorse(0, VT_BSTR \"cq test>\")",
        "SetTransmit(0)",
        "PostChatLine(\"a\\x00b\\r\\n\xef\xbf\xbd\")",  // a NUL kept, a stray byte as U+FFFD
        "SendMorse(0, VT_I4 7)",
        "SendMorse(0, VT_EMPTY)",
    };
    EXPECT_EQ(log.Lines(), expected);
    link.reset();
    const auto lines = log.Lines();
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), (std::vector<std::string>{"Unadvise", "released"}));
}

TEST_F(ComEchoLinkTest, EventsArriveByNameFromTheMessageLoopOnly) {
    auto link = factory_.Create(events);
    ASSERT_NE(link, nullptr);
    const std::vector<std::string> sent = {"QD4RV>bom dia=", "PY2XYZ>você está aí? =", "", "QD4RV>cq test>"};
    for (const std::string& line : sent) ASSERT_TRUE(standin::SendCommand(L"say " + wide::Widen(line)));
    ASSERT_TRUE(standin::SendCommand(L"close"));
    // An operation in flight while the server fires does not let an event in.
    EXPECT_EQ(link->SetTransmit(false), echolink::kOk);
    EXPECT_TRUE(events.lines.empty());
    ASSERT_TRUE(PumpUntil([&] { return events.closings == 1; }));
    EXPECT_EQ(events.lines, sent);
    // Each stamped as it came in, on the steady clock, before the window's thread had it.
    ASSERT_EQ(events.stamps.size(), sent.size());
    for (const auto& [arrived, delivered] : events.stamps) {
        EXPECT_GT(arrived.count(), 0);
        EXPECT_LE(arrived, delivered);
    }
    ASSERT_GE(keeperEvents_.lines.size(), sent.size());  // every connected object hears them
    EXPECT_EQ(std::vector<std::string>(keeperEvents_.lines.end() - 4, keeperEvents_.lines.end()), sent);
}

TEST_F(ComEchoLinkTest, ClosingHandlerMayDestroyTheObject) {
    auto link = factory_.Create(events);
    ASSERT_NE(link, nullptr);
    events.onClosing = [&] { link.reset(); };
    ASSERT_TRUE(standin::SendCommand(L"close"));
    ASSERT_TRUE(standin::SendCommand(L"say QD4RV>depois="));
    ASSERT_TRUE(PumpUntil([&] { return link == nullptr; }));
    ASSERT_TRUE(PumpUntil([&] { return !keeperEvents_.lines.empty() && keeperEvents_.lines.back() == "QD4RV>depois="; }));
    EXPECT_TRUE(events.lines.empty());  // nothing reaches a destroyed object
}

TEST_F(ComEchoLinkTest, FailuresAreReportedWithTheServersCode) {
    SetMode(standin::kFailCreateSetting, L"1");
    EXPECT_EQ(factory_.Create(events), nullptr);
    SetMode(standin::kFailCreateSetting, L"0");

    auto link = factory_.Create(events);
    ASSERT_NE(link, nullptr);
    SetMode(standin::kFailSetting, L"1");
    const echolink::HResult fail{static_cast<std::int32_t>(E_FAIL)};
    EXPECT_EQ(link->SetTransmit(true), fail);
    EXPECT_EQ(link->SendMorse(0, echolink::Variant::FromString("x>")), fail);
    EXPECT_EQ(link->PostChatLine("x"), fail);
    SetMode(standin::kFailSetting, L"0");
    EXPECT_EQ(link->PostChatLine("y"), echolink::kOk);
}

TEST_F(ComEchoLinkTest, HungServerIsGivenUpAtTheBound) {
    auto link = bounded_.Create(events);
    ASSERT_NE(link, nullptr);
    Log log;
    SetMode(standin::kHangSetting, L"2000");
    echolink::HResult result;
    const auto held = Held([&] { result = link->SetTransmit(true); });
    SetMode(standin::kHangSetting, L"0");
    EXPECT_EQ(result, kTimedOut);
    EXPECT_GE(held, std::chrono::milliseconds(250));
    EXPECT_LT(held, std::chrono::milliseconds(1500));
    // The server still runs the call it was given; once it is free, calls go through again.
    ASSERT_TRUE(PumpUntil([&] { return !log.Lines().empty() && log.Lines().back() == "SetTransmit(-1)"; }));
    EXPECT_EQ(link->PostChatLine("z"), echolink::kOk);
}

TEST_F(ComEchoLinkTest, ServerHungAtTheEndHoldsTheTeardownOnlyTheBound) {
    auto link = bounded_.Create(events);
    ASSERT_NE(link, nullptr);
    Log log;
    // As at the program's end: the farewell hangs, and disconnecting would wait behind it.
    SetMode(standin::kHangSetting, L"2500");
    EXPECT_EQ(link->PostChatLine("tchau"), kTimedOut);
    const auto held = Held([&] { link.reset(); });
    SetMode(standin::kHangSetting, L"0");
    EXPECT_LT(held, std::chrono::milliseconds(1500));
    // Once the server is free it still gets the farewell, the disconnection and the release.
    const std::vector<std::string> expected = {"PostChatLine(\"tchau\")", "Unadvise", "released"};
    EXPECT_TRUE(PumpUntil([&] { return log.Lines() == expected; })) << ::testing::PrintToString(log.Lines());
}

TEST_F(ComEchoLinkTest, ServerSlowAtCreationHoldsTheCallerOneBoundAndIsConnectedOnceItAnswers) {
    Log log;
    SetMode(standin::kHangCreateSetting, L"1500");
    std::unique_ptr<echolink::EchoLink> link;
    const auto held = Held([&] { link = bounded_.Create(events); });
    SetMode(standin::kHangCreateSetting, L"0");
    ASSERT_NE(link, nullptr);
    EXPECT_GE(held, std::chrono::milliseconds(250));
    EXPECT_LT(held, std::chrono::milliseconds(550));
    // Meanwhile every call fails at once, and still reaches EchoLink once it has answered.
    echolink::HResult early;
    EXPECT_LT(Held([&] { early = link->PostChatLine("cedo"); }), std::chrono::milliseconds(100));
    EXPECT_EQ(early, kTimedOut);
    const std::vector<std::string> connected = {"create", "Advise", "PostChatLine(\"cedo\")"};
    EXPECT_TRUE(PumpUntil([&] { return log.Lines() == connected; })) << ::testing::PrintToString(log.Lines());
    EXPECT_EQ(link->PostChatLine("depois"), echolink::kOk);
    ASSERT_TRUE(standin::SendCommand(L"say QD4RV>tarde="));
    ASSERT_TRUE(PumpUntil([&] { return !events.lines.empty(); }));
    EXPECT_EQ(events.lines, std::vector<std::string>{"QD4RV>tarde="});
}

TEST_F(ComEchoLinkTest, ServerHungAtCreationHoldsTheEndNotAtAll) {
    Log log;
    SetMode(standin::kHangCreateSetting, L"1500");
    auto link = bounded_.Create(events);
    SetMode(standin::kHangCreateSetting, L"0");
    ASSERT_NE(link, nullptr);
    link->PostChatLine("tchau");
    EXPECT_LT(Held([&] { link.reset(); }), std::chrono::milliseconds(100));
    // Once EchoLink answers, the worker gives it what was queued and lets it go.
    const std::vector<std::string> expected = {"create", "Advise", "PostChatLine(\"tchau\")", "Unadvise", "released"};
    EXPECT_TRUE(PumpUntil([&] { return log.Lines() == expected; })) << ::testing::PrintToString(log.Lines());
}

// A keying EchoLink answered after the bound, or one the program leaves standing, is always
// followed by an unkeying before the object is let go, however the end comes.
TEST_F(ComEchoLinkTest, TheEndUnkeysAfterAKeyingLeftStanding) {
    struct Case {
        const char* name;
        const wchar_t* hangMs;
        bool unkeyedByCaller;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // Hung: the unkeying made beside the worker waits in the server behind the keying, and
        // the one queued after it follows.
        {"keying hung", L"1000", false,
         {"SetTransmit(-1)", "SetTransmit(0)", "SetTransmit(0)", "Unadvise", "released"}},
        {"caller's unkeying hung", L"700", true,
         {"SetTransmit(-1)", "SetTransmit(0)", "SetTransmit(0)", "SetTransmit(0)", "Unadvise", "released"}},
        // Answered: keyed when the program ends, so unkeyed once.
        {"keyed at the end", L"0", false, {"SetTransmit(-1)", "SetTransmit(0)", "Unadvise", "released"}},
        {"unkeyed already", L"0", true, {"SetTransmit(-1)", "SetTransmit(0)", "Unadvise", "released"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto link = bounded_.Create(events);
        ASSERT_NE(link, nullptr);
        Log log;
        SetMode(standin::kHangSetting, c.hangMs);
        link->SetTransmit(true);
        if (c.unkeyedByCaller) link->SetTransmit(false);
        const auto held = Held([&] { link.reset(); });
        EXPECT_LT(held, std::chrono::milliseconds(1500));  // the bound and the owed unkeying's wait
        EXPECT_TRUE(PumpUntil([&] { return log.Lines() == c.expected; })) << ::testing::PrintToString(log.Lines());
        SetMode(standin::kHangSetting, L"0");
    }
}

TEST_F(ComEchoLinkTest, TheGuardUnkeysThroughTheWorkerFromAThreadOfItsOwn) {
    // A bound of its own: creation is bounded too, and this test needs its object.
    ComEchoLinkFactory factory{std::chrono::milliseconds(600), std::chrono::milliseconds(400)};
    const auto fromGuard = [&] {
        echolink::HResult result;
        std::thread([&] { result = factory.UnkeyFromAnyThread(); }).join();
        return result;
    };
    EXPECT_EQ(fromGuard(), echolink::kNoObject);
    auto link = factory.Create(events);
    ASSERT_NE(link, nullptr);
    Log log;
    SetMode(standin::kHangSetting, L"1500");
    EXPECT_EQ(link->SetTransmit(true), kTimedOut);
    // Queued behind the hung keying, given up at the bound, and still made after it.
    EXPECT_EQ(fromGuard(), kTimedOut);
    SetMode(standin::kHangSetting, L"0");
    const std::vector<std::string> inOrder = {"SetTransmit(-1)", "SetTransmit(0)"};
    EXPECT_TRUE(PumpUntil([&] { return log.Lines() == inOrder; })) << ::testing::PrintToString(log.Lines());
    EXPECT_EQ(fromGuard(), echolink::kOk);
    link.reset();
    EXPECT_EQ(fromGuard(), echolink::kNoObject);
}

// Last: it ends the server the other tests share.
TEST_F(ComEchoLinkTest, ServerThatDiesMakesEveryCallFail) {
    auto link = factory_.Create(events);
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(standin::SendCommand(L"crash"));
    ASSERT_TRUE(PumpUntil([] { return !standin::SendCommand(L"say ?"); }));
    EXPECT_TRUE(link->SetTransmit(false).Failed());
    EXPECT_TRUE(link->PostChatLine("x").Failed());
    EXPECT_EQ(events.closings, 0);  // a crash sends nothing
}

}  // namespace
}  // namespace hosts::com
