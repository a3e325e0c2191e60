#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "forms/Description.h"

namespace {

using forms::FormatError;
using forms::ParseDescription;

constexpr const char* kWindow = R"(DizoForm 1
# the main window, trimmed
Begin Form Form1
    Caption = "Dizo texto do chat Echolink"
    ClientWidth = 7200
    BackColor = &H8000000F&
    Font = Font("MS Sans Serif", 8.25)
    Begin Button ligar
        Left = 120
        Top = 120
        Width = 1455
        Height = 615
        TabIndex = 0
        Caption = "&Ligar"
        Font = Font("Times New Roman", 15.75, Bold)
        ImgSize = 32%
        capalign = 0
        Mode = 0
        Value = False
    End
    Begin Frame Frame1
        Visible = False
        Begin Label Label1
            Caption = "Linha 1\r\nLinha 2  "
        End
    End
End
)";

TEST(FormsParser, ReadsAWindowWithNestedControls) {
    const auto doc = ParseDescription(kWindow, "main.frm", "/forms");
    const auto& form = doc.Root;
    EXPECT_EQ(form.Kind, "Form");
    EXPECT_EQ(form.Properties.ReadString("caption", ""), "Dizo texto do chat Echolink");
    EXPECT_EQ(form.Properties.ReadColour("BackColor", 0), 0x8000000Fu);
    ASSERT_EQ(form.Children.size(), 2u);

    const auto* ligar = form.FindByName("LIGAR");
    ASSERT_NE(ligar, nullptr);
    EXPECT_EQ(ligar->Geom().Width, 1455);
    EXPECT_EQ(ligar->TabIndex(), 0);
    EXPECT_TRUE(ligar->Visible());
    EXPECT_EQ(ligar->Properties.ReadInt32("CapAlign", 2), 0);
    const auto font = ligar->Properties.ReadFont("font");
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->Name, "Times New Roman");
    EXPECT_EQ(font->SizeTenThousandths, 157500);
    EXPECT_EQ(font->Weight, 700);

    const auto* label = form.FindByName("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Properties.ReadString("Caption", ""), "Linha 1\r\nLinha 2  ");
    EXPECT_FALSE(form.FindByName("Frame1")->Visible());
}

TEST(FormsParser, IntegerWidthsLoadIntoEachOther) {
    const auto doc = ParseDescription("DizoForm 1\nBegin Button b\n a = 32%\n b = 48\n c = True\n d = &HFFFF&\n"
                                      " e = 40000\nEnd\n",
                                      "b.frm", "");
    const auto& bag = doc.Root.Properties;
    EXPECT_EQ(bag.ReadInt32("a", 0), 32);
    EXPECT_EQ(bag.ReadInt16("b", 0), 48);
    EXPECT_EQ(bag.ReadInt16("c", 0), -1);
    EXPECT_EQ(bag.ReadInt32("d", 0), 0xFFFF);
    EXPECT_TRUE(bag.ReadBool("b", false));
    EXPECT_THROW(bag.ReadInt16("e", 0), FormatError);  // does not fit 16 bits
    EXPECT_EQ(bag.ReadInt16("missing", 7), 7);
}

struct BadCase {
    const char* text;
    int line;
    const char* key;
    const char* fragment;
};

TEST(FormsParser, MalformedDescriptionsNameFileLineAndKey) {
    const BadCase cases[] = {
        {"", 1, "", "empty description"},
        {"Begin Form F\nEnd\n", 1, "", "DizoForm 1"},
        {"DizoForm 2\nBegin Form F\nEnd\n", 1, "", "version"},
        {"DizoForm 1\nBegin Form F\n Caption = \"open\nEnd\n", 3, "Caption", "unterminated string"},
        {"DizoForm 1\nBegin Form F\n Caption \"x\"\nEnd\n", 3, "Caption", "'='"},
        {"DizoForm 1\nBegin Form F\n A = 1\n a = 2\nEnd\n", 4, "a", "twice"},
        {"DizoForm 1\nBegin Form F\n Begin Widget w\n End\nEnd\n", 3, "", "unknown control kind"},
        {"DizoForm 1\nBegin Form F\n Begin Button x\n End\n Begin Label X\n End\nEnd\n", 5, "", "used twice"},
        {"DizoForm 1\nBegin Form F\n Begin Button x\n  Begin Label y\n  End\n End\nEnd\n", 4, "", "cannot hold"},
        {"DizoForm 1\nBegin Form F\n Begin Button x\n End\n", 4, "", "missing End"},
        {"DizoForm 1\nBegin Form F\nEnd\nEnd\n", 4, "", "after the final End"},
        {"DizoForm 1\nBegin Form F\n N = 70000%\nEnd\n", 3, "N", "16-bit"},
        {"DizoForm 1\nBegin Form F\n N = 99999999999\nEnd\n", 3, "N", "32-bit"},
        {"DizoForm 1\nBegin Form F\n C = &H12345678\nEnd\n", 3, "C", "ends in &"},
        {"DizoForm 1\nBegin Form F\n F = Font(\"Arial\", 0)\nEnd\n", 3, "F", "font size"},
        {"DizoForm 1\nBegin Form F\n F = Font(\"Arial\", 9, Bold, Bold)\nEnd\n", 3, "F", "twice"},
        {"DizoForm 1\nBegin Form F\n F = Font(\"Arial\", 9, Heavy)\nEnd\n", 3, "F", "unknown font style"},
        {"DizoForm 1\nBegin Form F\n S = \"a\\q\"\nEnd\n", 3, "S", "unknown escape"},
        {"DizoForm 1\nBegin Form F\n B = Maybe\nEnd\n", 3, "B", "unknown value"},
        {"DizoForm 1\nBegin Form F\n Width = -5\nEnd\n", 3, "Width", "negative"},
        {"DizoForm 1\nBegin Form F\n Visible = 1\nEnd\n", 3, "Visible", "True or False"},
        {"DizoForm 1\nBegin Form F\n Left = \"x\"\nEnd\n", 3, "Left", "integer"},
        {"DizoForm 1\nBegin Form F\n X = 1 2\nEnd\n", 3, "X", "unexpected text"},
        {"DizoForm 1\nK = 1\n", 2, "K", "outside"},
        {"DizoForm 1\nBegin Form F\n Begin Form G\n End\nEnd\n", 3, "", "outermost"},
        {"DizoForm 1\nBegin Form F\n P = Picture(\"\")\nEnd\n", 3, "P", "file name"},
    };
    for (const auto& c : cases) {
        try {
            ParseDescription(c.text, "w.frm", "");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const FormatError& e) {
            EXPECT_EQ(e.File(), "w.frm") << c.text;
            EXPECT_EQ(e.Line(), c.line) << c.text << " -> " << e.what();
            EXPECT_EQ(e.Key(), c.key) << c.text << " -> " << e.what();
            EXPECT_NE(e.Reason().find(c.fragment), std::string::npos) << c.text << " -> " << e.what();
            EXPECT_NE(std::string(e.what()).find("w.frm:"), std::string::npos);
        }
    }
}

TEST(FormsParser, TypeMismatchOnReadNamesTheLine) {
    const auto doc = ParseDescription("DizoForm 1\nBegin Button b\n\n Caption = 5\nEnd\n", "b.frm", "");
    try {
        doc.Root.Properties.ReadString("caption", "");
        ADD_FAILURE() << "a number read as a string";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.Line(), 4);
        EXPECT_EQ(e.Key(), "Caption");
    }
}

TEST(FormsLoad, MissingPictureFileIsAnErrorAndPresentOneResolvesBesideTheFile) {
    const auto dir = std::filesystem::temp_directory_path() / "dizo_forms_load_test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "w.frm";
    {
        std::ofstream(file) << "DizoForm 1\nBegin Button b\n Image = Picture(\"pic.ico\")\nEnd\n";
    }
    std::filesystem::remove(dir / "pic.ico");
    EXPECT_THROW(forms::LoadDescription(file), FormatError);
    { std::ofstream(dir / "pic.ico") << "x"; }
    const auto doc = forms::LoadDescription(file);
    EXPECT_EQ(doc.Root.Properties.ReadPicture("image"), dir / "pic.ico");
    EXPECT_THROW(forms::LoadDescription(dir / "absent.frm"), FormatError);
    std::filesystem::remove_all(dir);
}

}  // namespace
