#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "buttons/testing/ControlRig.h"
#include "buttons/OptionGroup.h"
#include "buttons/Persistence.h"
#include "forms/Description.h"

namespace {

using buttons::qkButtons_H;
using buttons::testing::ControlRig;

forms::PropertyBag Parse(const std::string& body, const std::filesystem::path& dir = {}) {
    auto doc = forms::ParseDescription("DizoForm 1\nBegin Button b\n" + body + "End\n", "b.frm", dir);
    return doc.Root.Properties;
}

std::vector<std::string> Keys(const forms::PropertyBag& bag) {
    std::vector<std::string> out;
    for (const auto& e : bag.Entries()) out.push_back(e.Key);
    return out;
}

// A small picture file of our own, beside the description.
std::filesystem::path WritePictureFile(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    const auto file = dir / "pic.png";
    const gdi::OwnedBitmap bm(gdi::CreateDIBSection32(16, 16));
    gdi::WritePng(bm.get(), file);
    return file;
}

TEST(Persistence, ANewButtonSavesOnlyWhatDiffersFromTheDefaults) {
    ControlRig rig(80, 30, false);
    EXPECT_EQ(rig.button->Caption(), "qkButtons_H1");
    forms::PropertyBag bag;
    rig.button->WriteProperties(bag);
    // GradientColor starts at 0 but saves against 0x8000000F; the pixel size is still 0.
    EXPECT_EQ(Keys(bag), (std::vector<std::string>{"Caption", "Font", "cGradient", "Mode", "Value", "ImgSize", "cBack"}));
    EXPECT_EQ(bag.ReadInt16("ImgSize", -1), 0);
    EXPECT_EQ(bag.ReadColour("cBack", 0), buttons::SysButtonFace);
}

TEST(Persistence, InitialiseNotifiesInOrderAndRecordsTheContainer) {
    win::FakeWindowServices windows;
    buttons::testing::HeadlessHost host(40, 20);
    host.SetWindows(win::HWND{77}, win::HWND{4242});
    qkButtons_H button(host, windows);
    button.InitProperties();
    EXPECT_EQ(host.Notifications(),
              (std::vector<std::string>{"BackStyle", "Caption", "CapAlign", "Focus", "cFHover", "cBHover"}));
    EXPECT_EQ(host.Tag(), "4242");
    EXPECT_EQ(host.RefreshCount(), 0);  // initialisation draws nothing
}

TEST(Persistence, SaveThenLoadGivesBackTheSameButton) {
    const auto dir = std::filesystem::temp_directory_path() / "dizo_persistence_rt";
    const auto pic = WritePictureFile(dir);
    forms::PropertyBag saved((dir / "w.frm").string(), dir);
    {
        ControlRig rig(97, 41, false);
        auto& b = *rig.button;
        b.SetCaption("&Ligar\r\nagora  ");
        b.SetCaptionAlign(0);
        b.SetButtonShape(2);
        b.SetFont({"Times New Roman", 15.75, 700, false, false, false, 0});
        b.SetForeColor(0x00112233);
        b.SetHoverForeColor(0x00445566);
        b.SetBackColor(0x00C0FFC0);
        b.SetHoverBackColor(0x00808080);
        b.SetShowFocusRect(false);
        b.SetGradientColor(0x000000FF);
        b.SetGradientMode(3);
        b.SetCaptionStyle(2);
        b.SetMode(1);
        b.SetValue(true);
        b.SetPicture(buttons::LoadPicture(pic));
        b.SetPictureAlign(3);
        b.SetPictureSize(2);
        b.SetEnabled(false);
        b.SetMouseIcon(nullptr);
        b.SetMousePointer(5);
        b.WriteProperties(saved);
    }
    // Through the text form and back.
    forms::Control c{"Button", "ligar", 0, saved, {}};
    const auto doc = forms::ParseDescription(forms::WriteDescription(c), (dir / "w.frm").string(), dir);
    const forms::PropertyBag& loadedBag = doc.Root.Properties;
    EXPECT_EQ(loadedBag, saved);

    ControlRig rig(97, 41, false);
    rig.button->ReadProperties(loadedBag);
    auto& b = *rig.button;
    EXPECT_EQ(b.Caption(), "&Ligar\r\nagora  ");
    EXPECT_EQ(rig.host.AccessKeys(), "L");
    EXPECT_EQ(b.CaptionAlign(), 0);
    EXPECT_EQ(b.ButtonShape(), 2);
    EXPECT_EQ(b.Font().Name, "Times New Roman");
    EXPECT_EQ(b.Font().Size, 15.75);
    EXPECT_TRUE(b.Font().Bold());
    EXPECT_EQ(b.ForeColor(), 0x00112233u);
    EXPECT_EQ(b.HoverForeColor(), 0x00445566u);
    EXPECT_EQ(b.BackColor(), 0x00C0FFC0u);
    EXPECT_EQ(b.HoverBackColor(), 0x00808080u);
    EXPECT_FALSE(b.ShowFocusRect());
    EXPECT_EQ(b.GradientColor(), 0x000000FFu);
    EXPECT_EQ(b.GradientMode(), 3);
    EXPECT_EQ(b.CaptionStyle(), 2);
    EXPECT_EQ(b.Mode(), 1);
    EXPECT_TRUE(b.Value());
    EXPECT_EQ(b.State().Measured.Width, 16);
    EXPECT_EQ(b.PictureAlign(), 3);
    EXPECT_EQ(b.PictureSize(), 2);
    EXPECT_FALSE(b.Enabled());
    EXPECT_EQ(b.MousePointer(), 5);
    EXPECT_FALSE(b.State().Drawing.Delayed);
    EXPECT_GT(rig.host.RefreshCount(), 0);

    forms::PropertyBag again((dir / "w.frm").string(), dir);
    b.WriteProperties(again);
    EXPECT_EQ(again, saved);
    std::filesystem::remove_all(dir);
}

TEST(Persistence, LoadEdgeCases) {
    struct Case {
        const char* name;
        bool runTime;
        std::string body;
        std::function<void(qkButtons_H&, buttons::testing::HeadlessHost&)> check;
    };
    const Case cases[] = {
        {"empty store gives every read default", true, "",
         [](qkButtons_H& b, buttons::testing::HeadlessHost& h) {
             EXPECT_EQ(b.Caption(), "");
             EXPECT_EQ(b.CaptionAlign(), 2);
             EXPECT_EQ(b.ButtonStyle(), 2);
             EXPECT_EQ(b.Mode(), 0);
             EXPECT_TRUE(b.ShowFocusRect());
             EXPECT_TRUE(h.Enabled());
             EXPECT_EQ(b.State().Props.PictureSize, 16);
             EXPECT_EQ(b.BackColor(), h.AmbientBackColor());
             EXPECT_EQ(b.HoverBackColor(), b.BackColor());
             EXPECT_EQ(b.GradientColor(), buttons::SysButtonFace);
         }},
        {"no cBack takes the container's, cBHover follows it", true, " cBack = &H00FF0000&\n",
         [](qkButtons_H& b, buttons::testing::HeadlessHost&) { EXPECT_EQ(b.HoverBackColor(), 0x00FF0000u); }},
        {"keys in any case", true, " capalign = 0\n CAPSTYLE = 1\n cback = &H80000005&\n",
         [](qkButtons_H& b, buttons::testing::HeadlessHost&) {
             EXPECT_EQ(b.CaptionAlign(), 0);
             EXPECT_EQ(b.CaptionStyle(), 1);
             EXPECT_EQ(b.BackColor(), 0x80000005u);  // a system-colour value stays one
         }},
        {"16-bit into 32-bit and back", true, " CapAlign = 1%\n ImgSize = 32\n mPointer = 3\n LockHover = 2%\n",
         [](qkButtons_H& b, buttons::testing::HeadlessHost&) {
             EXPECT_EQ(b.CaptionAlign(), 1);
             EXPECT_EQ(b.PictureSize(), 2);
             EXPECT_EQ(b.MousePointer(), 3);
             EXPECT_EQ(b.HoverColorLocks(), 2);
         }},
        {"pixel size 0 reads as Size16", true, " ImgSize = 0%\n",
         [](qkButtons_H& b, buttons::testing::HeadlessHost&) { EXPECT_EQ(b.PictureSize(), 0); }},
        {"retired style at run time: repaired, colours kept", true, " BackStyle = 5\n cBack = &H000000FF&\n",
         [](qkButtons_H& b, buttons::testing::HeadlessHost& h) {
             EXPECT_EQ(b.ButtonStyle(), 2);
             EXPECT_EQ(b.BackColor(), 0x000000FFu);
             const auto notes = h.Notifications();
             EXPECT_NE(std::find(notes.begin(), notes.end(), "BackStyle"), notes.end());
         }},
        {"retired style at design time: colours reset too", false,
         " BackStyle = 5\n cBack = &H000000FF&\n Gradient = 2\n LockHover = 3\n cFore = &H00FF00FF&\n",
         [](qkButtons_H& b, buttons::testing::HeadlessHost& h) {
             EXPECT_EQ(b.ButtonStyle(), 2);
             EXPECT_EQ(b.BackColor(), buttons::SysButtonFace);
             EXPECT_EQ(h.ForeColor(), buttons::SysButtonText);
             EXPECT_EQ(b.GradientColor(), buttons::SysButtonFace);
             EXPECT_EQ(b.GradientMode(), 0);
             EXPECT_EQ(b.HoverColorLocks(), 0);
         }},
        {"an unknown style value is kept", true, " BackStyle = 9\n",
         [](qkButtons_H& b, buttons::testing::HeadlessHost&) { EXPECT_EQ(b.ButtonStyle(), 9); }},
        {"option mode joins the container's group", true, " Mode = 2\n",
         [](qkButtons_H& b, buttons::testing::HeadlessHost& h) {
             EXPECT_EQ(b.Windows().GetPropA(h.ContainerHwnd(), buttons::OptCountProperty), 1u);
         }},
    };
    for (const auto& c : cases) {
        ControlRig rig(80, 30, c.runTime);
        rig.host.ClearRecords();
        rig.button->ReadProperties(Parse(c.body));
        c.check(*rig.button, rig.host);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << c.name;
            return;
        }
    }
}

TEST(Persistence, CentredCaptionAndLockedHoverColourAreNotSaved) {
    ControlRig rig;
    rig.button->SetCaptionAlign(2);
    forms::PropertyBag bag;
    rig.button->WriteProperties(bag);
    EXPECT_FALSE(bag.Contains("CapAlign"));
    EXPECT_FALSE(bag.Contains("cBHover"));
    EXPECT_TRUE(bag.Contains("Mode"));
    EXPECT_TRUE(bag.Contains("Value"));
    rig.button->SetCaptionAlign(0);
    rig.button->WriteProperties(bag);
    EXPECT_EQ(bag.ReadInt32("CapAlign", 2), 0);
    rig.button->SetCaptionAlign(2);
    rig.button->WriteProperties(bag);  // rewriting the default removes the stale key
    EXPECT_FALSE(bag.Contains("CapAlign"));
}

TEST(Persistence, ABadValueNamesTheLineAndLeavesTheButtonAsItWas) {
    const auto dir = std::filesystem::temp_directory_path() / "dizo_persistence_bad";
    std::filesystem::create_directories(dir);
    { std::ofstream(dir / "broken.ico") << "not an image"; }
    const struct {
        std::string body;
        int line;
        const char* key;
    } cases[] = {
        {" Caption = \"Ok\"\n Mode = \"two\"\n", 4, "Mode"},
        {" Caption = 5\n", 3, "Caption"},
        {" ImgSize = 40000\n", 3, "ImgSize"},
        {" Font = 3\n", 3, "Font"},
        {" Image = Picture(\"broken.ico\")\n", 3, "Image"},
        {" mIcon = \"x\"\n", 3, "mIcon"},
        {" Caption = \"Ok\"\n mPointer = 42\n", 4, "mPointer"},
    };
    for (const auto& c : cases) {
        ControlRig rig;
        rig.button->SetCaption("before");
        try {
            rig.button->ReadProperties(Parse(c.body, dir));
            ADD_FAILURE() << c.body;
        } catch (const forms::FormatError& e) {
            EXPECT_EQ(e.Line(), c.line) << e.what();
            EXPECT_EQ(e.Key(), c.key) << e.what();
            EXPECT_EQ(e.File(), "b.frm");
        }
        // Values are all read and checked before any is applied.
        EXPECT_EQ(rig.button->Caption(), "before") << c.body;
        EXPECT_FALSE(rig.button->State().Drawing.Delayed) << c.body;
    }
    std::filesystem::remove_all(dir);
}

// Stored values no setter would accept must still lay out and draw safely at any size and state.
TEST(Persistence, OutOfRangeStoredValuesDrawSafely) {
    const char* keys[] = {"CapAlign", "Shape", "Gradient", "ImgAlign", "Mode", "LockHover", "CapStyle"};
    const std::int32_t values[] = {INT32_MIN, -1, 7, 1000, INT32_MAX};
    const std::int16_t sizes[] = {-32768, -8, 0, 7, 1000, 32767};
    const std::pair<int, int> geometry[] = {{0, 0}, {1, 1}, {3, 2}, {97, 41}};
    const gdi::ObjectCounts before = gdi::LiveObjects();
    const auto picture = buttons::testing::MakeBitmapPicture(20, 20);
    for (const auto& [w, h] : geometry) {
        for (const char* key : keys) {
            for (const std::int32_t v : values) {
                for (const std::int16_t size : {sizes[0], sizes[3], sizes[5]}) {
                    forms::PropertyBag bag = Parse(" Caption = \"A&b||c\"\n");
                    bag.WriteInt32(key, v);
                    bag.WriteInt16("ImgSize", size);
                    ControlRig rig(w, h);
                    rig.button->State().Props.Picture = picture;
                    rig.button->ReadProperties(bag);
                    rig.button->State().Props.Picture = picture;
                    rig.button->RefreshCache("Picture");
                    for (std::uint8_t flags = 0; flags < 8; ++flags) {
                        rig.button->State().Input.StateFlags = flags;
                        rig.button->State().Props.Value = flags % 2 == 1;
                        rig.button->Paint();
                    }
                    rig.host.SetWidthPixels(w + 5);
                    const std::int32_t step = rig.button->PictureSize();
                    EXPECT_TRUE(step >= 0 && step <= 4) << step;
                }
            }
        }
    }
    EXPECT_EQ(gdi::LiveObjects().dcs, before.dcs);
}

}  // namespace
