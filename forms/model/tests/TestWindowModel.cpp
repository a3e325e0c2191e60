// The window model: units, colours, per-kind defaults, tab order, and the one font table that the
// fontconfig snippet and the Wine prefix must repeat.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include "forms/FontSubstitutes.h"
#include "forms/model/TextFit_p.h"
#include "forms/model/WindowModel.h"
#include "gdi/SysColor.h"

namespace forms {
namespace {

const std::filesystem::path Source = DIZO_SOURCE_DIR;

Document Describe(const std::string& body) {
    return ParseDescription("DizoForm 1\nBegin Form F\n ClientWidth = 4500\n ClientHeight = 3000\n" + body + "End\n",
                            "test.frm", Source / "relay" / "forms");
}

const ControlModel& Only(const std::vector<ControlModel>& controls, std::string_view name) {
    for (const ControlModel& c : controls) {
        if (c.Name == name) return c;
    }
    throw std::runtime_error("no control " + std::string(name));
}

TEST(Scale, TwipsRoundToTheNearestPixel) {
    const std::pair<int, int> cases[] = {{0, 0},     {7, 0},       {8, 1},         {15, 1},   {22, 1},
                                         {23, 2},    {6270, 418},  {11640, 776},   {-7, 0},   {-8, -1},
                                         {7545, 503}, {2175, 145}, {INT32_MAX, 143165576}};
    for (const auto& [twips, pixels] : cases) EXPECT_EQ(StandardScale.Pixels(twips), pixels) << twips;
}

TEST(Scale, PointSizesBecomePixelsTiesToEven) {
    const std::pair<int, int> cases[] = {{82500, 11},  {97500, 13},  {120000, 16}, {135000, 18}, {142500, 19},
                                         {157500, 21}, {202500, 27}, {240000, 32}, {11250, 2},   {3750, 0},
                                         {18750, 2},   {0, 0}};
    for (const auto& [size, pixels] : cases) EXPECT_EQ(StandardScale.FontPixels(size), pixels) << size;
}

TEST(Scale, AHighDpiScreenGrowsGeometryAndFontsAlike) {
    constexpr Scale large{144};
    EXPECT_EQ(large.Pixels(1500), 150);
    EXPECT_EQ(large.FontPixels(82500), 16);  // 8.25 pt: 16.5 px, ties to even
    EXPECT_EQ(large.Pixels(StandardScale.Twips(145)), 218);
    EXPECT_EQ(StandardScale.Twips(145), 2175);
    EXPECT_EQ(ClientWidthForOuter(StandardScale, 11790), 776);
    EXPECT_EQ(ClientHeightForOuter(StandardScale, 100), 1);
}

TEST(OleColours, SystemColoursResolveThroughTheTable) {
    gdi::SetSysColorTable(gdi::DefaultSysColors());
    EXPECT_EQ(gdi::ColorFromOle(0x0080FF80), 0x0080FF80u);
    EXPECT_EQ(gdi::ColorFromOle(OleButtonFace), gdi::GetSysColor(15));
    EXPECT_EQ(gdi::ColorFromOle(0x800000FF), 0u);  // outside the table: GetSysColor gives 0
}

TEST(WindowModel, EachKindGetsItsDefaultsInPixels) {
    gdi::SetSysColorTable(gdi::DefaultSysColors());
    const Document doc = Describe(
        " BackColor = &H00C0FFC0&\n Font = Font(\"MS Sans Serif\", 8.25)\n"
        " Begin Label L\n  Left = 150\n  Top = 150\n  Width = 900\n  Height = 225\n  Alignment = 2\n"
        "  BackStyle = 0\n  Caption = \"Olá\"\n End\n"
        " Begin TextBox T\n  TabIndex = 2\n  ScrollBars = 2\n  MultiLine = True\n End\n"
        " Begin Frame Fr\n  Left = 3000\n  Width = 1500\n  Height = 1500\n  Font = Font(\"Times New Roman\", 12, Bold)\n"
        "  Begin Button B\n   TabIndex = 1\n  End\n End\n"
        " Begin Line Ln\n  X1 = 300\n  Y1 = 150\n  X2 = 0\n  Y2 = 150\n  BorderWidth = 2\n End\n"
        " Begin Timer Tm\n End\n"
        " Begin AnimatedPicture A\n  Picture = Picture(\"art/ligar.ico\")\n End\n");
    const WindowModel w = BuildWindowModel(doc);
    EXPECT_EQ(w.Caption, "F");
    EXPECT_EQ(w.ClientWidth, 300);
    EXPECT_EQ(w.Back, 0x00C0FFC0u);
    ASSERT_EQ(w.Controls.size(), 5u);  // the timer has nothing to show

    const ControlModel& label = Only(w.Controls, "L");
    EXPECT_EQ(label.Box, (PixelRect{10, 10, 60, 15}));
    EXPECT_EQ(label.Alignment, TextAlignment::Center);
    EXPECT_FALSE(label.Opaque);
    EXPECT_EQ(label.Back, gdi::GetSysColor(15));  // a label's own default, not its container's
    ASSERT_TRUE(label.Font);
    EXPECT_EQ(label.Font->Family, "Liberation Sans");
    EXPECT_EQ(label.Font->PixelHeight, 11);

    const ControlModel& text = Only(w.Controls, "T");
    EXPECT_EQ(text.Back, gdi::GetSysColor(5));
    EXPECT_EQ(text.ScrollBars, ScrollBarSet::Vertical);
    EXPECT_TRUE(text.TakesFocus);

    const ControlModel& frame = Only(w.Controls, "Fr");
    EXPECT_EQ(frame.Back, 0x00C0FFC0u);  // a frame takes its container's colour
    const ControlModel& button = Only(frame.Children, "B");
    EXPECT_EQ(button.AmbientBack, 0x00C0FFC0u);
    ASSERT_TRUE(button.Font);
    EXPECT_EQ(button.Font->Face, "Times New Roman");
    EXPECT_EQ(button.Font->PixelHeight, 16);
    EXPECT_EQ(button.Settings, &doc.Root.Children[2].Children[0].Properties);

    const ControlModel& line = Only(w.Controls, "Ln");
    EXPECT_EQ(line.Box, (PixelRect{0, 10, 23, 3}));
    EXPECT_EQ(line.From, (PixelPoint{20, 0}));
    EXPECT_EQ(line.To, (PixelPoint{0, 0}));
    EXPECT_EQ(line.Fore, gdi::GetSysColor(8));

    EXPECT_TRUE(Only(w.Controls, "A").Stretch);
    EXPECT_EQ(w.TabOrder, (std::vector<std::string>{"B", "T"}));
}

TEST(WindowModel, WithoutAStoredFontTheHostDefaultIsInherited) {
    const Document doc = Describe(" Begin Label L\n End\n");
    const WindowModel w = BuildWindowModel(doc);
    EXPECT_FALSE(w.Font);
    EXPECT_FALSE(Only(w.Controls, "L").Font);
}

// Every key the program's windows store on a control is one its kind reads.
TEST(WindowModel, TheProgramsWindowsStoreNoKeyThatIsIgnored) {
    for (const char* file : {"Form1.frm", "sobre_.frm"}) {
        const Document doc = LoadDescription(Source / "relay" / "forms" / file);
        std::vector<const Control*> pending{&doc.Root};
        while (!pending.empty()) {
            const Control* c = pending.back();
            pending.pop_back();
            for (const Control& child : c->Children) pending.push_back(&child);
            const std::optional<ControlKind> kind = KindFromName(c->Kind);
            if (!kind || *kind == ControlKind::Button) continue;
            const auto keys = KeysRead(*kind);
            for (const Entry& e : c->Properties.Entries()) {
                const bool read = std::any_of(keys.begin(), keys.end(), [&](std::string_view k) { return KeyEquals(k, e.Key); });
                EXPECT_TRUE(read) << file << ": " << c->Name << "." << e.Key;
            }
        }
    }
}

// A label clips and wrapping cannot break a word: a box narrower than its widest word grows to
// it about the label's alignment; one whose words fit keeps its stored size.
TEST(WindowModel, ALabelGrowsToItsWidestWordAboutItsAlignment) {
    const struct {
        const char* name;
        const char* caption;
        int width;  // twips
        int alignment;
        bool grows;
    } cases[] = {
        {"one word too wide, left", "QD4RV", 1455, 0, true},
        {"one word too wide, right", "QD4RV", 1455, 1, true},
        {"one word too wide, centred", "QD4RV", 1455, 2, true},
        {"words that wrap", "QD QD QD QD", 1455, 0, false},
        {"wide enough", "QD4RV", 2400, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowModel w = BuildWindowModel(Describe(
            " Begin Label L\n  Left = 1500\n  Top = 0\n  Width = " + std::to_string(c.width) +
            "\n  Height = 615\n  Alignment = " + std::to_string(c.alignment) + "\n  Caption = \"" + c.caption +
            "\"\n  Font = Font(\"Times New Roman\", 24, Bold)\n End\n"));
        const PixelRect stored{100, 0, StandardScale.Pixels(c.width), 41};
        const PixelRect box = Only(w.Controls, "L").Box;
        EXPECT_EQ(box.Width > stored.Width, c.grows) << box.Width;
        EXPECT_EQ(box.Height, stored.Height);
        const int grow = box.Width - stored.Width;
        const int expectedLeft = c.alignment == 0 ? stored.Left : c.alignment == 1 ? stored.Left - grow : stored.Left - grow / 2;
        EXPECT_EQ(box.Left, expectedLeft);
    }
}

// Every label of the program's windows shows its whole words: none is narrower than the
// drawing layer's word-wrapping asks for.
TEST(WindowModel, TheProgramsLabelsShowTheirWholeWords) {
    for (const char* file : {"Form1.frm", "sobre_.frm"}) {
        const WindowModel w = BuildWindowModel(LoadDescription(Source / "relay" / "forms" / file));
        std::vector<const ControlModel*> pending;
        for (const ControlModel& c : w.Controls) pending.push_back(&c);
        while (!pending.empty()) {
            const ControlModel& c = *pending.back();
            pending.pop_back();
            for (const ControlModel& child : c.Children) pending.push_back(&child);
            if (c.Kind != ControlKind::Label || !c.Font) continue;
            EXPECT_EQ(detail::WrappedTextWidth(c.Caption, *c.Font, c.Box.Width), c.Box.Width) << file << ": " << c.Name;
        }
    }
}

std::string ReadText(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::pair<std::string, std::string>> Pairs(const std::string& text, const std::regex& pattern) {
    std::vector<std::pair<std::string, std::string>> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
        out.emplace_back((*it)[1], (*it)[2]);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(FontSubstitutes, FontconfigAndTheWinePrefixCarryTheSameTable) {
    std::vector<std::pair<std::string, std::string>> table;
    for (const FontSubstitute& s : FontSubstitutes()) table.emplace_back(s.Family, s.Substitute);
    std::sort(table.begin(), table.end());
    const std::regex alias(R"(<family>([^<]+)</family>\s*<prefer><family>([^<]+)</family>)");
    const std::regex reg(R"re("([^"]+)"="(Liberation [^"]+)")re");
    EXPECT_EQ(Pairs(ReadText(Source / "scripts" / "fontconfig" / "60-dizo-fonts.conf"), alias), table);
    EXPECT_EQ(Pairs(ReadText(Source / "scripts" / "wine" / "prefix.sh"), reg), table);
    EXPECT_EQ(SubstituteFor("ms sans serif"), "Liberation Sans");
    EXPECT_EQ(SubstituteFor("Tahoma"), "Tahoma");
}

}  // namespace
}  // namespace forms
