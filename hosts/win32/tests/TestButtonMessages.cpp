// The qkButtons_H window's message translation: what the control hears for each message sequence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/win32/ButtonMessages.h"

namespace hosts::win32 {
namespace {

// Writes every notification as a short word, so a sequence reads as one line.
class Log final : public ButtonInputSink {
public:
    std::string text;
    void MouseDown(std::int16_t b, std::int16_t s, float x, float y) override { Add("down", b, s, x, y); }
    void MouseMove(std::int16_t b, std::int16_t s, float x, float y) override { Add("move", b, s, x, y); }
    void MouseUp(std::int16_t b, std::int16_t s, float x, float y, bool over) override {
        Add(over ? "up^" : "up", b, s, x, y);
    }
    void DblClick() override { Word("dbl"); }
    void KeyDown(std::int16_t k, std::int16_t s) override { Word("kd" + std::to_string(k) + "/" + std::to_string(s)); }
    void KeyPress(std::int16_t a) override { Word("kp" + std::to_string(a)); }
    void KeyUp(std::int16_t k, std::int16_t s) override { Word("ku" + std::to_string(k) + "/" + std::to_string(s)); }
    void GotFocus() override { Word("focus"); }
    void LostFocus() override { Word("blur"); }

private:
    void Word(const std::string& w) { text += (text.empty() ? "" : " ") + w; }
    void Add(const char* w, std::int16_t b, std::int16_t s, float x, float y) {
        Word(std::string(w) + std::to_string(b) + (s ? "s" + std::to_string(s) : "") + "@" +
             std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
    }
};

struct Message {
    std::uint32_t id;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    bool over = true;
    std::int16_t shift = 0;
};

constexpr std::intptr_t At(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) |
                                      static_cast<std::uint16_t>(x));
}

struct Case {
    const char* name;
    std::vector<Message> messages;
    const char* heard;
};

const Case Cases[] = {
    {"ReleasedOverTheButtonSaysSo", {{msg::LButtonDown, 1, At(5, 6)}, {msg::LButtonUp, 0, At(5, 6)}},
     "down1@5,6 up^1@5,6"},
    {"ReleasedOutsideSaysSo", {{msg::LButtonDown, 1, At(5, 6)}, {msg::LButtonUp, 0, At(-3, 40), false}},
     "down1@5,6 up1@-3,40"},
    // The platform sends the second press of a double click as a double-click message.
    {"DoubleClickArrivesAsOneDblClick",
     {{msg::LButtonDown, 1, At(2, 2)}, {msg::LButtonUp, 0, At(2, 2)}, {msg::LButtonDblClk, 1, At(2, 2)},
      {msg::LButtonUp, 0, At(2, 2)}},
     "down1@2,2 up^1@2,2 dbl up^1@2,2"},
    {"RightAndMiddleButtonsAreReportedAsTheyAre",
     {{msg::RButtonDown, 2, At(1, 1)}, {msg::RButtonUp, 0, At(1, 1)}, {msg::MButtonDown, 0x10, At(1, 1)},
      {msg::MButtonUp, 0, At(1, 1)}, {msg::RButtonDblClk, 2, At(1, 1)}},
     "down2@1,1 up^2@1,1 down4@1,1 up^4@1,1 dbl"},
    {"MoveReportsHeldButtonsAndShift", {{msg::MouseMove, 0x0001 | 0x0002 | 0x0010, At(7, 8), true, 3}},
     "move7s3@7,8"},
    {"KeysAndCharacters",
     {{msg::KeyDown, 32, 0, true, 1}, {msg::Char, 32}, {msg::KeyUp, 32}, {msg::Char, 0xE1}},
     "kd32/1 kp32 ku32/0 kp225"},
    {"FocusComesAndGoes", {{msg::SetFocus}, {msg::KillFocus}}, "focus blur"},
};

class ButtonMessagesTest : public testing::TestWithParam<Case> {};

TEST_P(ButtonMessagesTest, ControlHears) {
    Log log;
    for (const Message& m : GetParam().messages) {
        EXPECT_TRUE(TranslateButtonMessage(m.id, m.wParam, m.lParam, MessageContext{m.shift, m.over}, log));
    }
    EXPECT_EQ(log.text, GetParam().heard);
}

INSTANTIATE_TEST_SUITE_P(Sequences, ButtonMessagesTest, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Tab belongs to the window's dialog rules, and other messages to the default window procedure.
TEST(ButtonMessages, LeavesTabAndOtherMessagesToThePlatform) {
    Log log;
    for (const Message& m : {Message{msg::KeyDown, 9}, Message{msg::KeyUp, 9}, Message{msg::Char, 9},
                             Message{0x000F /* WM_PAINT */}, Message{msg::Char, 0x100}}) {
        EXPECT_FALSE(TranslateButtonMessage(m.id, m.wParam, m.lParam, MessageContext{}, log)) << m.id;
    }
    EXPECT_EQ(log.text, "");
}

}  // namespace
}  // namespace hosts::win32
