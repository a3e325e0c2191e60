#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "forms/Description.h"
#include "relay/Texts.h"

namespace relay {
namespace {

const std::filesystem::path kForms = std::filesystem::path(DIZO_SOURCE_DIR) / "relay" / "forms";

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}
constexpr std::uint32_t SysColour(std::uint32_t index) {
    return 0x80000000u | index;
}
constexpr std::int32_t Points(int hundredths) {
    return hundredths * 100;  // the format keeps ten-thousandths of a point
}

struct Placed {
    const char* name;
    const char* kind;
    const char* parent;
    forms::Geometry geometry;
    int tab;  // -1: the control takes no tab index
};

const forms::Control& Find(const forms::Document& doc, const char* name) {
    const forms::Control* c = doc.Root.FindByName(name);
    if (c == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *c;
}

// The control's parent, found by walking the tree from the root.
const forms::Control* ParentOf(const forms::Control& root, const forms::Control& child) {
    for (const forms::Control& c : root.Children) {
        if (&c == &child) {
            return &root;
        }
        if (const forms::Control* p = ParentOf(c, child)) {
            return p;
        }
    }
    return nullptr;
}

void ExpectPlaced(const forms::Document& doc, const Placed& row) {
    SCOPED_TRACE(row.name);
    const forms::Control& c = Find(doc, row.name);
    EXPECT_EQ(c.Name, row.name);  // exact spelling, not just a case-insensitive match
    EXPECT_EQ(c.Kind, row.kind);
    const forms::Geometry g = c.Geom();
    EXPECT_EQ(g.Left, row.geometry.Left);
    EXPECT_EQ(g.Top, row.geometry.Top);
    EXPECT_EQ(g.Width, row.geometry.Width);
    EXPECT_EQ(g.Height, row.geometry.Height);
    EXPECT_EQ(c.TabIndex(), row.tab);
    const forms::Control* parent = ParentOf(doc.Root, c);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(parent->Name, row.parent);
}

std::size_t CountControls(const forms::Control& c) {
    std::size_t n = c.Children.size();
    for (const forms::Control& child : c.Children) {
        n += CountControls(child);
    }
    return n;
}

struct Look {
    const char* name;
    const char* textKey;
    std::string text;
    std::optional<std::uint32_t> fore;
    std::optional<std::uint32_t> back;
    std::optional<forms::FontValue> font;
};

forms::FontValue Font(const char* face, int hundredths, bool bold = true) {
    forms::FontValue f;
    f.Name = face;
    f.SizeTenThousandths = Points(hundredths);
    f.Weight = bold ? 700 : 400;
    return f;
}

void ExpectLook(const forms::Document& doc, const Look& row) {
    SCOPED_TRACE(row.name);
    const forms::PropertyBag& p = Find(doc, row.name).Properties;
    EXPECT_EQ(p.ReadString(row.textKey, "<absent>"), row.text);
    if (row.fore) {
        EXPECT_EQ(p.ReadColour("ForeColor", 0), *row.fore);
    }
    if (row.back) {
        EXPECT_EQ(p.ReadColour("BackColor", 0), *row.back);
    }
    if (row.font) {
        EXPECT_EQ(p.ReadFont("Font"), row.font);
    }
}

struct ButtonRow {
    const char* name;
    std::string caption;
    int fontHundredths;
    std::uint32_t back;
    std::uint32_t hoverBack;
    std::optional<std::uint32_t> gradient;  // nullopt: left at the stored default
    const char* picture;                    // nullptr: none
    std::int32_t pictureAlign;
};

void ExpectButton(const forms::Document& doc, const ButtonRow& row) {
    SCOPED_TRACE(row.name);
    const forms::Control& c = Find(doc, row.name);
    EXPECT_EQ(c.Kind, forms::ButtonKind);
    const forms::PropertyBag& p = c.Properties;
    EXPECT_EQ(p.ReadString("Caption", ""), row.caption);
    EXPECT_EQ(p.ReadFont("Font"), Font("Times New Roman", row.fontHundredths));
    EXPECT_EQ(p.ReadColour("cBack", 0), row.back);
    EXPECT_EQ(p.ReadColour("cBHover", row.back), row.hoverBack);
    EXPECT_EQ(p.ReadColour("cGradient", 0x8000000Fu), row.gradient.value_or(0x8000000Fu));
    EXPECT_NE(p.ReadColour("cGradient", 0x8000000Fu) == 0, !row.gradient.has_value());
    EXPECT_EQ(p.ReadInt32("ImgAlign", 0), row.pictureAlign);
    // Shared by every button: command mode, centred caption, free hover face, pictures at 32 pixels.
    EXPECT_TRUE(p.Contains("Mode"));
    EXPECT_TRUE(p.Contains("Value"));
    EXPECT_EQ(p.ReadInt32("Mode", -1), 0);
    EXPECT_FALSE(p.ReadBool("Value", true));
    EXPECT_EQ(p.ReadInt32("CapAlign", 2), 2);
    EXPECT_EQ(p.ReadInt32("LockHover", 0), 1);
    EXPECT_EQ(p.ReadInt16("ImgSize", 16), 32);
    EXPECT_EQ(p.ReadColour("cFHover", 0x80000012u), 0x80000012u);
    EXPECT_EQ(p.ReadColour("cFore", 0x80000012u), 0x80000012u);
    EXPECT_EQ(p.ReadInt32("BackStyle", 2), 2);
    EXPECT_EQ(p.ReadInt32("Shape", 0), 0);
    EXPECT_EQ(p.ReadInt32("Gradient", 0), 0);
    EXPECT_EQ(p.ReadInt32("CapStyle", 0), 0);
    EXPECT_TRUE(p.ReadBool("Enabled", true));
    const auto picture = p.ReadPicture("Image");
    if (row.picture == nullptr) {
        EXPECT_FALSE(picture.has_value());
    } else {
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->filename(), row.picture);
        EXPECT_TRUE(std::filesystem::is_regular_file(*picture));
    }
}

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(PixelSize, PixelSize) = default;
};

int Le16(const std::string& d, std::size_t at) {
    return static_cast<unsigned char>(d[at]) | (static_cast<unsigned char>(d[at + 1]) << 8);
}
int Be32(const std::string& d, std::size_t at) {
    int v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v = (v << 8) | static_cast<unsigned char>(d[at + i]);
    }
    return v;
}

// The pixel size written in an image file's header (PNG, GIF, BMP, or the first icon entry).
PixelSize ImageSize(const std::filesystem::path& file) {
    const std::string d = ReadAll(file);
    if (d.size() < 26) {
        return {};
    }
    if (d.compare(1, 3, "PNG") == 0) {
        return {Be32(d, 16), Be32(d, 20)};
    }
    if (d.compare(0, 3, "GIF") == 0) {
        return {Le16(d, 6), Le16(d, 8)};
    }
    if (d.compare(0, 2, "BM") == 0) {
        return {Le16(d, 18), Le16(d, 22)};
    }
    if (Le16(d, 0) == 0 && Le16(d, 2) == 1) {  // icon directory: a width of 0 means 256
        return {static_cast<unsigned char>(d[6]), static_cast<unsigned char>(d[7])};
    }
    return {};
}

const char* const kHelpText =
    "Somente para Link ou Repetidor\r\n"
    "----------------------------------------------------\r\n"
    "\r\n"
    "Configure em  \"IDENT\" CW Speed /\r\n"
    "Pitch /Level. Aconselha-se a usar\r\n"
    "velocidade padr\xC3\xA3o no CW\r\n"
    "\r\n"
    "Com o DIZO TEXTO ligado:\r\n"
    "Quando se recebe o texto no CHAT \r\n"
    "do Echolink e que termina com  o \r\n"
    "s\xC3\xADmbolo  \">\" ,  converte-se   os\r\n"
    "caracteres do  texto  em  C\xC3\xB3""digo\r\n"
    "Morse e os transmite.\r\n"
    "\r\n"
    "Quando se recebe o texto no CHAT\r\n"
    "do Echolink e que termina com  o\r\n"
    "s\xC3\xADmbolo  \"=\" ,  converte-se   os\r\n"
    "caracteres do texto em voz  e os\r\n"
    "transmite em dizo do Windows.\r\n"
    "\r\n"
    "\r\n"
    "Necessidades pr\xC3\xA9via:\r\n"
    "\r\n"
    "Instale o sintetizador (Speech \r\n"
    "Application Programming Interface\r\n"
    "- SAPI) do idioma portugues que \xC3\xA9\r\n"
    "o lhttsptb.exe.\r\n"
    " \r\n"
    "Instale o arquivo sintetizador de\r\n"
    "voz (TTS - Text To Speech)  junto \r\n"
    "est\xC3\xA1 a voz  de  Raquel  que  \xC3\xA9  o \r\n"
    "Raquel-ptBR.exe.\r\n"
    "\r\n";

class MainWindowDescription : public ::testing::Test {
protected:
    forms::Document doc = forms::LoadDescription(kForms / "Form1.frm");
};

TEST_F(MainWindowDescription, WindowCaptionSizeAndIcon) {
    const forms::Control& w = doc.Root;
    EXPECT_EQ(w.Kind, forms::FormKind);
    EXPECT_EQ(w.Name, "Form1");
    EXPECT_EQ(w.Properties.ReadString("Caption", ""), "Dizo Chat por QD4RV ");
    EXPECT_EQ(w.Properties.ReadInt32("ClientWidth", 0), 6270);
    EXPECT_EQ(w.Properties.ReadInt32("ClientHeight", 0), 7545);
    EXPECT_EQ(w.Geom().Width, kWidthHelpHidden);
    EXPECT_EQ(w.Geom().Height, kWindowHeight);
    const auto icon = w.Properties.ReadPicture("Icon");
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->extension(), ".ico");
}

TEST_F(MainWindowDescription, EveryControlInPlaceWithItsTabIndex) {
    const Placed rows[] = {
        {"Label3", "Label", "Form1", {120, 240, 615, 735}, 16},
        {"AniGIF2", "AnimatedPicture", "Form1", {120, 360, 495, 615}, 3},
        {"Image1", "Image", "Form1", {720, 240, 3735, 765}, -1},
        {"AniGIF1", "AnimatedPicture", "Form1", {4440, 240, 1680, 720}, 2},
        {"Label2", "Label", "Form1", {3240, 960, 1335, 255}, 8},
        {"ligar", "Button", "Form1", {360, 1440, 2175, 615}, 4},
        {"Image2", "Image", "Form1", {3000, 1680, 330, 315}, -1},
        {"Image3", "Image", "Form1", {3000, 1680, 330, 315}, -1},
        {"desligar", "Button", "Form1", {3720, 1440, 2175, 615}, 5},
        {"Frame1", "Frame", "Form1", {120, 2400, 6015, 3615}, 12},
        {"Label1", "Label", "Frame1", {240, 240, 5535, 225}, 13},
        {"Text1", "TextBox", "Form1", {360, 3000, 5655, 765}, 0},
        {"Label5", "Label", "Frame1", {240, 1560, 5610, 225}, 14},
        {"Text13", "TextBox", "Form1", {300, 4290, 5655, 765}, 1},
        {"local", "Button", "Form1", {240, 5280, 2775, 615}, 6},
        {"remoto", "Button", "Form1", {3240, 5280, 2775, 615}, 7},
        {"a_ajuda", "Button", "Form1", {240, 6600, 1575, 615}, 9},
        {"sobre", "Button", "Form1", {2040, 6600, 1575, 615}, 15},
        {"sair", "Button", "Form1", {4200, 6600, 1815, 735}, 11},
        {"Text12", "TextBox", "Form1", {6720, 960, 4575, 5295}, 17},
        {"f_ajuda", "Button", "Form1", {7680, 6720, 2775, 615}, 10},
    };
    for (const Placed& row : rows) {
        ExpectPlaced(doc, row);
    }
    EXPECT_EQ(CountControls(doc.Root), std::size(rows));
}

TEST_F(MainWindowDescription, TextsColoursAndFonts) {
    const forms::FontValue sans825 = Font("MS Sans Serif", 825);
    const forms::FontValue sans12 = Font("MS Sans Serif", 1200);
    const Look rows[] = {
        {"Label3", "Caption", "", std::nullopt, Rgb(255, 255, 255), std::nullopt},
        {"Label2", "Caption", "dizo chat - cw", Rgb(0, 0, 255), std::nullopt, sans825},
        {"Frame1", "Caption", "", std::nullopt, std::nullopt, std::nullopt},
        {"Label1", "Caption", "Digite texto para CW aqui, ap\xC3\xB3s click no bot\xC3\xA3o de envio abaixo",
         Rgb(128, 0, 0), std::nullopt, sans825},
        {"Label5", "Caption", "Digite texto para DIZO aqui, ap\xC3\xB3s click no bot\xC3\xA3o de envio abaixo",
         Rgb(128, 0, 0), std::nullopt, sans825},
        {"Text1", "Text", "", std::nullopt, Rgb(192, 255, 192), sans12},
        {"Text13", "Text", "", std::nullopt, Rgb(128, 255, 128), sans12},
        {"Text12", "Text", kHelpText, std::nullopt, SysColour(10), Font("MS Sans Serif", 975)},
    };
    for (const Look& row : rows) {
        ExpectLook(doc, row);
    }
    for (const char* box : {"Text1", "Text13", "Text12"}) {
        const forms::PropertyBag& p = Find(doc, box).Properties;
        EXPECT_TRUE(p.ReadBool("MultiLine", false)) << box;
        EXPECT_EQ(p.ReadInt32("ScrollBars", 0), 2) << box;  // vertical
    }
}

TEST_F(MainWindowDescription, PicturesAtTheirPixelSizes) {
    struct Row {
        const char* name;
        const char* file;
        PixelSize size;
    };
    const Row rows[] = {
        {"AniGIF2", "anim-microfone.gif", {35, 45}}, {"Image1", "banner.png", {274, 51}},
        {"AniGIF1", "anim-mastro.gif", {280, 120}},  {"Image2", "lamp-on.png", {22, 21}},
        {"Image3", "lamp-off.png", {22, 21}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto picture = Find(doc, row.name).Properties.ReadPicture("Picture");
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->filename(), row.file);
        EXPECT_EQ(ImageSize(*picture), row.size);
    }
    EXPECT_TRUE(Find(doc, "Image1").Properties.ReadBool("Stretch", false));
}

TEST(WindowArtwork, IconsAndButtonPicturesAre32PixelsAndTheWindowIconHas16Colours) {
    const std::filesystem::path art = kForms / "art";
    for (const char* file : {"dizo.ico", "ligar.ico", "desligar.ico", "sair.ico", "ajuda.bmp", "fechar-ajuda.bmp",
                             "sobre.bmp", "servidor.bmp", "retorna.bmp"}) {
        EXPECT_EQ(ImageSize(art / file), (PixelSize{32, 32})) << file;
    }
    EXPECT_EQ(ImageSize(art / "anim-sobre.gif"), (PixelSize{120, 263}));
    const std::string icon = ReadAll(art / "dizo.ico");
    ASSERT_GE(icon.size(), 22u);
    EXPECT_EQ(Le16(icon, 4), 1);   // one image
    EXPECT_EQ(Le16(icon, 12), 4);  // 4 bits per pixel: 16 colours
}

TEST_F(MainWindowDescription, TheEightButtonsSettings) {
    const ButtonRow rows[] = {
        {"ligar", "Ligar ", 1575, Rgb(128, 255, 128), Rgb(0, 255, 0), 0, "ligar.ico", 0},
        {"desligar", "Desligar", 1575, Rgb(128, 255, 128), Rgb(0, 255, 0), 0, "desligar.ico", 0},
        {"local", "Envio local (RF)", 1425, Rgb(255, 192, 128), Rgb(255, 128, 0), std::nullopt, nullptr, 0},
        {"remoto", "Envio remoto (IP)", 1425, Rgb(255, 192, 128), Rgb(255, 128, 0), 0, nullptr, 0},
        {"a_ajuda", "Ajuda", 1425, Rgb(255, 128, 255), Rgb(255, 0, 255), 0, "ajuda.bmp", 0},
        {"f_ajuda", "Fechar ajuda", 1425, Rgb(255, 128, 255), Rgb(255, 0, 255), 0, "fechar-ajuda.bmp", 0},
        {"sobre", "Sobre", 1575, Rgb(128, 255, 255), Rgb(0, 255, 255), 0, "sobre.bmp", 0},
        {"sair", "Sair", 2025, Rgb(255, 255, 128), Rgb(192, 0, 0), 0, "sair.ico", 0},
    };
    for (const ButtonRow& row : rows) {
        ExpectButton(doc, row);
    }
}

// The help panel is out of sight at the start-up size and in sight once the window is widened.
TEST_F(MainWindowDescription, HelpPanelLiesBetweenTheTwoWidths) {
    const int clientWidth = doc.Root.Properties.ReadInt32("ClientWidth", 0);
    const int border = kWidthHelpHidden - clientWidth;
    for (const char* name : {"Text12", "f_ajuda"}) {
        const forms::Geometry g = Find(doc, name).Geom();
        EXPECT_GE(g.Left, clientWidth) << name;
        EXPECT_LE(g.Left + g.Width, kWidthHelpShown - border) << name;
        EXPECT_LE(g.Top + g.Height, doc.Root.Properties.ReadInt32("ClientHeight", 0)) << name;
    }
}

class AboutWindowDescription : public ::testing::Test {
protected:
    forms::Document doc = forms::LoadDescription(kForms / "sobre_.frm");
};

TEST_F(AboutWindowDescription, WindowAndControls) {
    EXPECT_EQ(doc.Root.Name, "sobre_");
    EXPECT_EQ(doc.Root.Properties.ReadString("Caption", ""), "Sobre");
    EXPECT_EQ(doc.Root.Properties.ReadInt32("ClientWidth", 0), 5055);
    EXPECT_EQ(doc.Root.Properties.ReadInt32("ClientHeight", 0), 5655);
    const Placed rows[] = {
        {"AniGIF2", "AnimatedPicture", "sobre_", {240, 0, 735, 1215}, 0},
        {"Label1", "Label", "sobre_", {840, 240, 3975, 615}, 1},
        {"Label4", "Label", "sobre_", {1080, 840, 3255, 375}, 2},
        {"Label2", "Label", "sobre_", {600, 1440, 4095, 495}, 3},
        {"Label5", "Label", "sobre_", {1800, 1800, 1455, 615}, 4},
        {"Label3", "Label", "sobre_", {360, 2520, 4455, 375}, 5},
        {"servidor", "Button", "sobre_", {360, 4320, 2655, 1095}, 6},
        {"retorna", "Button", "sobre_", {3120, 4320, 1575, 1095}, 7},
    };
    for (const Placed& row : rows) {
        ExpectPlaced(doc, row);
    }
    struct LineRow {
        const char* name;
        int y;
    };
    for (const LineRow& line : {LineRow{"Line1", 1320}, LineRow{"Line2", 3000}, LineRow{"Line3", 4080}}) {
        const forms::Control& c = Find(doc, line.name);
        EXPECT_EQ(c.Kind, "Line");
        EXPECT_EQ(c.Properties.ReadInt32("X1", 0), 360);
        EXPECT_EQ(c.Properties.ReadInt32("X2", 0), 4800);
        EXPECT_EQ(c.Properties.ReadInt32("Y1", 0), line.y);
        EXPECT_EQ(c.Properties.ReadInt32("Y2", 0), line.y);
    }
    EXPECT_EQ(CountControls(doc.Root), std::size(rows) + 3);
    const auto animation = Find(doc, "AniGIF2").Properties.ReadPicture("Picture");
    ASSERT_TRUE(animation.has_value());
    EXPECT_EQ(animation->filename(), "anim-sobre.gif");
}

TEST_F(AboutWindowDescription, TextsColoursAndFonts) {
    const Look rows[] = {
        {"Label1", "Caption", "Dizo texto CHAT", SysColour(2), std::nullopt, Font("MS Sans Serif", 2400)},
        {"Label4", "Caption", "Vers\xC3\xA3o 1.0  Revis\xC3\xA3o 1  -  12/2010", std::nullopt, std::nullopt,
         Font("MS Sans Serif", 825)},
        {"Label2", "Caption", "Uma cria\xC3\xA7\xC3\xA3o de QD4RV", Rgb(0, 128, 0), std::nullopt,
         Font("MS Sans Serif", 1350)},
        {"Label5", "Caption", "QD4RV", SysColour(1), std::nullopt, Font("Times New Roman", 2400)},
    };
    for (const Look& row : rows) {
        ExpectLook(doc, row);
    }
    EXPECT_EQ(Find(doc, "Label4").Properties.ReadInt32("Alignment", 0), 2);  // centred
    EXPECT_EQ(Find(doc, "Label3").Properties.ReadFont("Font"), Font("MS Sans Serif", 825));
    EXPECT_EQ(Find(doc, "Label2").Properties.ReadString("Caption", "").rfind("Uma cria\xC3\xA7\xC3\xA3o de ", 0), 0u);
}

TEST_F(AboutWindowDescription, TheTwoButtonsSettings) {
    const ButtonRow rows[] = {
        {"servidor", "Visitar servidor QD4RV", 1200, Rgb(255, 255, 128), Rgb(255, 255, 0), 0, "servidor.bmp", 4},
        {"retorna", "Retornar", 1425, Rgb(128, 255, 128), Rgb(0, 255, 0), 0, "retorna.bmp", 4},
    };
    for (const ButtonRow& row : rows) {
        ExpectButton(doc, row);
    }
}

// The files are kept in the writer's canonical form, so a designer's save changes nothing.
TEST(WindowDescriptions, AreStoredInCanonicalForm) {
    for (const char* file : {"Form1.frm", "sobre_.frm"}) {
        const forms::Document doc = forms::LoadDescription(kForms / file);
        std::string stored = ReadAll(kForms / file);
        // Comment lines are the one thing the writer does not keep.
        std::string withoutComments;
        std::istringstream lines(stored);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind('#', 0) != 0) {
                withoutComments += line + "\n";
            }
        }
        EXPECT_EQ(forms::WriteDescription(doc.Root), withoutComments) << file;
    }
}

}  // namespace
}  // namespace relay
