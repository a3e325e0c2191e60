#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "buttons/testing/ControlRig.h"

namespace {

using buttons::qkButtons_H;
using buttons::testing::ControlRig;
using Strings = std::vector<std::string>;
constexpr buttons::OleColor red = 0x0000FF;
constexpr buttons::OleColor blue = 0xFF0000;

// One setter call on a fresh, sized button: what it stores, tells the host, shows and redraws.
struct SetterCase {
    const char* name;
    bool runTime;
    std::function<void(qkButtons_H&, buttons::testing::HeadlessHost&)> arrange;
    std::function<void(qkButtons_H&)> act;
    Strings notifications;
    Strings messages;
    int redraws;  // host refreshes caused by the act; -1: not checked
    std::function<void(qkButtons_H&, buttons::testing::HeadlessHost&)> check;
};

void RunCases(const std::vector<SetterCase>& cases) {
    for (const auto& c : cases) {
        ControlRig rig(80, 30, c.runTime);
        if (c.arrange) c.arrange(*rig.button, rig.host);
        rig.host.ClearRecords();
        const int before = rig.host.RefreshCount();
        c.act(*rig.button);
        EXPECT_EQ(rig.host.Notifications(), c.notifications) << c.name;
        EXPECT_EQ(rig.host.Messages(), c.messages) << c.name;
        if (c.redraws >= 0) {
            EXPECT_EQ(rig.host.RefreshCount() - before, c.redraws) << c.name;
        }
        if (c.check) c.check(*rig.button, rig.host);
    }
}

// Each enumerated setter: the ends of its range are stored, one past either end is ignored silently.
TEST(Properties, EnumeratedRangesAcceptBothEndsAndIgnoreTheRest) {
    struct RangeSetter {
        const char* name;
        void (qkButtons_H::*set)(std::int32_t);
        std::function<std::int32_t(qkButtons_H&)> get;
        std::int32_t lo;
        std::int32_t hi;
        const char* key;
    };
    const RangeSetter setters[] = {
        {"Mode", &qkButtons_H::SetMode, [](qkButtons_H& b) { return b.Mode(); }, 0, 2, "Mode"},
        {"CaptionAlign", &qkButtons_H::SetCaptionAlign, [](qkButtons_H& b) { return b.CaptionAlign(); }, 0, 2,
         "CapAlign"},
        {"CaptionStyle", &qkButtons_H::SetCaptionStyle, [](qkButtons_H& b) { return b.CaptionStyle(); }, 0, 2,
         "CapStyle"},
        {"ButtonShape", &qkButtons_H::SetButtonShape, [](qkButtons_H& b) { return b.ButtonShape(); }, 0, 6, "Shape"},
        {"PictureAlign", &qkButtons_H::SetPictureAlign, [](qkButtons_H& b) { return b.PictureAlign(); }, 0, 5,
         "ImgAlign"},
        {"PictureSize", &qkButtons_H::SetPictureSize, [](qkButtons_H& b) { return b.PictureSize(); }, 0, 4,
         "ImgSize"},
        {"GradientMode", &qkButtons_H::SetGradientMode, [](qkButtons_H& b) { return b.GradientMode(); }, 0, 4,
         "Gradient"},
        {"ButtonStyle", &qkButtons_H::SetButtonStyle, [](qkButtons_H& b) { return b.ButtonStyle(); }, 2, 2,
         "BackStyle"},
    };
    for (const auto& s : setters) {
        for (const bool runTime : {true, false}) {
            for (const std::int32_t bad : {s.lo - 1, s.hi + 1, INT32_MIN, INT32_MAX}) {
                ControlRig rig(80, 30, runTime);
                const std::int32_t before = s.get(*rig.button);
                const int refreshes = rig.host.RefreshCount();
                (rig.button.get()->*s.set)(bad);
                EXPECT_EQ(s.get(*rig.button), before) << s.name << " " << bad;
                EXPECT_TRUE(rig.host.Records().empty()) << s.name << " " << bad;
                EXPECT_EQ(rig.host.RefreshCount(), refreshes) << s.name << " " << bad;
            }
            for (const std::int32_t good : {s.lo, s.hi}) {
                ControlRig rig(80, 30, runTime);
                (rig.button.get()->*s.set)(good);
                EXPECT_EQ(s.get(*rig.button), good) << s.name << " " << good;
                const Strings notes = rig.host.Notifications();
                ASSERT_FALSE(notes.empty()) << s.name;
                EXPECT_EQ(notes.back(), s.key) << s.name;
            }
        }
    }
}

TEST(Properties, ModeValueAndEnabled) {
    using buttons::testing::HeadlessHost;
    RunCases({
        {"Value True on a command button, run time", true, nullptr, [](qkButtons_H& b) { b.SetValue(true); }, {}, {},
         0, [](qkButtons_H& b, HeadlessHost&) { EXPECT_FALSE(b.Value()); }},
        {"Value True on a command button, design time", false, nullptr, [](qkButtons_H& b) { b.SetValue(true); }, {},
         {std::string(buttons::MsgValueOnCommand)}, 0, [](qkButtons_H& b, HeadlessHost&) { EXPECT_FALSE(b.Value()); }},
        {"Value True on a check box", true, [](qkButtons_H& b, HeadlessHost&) { b.SetMode(1); },
         [](qkButtons_H& b) { b.SetValue(true); }, {"Value"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_TRUE(b.Value()); }},
        {"command mode clears a checked check box first", true,
         [](qkButtons_H& b, HeadlessHost&) {
             b.SetMode(1);
             b.SetValue(true);
         },
         [](qkButtons_H& b) { b.SetMode(0); }, {"Value", "Mode"}, {}, 2,
         [](qkButtons_H& b, HeadlessHost&) {
             EXPECT_FALSE(b.Value());
             EXPECT_EQ(b.Mode(), 0);
         }},
        {"Enabled unchanged does nothing", true, nullptr, [](qkButtons_H& b) { b.SetEnabled(true); }, {}, {}, 0,
         nullptr},
        {"Enabled False", true, nullptr, [](qkButtons_H& b) { b.SetEnabled(false); }, {"Enabled"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost& h) {
             EXPECT_FALSE(h.Enabled());
             EXPECT_FALSE(b.Enabled());
         }},
        {"ButtonStyle 2 again redraws and notifies", true, nullptr, [](qkButtons_H& b) { b.SetButtonStyle(2); },
         {"BackStyle"}, {}, 1, nullptr},
    });
}

TEST(Properties, CaptionAccessKeysAndAlignment) {
    using buttons::testing::HeadlessHost;
    const auto withTopPicture = [](qkButtons_H& b, HeadlessHost&) {
        b.SetPicture(buttons::testing::MakeBitmapPicture(16, 16));
        b.SetPictureAlign(4);
    };
    RunCases({
        {"&Ligar", true, nullptr, [](qkButtons_H& b) { b.SetCaption("&Ligar"); }, {"Caption"}, {}, 1,
         [](qkButtons_H&, HeadlessHost& h) { EXPECT_EQ(h.AccessKeys(), "L"); }},
        {"Sair keeps the key", true, [](qkButtons_H& b, HeadlessHost&) { b.SetCaption("&Ligar"); },
         [](qkButtons_H& b) { b.SetCaption("Sair"); }, {"Caption"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost& h) {
             EXPECT_EQ(h.AccessKeys(), "L");
             EXPECT_EQ(b.Caption(), "Sair");
         }},
        {"A& empties the key", true, [](qkButtons_H& b, HeadlessHost&) { b.SetCaption("&Ligar"); },
         [](qkButtons_H& b) { b.SetCaption("A&"); }, {"Caption"}, {}, 1,
         [](qkButtons_H&, HeadlessHost& h) { EXPECT_EQ(h.AccessKeys(), ""); }},
        {"multi-byte key kept whole", true, nullptr, [](qkButtons_H& b) { b.SetCaption("&\xC3\x89xito"); },
         {"Caption"}, {}, 1, [](qkButtons_H&, HeadlessHost& h) { EXPECT_EQ(h.AccessKeys(), "\xC3\x89"); }},
        {"line break kept in the text", true, nullptr, [](qkButtons_H& b) { b.SetCaption("Linha 1||Linha 2"); },
         {"Caption"}, {}, 1, [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.Caption(), "Linha 1||Linha 2"); }},
        {"left refused beside a top picture, design time", false, withTopPicture,
         [](qkButtons_H& b) { b.SetCaptionAlign(0); }, {}, {std::string(buttons::MsgCaptionAlignWithPicture)}, 0,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.CaptionAlign(), 2); }},
        {"left refused beside a top picture, run time", true, withTopPicture,
         [](qkButtons_H& b) { b.SetCaptionAlign(0); }, {}, {}, 0,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.CaptionAlign(), 2); }},
        {"left accepted with top alignment but no picture", false,
         [](qkButtons_H& b, HeadlessHost&) { b.SetPictureAlign(4); }, [](qkButtons_H& b) { b.SetCaptionAlign(0); },
         {"CapAlign"}, {}, 1, [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.CaptionAlign(), 0); }},
        {"bottom picture alignment centres the caption", true,
         [](qkButtons_H& b, HeadlessHost&) { b.SetCaptionAlign(1); }, [](qkButtons_H& b) { b.SetPictureAlign(5); },
         {"CapAlign", "ImgAlign"}, {}, 2, [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.CaptionAlign(), 2); }},
        {"caption effect on an empty caption does not redraw", true,
         [](qkButtons_H& b, HeadlessHost&) { b.SetCaption(""); }, [](qkButtons_H& b) { b.SetCaptionStyle(1); },
         {"CapStyle"}, {}, 0, nullptr},
        {"slant both centres a left caption once", true, [](qkButtons_H& b, HeadlessHost&) { b.SetCaptionAlign(0); },
         [](qkButtons_H& b) { b.SetButtonShape(3); }, {"CapAlign", "Shape"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.CaptionAlign(), 2); }},
        {"slant left leaves the caption alone", true, [](qkButtons_H& b, HeadlessHost&) { b.SetCaptionAlign(0); },
         [](qkButtons_H& b) { b.SetButtonShape(1); }, {"Shape"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.CaptionAlign(), 0); }},
    });
}

TEST(Properties, PictureSizeFocusRectFontAndPointer) {
    using buttons::testing::HeadlessHost;
    RunCases({
        {"size 4 is 48 pixels", true, nullptr, [](qkButtons_H& b) { b.SetPictureSize(4); }, {"ImgSize"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) {
             EXPECT_EQ(b.State().Props.PictureSize, 48);
             EXPECT_EQ(b.PictureSize(), 4);
         }},
        {"a new picture turns pixel size 0 into 16", true, nullptr,
         [](qkButtons_H& b) { b.SetPicture(buttons::testing::MakeBitmapPicture(20, 10)); }, {"Image"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) {
             EXPECT_EQ(b.State().Props.PictureSize, 16);
             EXPECT_EQ(b.State().Measured.Width, 20);
         }},
        {"focus rect off on a default-look button, run time", true,
         [](qkButtons_H& b, HeadlessHost&) { b.State().Input.StateFlags = buttons::DefaultLook; },
         [](qkButtons_H& b) { b.SetShowFocusRect(false); }, {"Focus"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.State().Input.StateFlags & buttons::DefaultLook, 0); }},
        {"focus rect off on a default-look button, design time", false,
         [](qkButtons_H& b, HeadlessHost&) { b.State().Input.StateFlags = buttons::DefaultLook; },
         [](qkButtons_H& b) { b.SetShowFocusRect(false); }, {"Focus"},
         {std::string(buttons::MsgFocusRectOnDefault)}, 0,
         [](qkButtons_H& b, HeadlessHost&) {
             EXPECT_FALSE(b.ShowFocusRect());
             EXPECT_EQ(b.State().Input.StateFlags & buttons::DefaultLook, buttons::DefaultLook);
         }},
        {"FontStyle 1 sets nothing", true, nullptr, [](qkButtons_H& b) { b.SetFontStyle(1); }, {"Font"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost& h) {
             EXPECT_EQ(b.FontStyle(), 0);
             EXPECT_FALSE(h.Font().Bold());
         }},
        {"FontStyle 14 sets all three", true, nullptr, [](qkButtons_H& b) { b.SetFontStyle(14); }, {"Font"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost& h) {
             EXPECT_EQ(b.FontStyle(), 14);
             EXPECT_TRUE(h.Font().Italic && h.Font().Underline && h.Font().Bold());
         }},
        {"an icon sets the custom pointer", true, nullptr,
         [](qkButtons_H& b) { b.SetMouseIcon(buttons::testing::MakeIconPicture()); }, {"mPointer", "mIcon"}, {}, 0,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.MousePointer(), buttons::CustomMousePointer); }},
        {"a bitmap mouse icon is refused with a titled box at design time", false, nullptr,
         [](qkButtons_H& b) { b.SetMouseIcon(buttons::testing::MakeBitmapPicture(4, 4)); }, {}, {"Invalid picture"},
         0,
         [](qkButtons_H& b, HeadlessHost& h) {
             EXPECT_EQ(b.MousePointer(), 0);
             EXPECT_EQ(h.Records().at(0).title, buttons::MouseIconErrorTitle);
         }},
        {"a bitmap mouse icon is refused silently at run time", true, nullptr,
         [](qkButtons_H& b) { b.SetMouseIcon(buttons::testing::MakeBitmapPicture(4, 4)); }, {}, {}, 0, nullptr},
        {"an empty mouse icon changes nothing else", true, nullptr,
         [](qkButtons_H& b) { b.SetMouseIcon(nullptr); }, {}, {}, 0, nullptr},
    });
    ControlRig rig;
    EXPECT_THROW(rig.button->SetMousePointer(42), std::invalid_argument);
    EXPECT_THROW(rig.button->SetMousePointer(70000), std::out_of_range);
    EXPECT_TRUE(rig.host.Notifications().empty());
}

TEST(Properties, HoverColourLocks) {
    using buttons::testing::HeadlessHost;
    RunCases({
        {"hover back differing frees the back colour", true, nullptr,
         [](qkButtons_H& b) { b.SetHoverBackColor(red); }, {"cBHover"}, {}, 0,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.HoverColorLocks(), 1); }},
        {"then hover fore differing frees both", true,
         [](qkButtons_H& b, HeadlessHost&) { b.SetHoverBackColor(red); },
         [](qkButtons_H& b) { b.SetHoverForeColor(blue); }, {"cFHover"}, {}, 0,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.HoverColorLocks(), 3); }},
        {"hover fore differing under LockBoth frees the fore colour", true, nullptr,
         [](qkButtons_H& b) { b.SetHoverForeColor(blue); }, {"cFHover"}, {}, 0,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.HoverColorLocks(), 2); }},
        {"same hover colour does nothing", true, nullptr,
         [](qkButtons_H& b) { b.SetHoverBackColor(buttons::SysButtonFace); }, {}, {}, 0, nullptr},
        {"BackColor under LockBoth drags the hover back colour along", true, nullptr,
         [](qkButtons_H& b) { b.SetBackColor(red); }, {"cBHover", "cBack"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) {
             EXPECT_EQ(b.HoverBackColor(), red);
             EXPECT_EQ(b.HoverColorLocks(), 0);
         }},
        {"BackColor stores system colours looked up, hover keeps the given value", true, nullptr,
         [](qkButtons_H& b) { b.SetBackColor(0x80000005); }, {"cBHover", "cBack"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) {
             EXPECT_EQ(b.BackColor(), gdi::GetSysColor(5));
             EXPECT_EQ(b.HoverBackColor(), 0x80000005u);
         }},
        {"BackColor with a gradient on keeps hover on the gradient colour", true,
         [](qkButtons_H& b, HeadlessHost&) {
             b.SetGradientMode(1);
             b.SetGradientColor(blue);
         },
         [](qkButtons_H& b) { b.SetBackColor(red); }, {"cBack"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.HoverBackColor(), blue); }},
        {"GradientColor without a gradient does not redraw", true, nullptr,
         [](qkButtons_H& b) { b.SetGradientColor(blue); }, {"cGradient"}, {}, 0,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.HoverBackColor(), buttons::SysButtonFace); }},
        {"GradientMode on moves a locked hover back colour to the gradient colour", true,
         [](qkButtons_H& b, HeadlessHost&) { b.SetGradientColor(blue); },
         [](qkButtons_H& b) { b.SetGradientMode(3); }, {"Gradient"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.HoverBackColor(), blue); }},
        {"HoverColorLocks LockBoth resets both hover colours", true,
         [](qkButtons_H& b, HeadlessHost&) {
             b.SetHoverBackColor(red);
             b.SetHoverForeColor(blue);
         },
         [](qkButtons_H& b) { b.SetHoverColorLocks(0); }, {"cBHover", "cFHover", "LockHover"}, {}, 0,
         [](qkButtons_H& b, HeadlessHost&) {
             EXPECT_EQ(b.HoverForeColor(), buttons::SysButtonText);
             EXPECT_EQ(b.HoverBackColor(), b.BackColor());
         }},
        {"HoverColorLocks stores any value unchecked", true, nullptr,
         [](qkButtons_H& b) { b.SetHoverColorLocks(77); }, {"LockHover"}, {}, 0,
         [](qkButtons_H& b, HeadlessHost&) { EXPECT_EQ(b.HoverColorLocks(), 77); }},
        {"ForeColor under LockBoth moves the hover fore colour", true, nullptr,
         [](qkButtons_H& b) { b.SetForeColor(red); }, {"cFHover", "cFore"}, {}, 1,
         [](qkButtons_H& b, HeadlessHost&) {
             EXPECT_EQ(b.HoverForeColor(), red);
             EXPECT_EQ(b.HoverColorLocks(), 0);
         }},
        {"ForeColor unchanged does nothing", true, nullptr,
         [](qkButtons_H& b) { b.SetForeColor(buttons::SysButtonText); }, {}, {}, 0, nullptr},
        {"ForeColor ends a pending delay and draws at once", true,
         [](qkButtons_H& b, HeadlessHost&) { b.DelayDrawing(true); }, [](qkButtons_H& b) { b.SetForeColor(red); },
         {"cFHover", "cFore"}, {}, 1, [](qkButtons_H& b, HeadlessHost&) { EXPECT_FALSE(b.State().Drawing.Delayed); }},
        {"ResetDefaultColors at run time does nothing", true, nullptr,
         [](qkButtons_H& b) { b.SetResetDefaultColors(true); }, {}, {}, 0, nullptr},
        {"ResetDefaultColors False does nothing", false, nullptr,
         [](qkButtons_H& b) { b.SetResetDefaultColors(false); }, {}, {}, 0, nullptr},
        {"ResetDefaultColors at design time", false,
         [](qkButtons_H& b, HeadlessHost&) {
             b.SetBackColor(red);
             b.SetForeColor(blue);
             b.SetGradientMode(2);
             b.SetHoverColorLocks(3);
         },
         [](qkButtons_H& b) { b.SetResetDefaultColors(true); },
         {"cFore", "cGradient", "Gradient", "cBHover", "cFHover", "LockHover", "cGradient", "cBack"}, {},
         -1,
         [](qkButtons_H& b, HeadlessHost& h) {
             EXPECT_EQ(b.BackColor(), buttons::SysButtonFace);
             EXPECT_EQ(h.ForeColor(), buttons::SysButtonText);
             EXPECT_EQ(b.GradientColor(), buttons::SysButtonFace);
             EXPECT_EQ(b.GradientMode(), 0);
             EXPECT_EQ(b.HoverColorLocks(), 0);
             EXPECT_FALSE(b.ResetDefaultColors());
         }},
    });
}

TEST(Properties, DelayDrawingHoldsEveryRedrawUntilReleased) {
    ControlRig rig;
    rig.button->DelayDrawing(true);
    const int before = rig.host.RefreshCount();
    rig.button->SetCaption("Ligar");
    rig.button->SetBackColor(0x00FF00);
    rig.button->SetPictureSize(2);
    rig.button->SetGradientMode(1);
    rig.button->Refresh();
    EXPECT_EQ(rig.host.RefreshCount(), before);
    EXPECT_TRUE(rig.button->State().Drawing.Delayed);
    rig.button->DelayDrawing(false);
    EXPECT_EQ(rig.host.RefreshCount(), before + 1);
}

TEST(Properties, HelpTextsCoverEveryMember) {
    EXPECT_EQ(buttons::HelpText("caption"), "The caption of the button. Double pipe (||) is a line break.");
    EXPECT_EQ(buttons::HelpText("ForeColor"), "The color of the caption's font .");
    EXPECT_TRUE(buttons::HelpText("hDC").empty());
    for (const auto& h : buttons::MemberHelpTexts) EXPECT_FALSE(h.Text.empty()) << h.Member;
}

// A container that destroys the button from inside a notification must not be touched afterwards.
TEST(Properties, ContainerMayDestroyTheButtonInsideANotification) {
    struct DestroyingHost : buttons::testing::HeadlessHost {
        using HeadlessHost::HeadlessHost;
        std::unique_ptr<qkButtons_H>* owner = nullptr;
        std::string trigger;
        void PropertyChanged(const std::string& key) override {
            HeadlessHost::PropertyChanged(key);
            if (owner && key == trigger) owner->reset();
        }
    };
    const std::function<void(qkButtons_H&)> actions[] = {
        [](qkButtons_H& b) { b.SetBackColor(0xFF); },        [](qkButtons_H& b) { b.SetHoverColorLocks(0); },
        [](qkButtons_H& b) { b.SetResetDefaultColors(true); }, [](qkButtons_H& b) { b.SetForeColor(0xFF); },
        [](qkButtons_H& b) { b.SetMouseIcon(buttons::testing::MakeIconPicture()); },
        [](qkButtons_H& b) { b.SetMode(0); },
    };
    for (const char* trigger : {"cBHover", "cFHover", "cFore", "cGradient", "mPointer", "Value"}) {
        for (const auto& act : actions) {
            win::FakeWindowServices windows;
            DestroyingHost host(40, 20);
            host.SetUserMode(false);
            auto button = std::make_unique<qkButtons_H>(host, windows);
            button->InitProperties();
            button->Resize();
            button->SetMode(1);
            button->SetValue(true);
            host.owner = &button;
            host.trigger = trigger;
            act(*button);
            host.owner = nullptr;
        }
    }
    EXPECT_EQ(gdi::LiveObjects().dcs, 0);
}

}  // namespace
