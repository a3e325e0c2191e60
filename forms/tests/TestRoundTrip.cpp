#include <gtest/gtest.h>

#include <filesystem>

#include "forms/Description.h"

namespace {

forms::Control SampleWindow() {
    forms::Control form;
    form.Kind = "Form";
    form.Name = "sobre_";
    form.Properties.WriteString("Caption", "Sobre \"Dizo\" \\ 1");
    form.Properties.WriteInt32("ClientWidth", 4800);
    form.Properties.WriteColour("BackColor", 0x8000000F);
    forms::Control button;
    button.Kind = "Button";
    button.Name = "servidor";
    button.Properties.WriteString("Caption", "Linha 1\r\nLinha 2   ");
    button.Properties.WriteString("Tab", "a\tb\x01\x7F" "\xC3\xA1");
    button.Properties.WriteInt16("ImgSize", -32768);
    button.Properties.WriteInt32("Big", -2147483647 - 1);
    button.Properties.WriteBool("Value", false);
    button.Properties.WriteFont("Font", {"Times New Roman", 157500, 700, true, true, true, 2});
    button.Properties.WriteFont("Font2", {"Arial", 80000, 600, false, false, false, 0});
    button.Properties.WritePicture("Image", "pics/ligar.ico");
    forms::Control frame;
    frame.Kind = "Frame";
    frame.Name = "f_ajuda";
    frame.Children.push_back(button);
    form.Children.push_back(frame);
    return form;
}

TEST(FormsRoundTrip, WriteThenParseGivesBackTheSameTree) {
    const auto form = SampleWindow();
    const std::string text = forms::WriteDescription(form);
    const auto doc = forms::ParseDescription(text, "rt.frm", "");
    EXPECT_EQ(doc.Root, form) << text;
    // Canonical: a second write is byte-identical.
    EXPECT_EQ(forms::WriteDescription(doc.Root), text);
}

TEST(FormsRoundTrip, ValuesAreWrittenReadably) {
    const std::string text = forms::WriteDescription(SampleWindow());
    for (const char* expected : {"BackColor = &H8000000F&", "ImgSize = -32768%", "Caption = \"Linha 1\\r\\nLinha 2   \"",
                                 "Font = Font(\"Times New Roman\", 15.75, Bold, Italic, Underline, Strikeout, Charset=2)",
                                 "Font2 = Font(\"Arial\", 8, Weight=600)", "Image = Picture(\"pics/ligar.ico\")",
                                 "Value = False", "\\x01\\x7F"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
}

TEST(FormsRoundTrip, DefaultValuedWritesRemoveTheKey) {
    forms::PropertyBag bag;
    bag.WriteInt32("CapAlign", 0, 2);
    EXPECT_TRUE(bag.Contains("capalign"));
    bag.WriteInt32("CAPALIGN", 2, 2);
    EXPECT_FALSE(bag.Contains("CapAlign"));
    bag.WriteInt32("Mode", 0);  // no default: always stored
    EXPECT_TRUE(bag.Contains("Mode"));
}

TEST(FormsRoundTrip, SaveReplacesTheFileAtomically) {
    const auto dir = std::filesystem::temp_directory_path() / "dizo_forms_save_test";
    std::filesystem::create_directories(dir);
    forms::Document doc{dir / "w.frm", SampleWindow()};
    doc.Root.Children[0].Children[0].Properties.Remove("Image");
    forms::SaveDescription(doc);
    const auto back = forms::LoadDescription(doc.File);
    EXPECT_EQ(back.Root, doc.Root);
    EXPECT_FALSE(std::filesystem::exists(dir / "w.frm.tmp"));
    std::filesystem::remove_all(dir);
}

}  // namespace
