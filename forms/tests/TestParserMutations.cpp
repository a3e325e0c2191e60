#include <gtest/gtest.h>

#include <random>

#include "forms/Description.h"

namespace {

constexpr const char* kSeed = R"(DizoForm 1
Begin Form Form1
    Caption = "Dizo \"chat\"\r\n"
    BackColor = &H8000000F&
    Begin Frame f
        Begin Button b
            Font = Font("Arial", 8.25, Bold, Charset=1)
            ImgSize = 32%
            Value = True
            Image = Picture("x.png")
        End
    End
End
)";

// Random byte edits of a valid description either parse into something that writes and parses
// back to itself, or fail with a located FormatError; nothing else may happen.
TEST(FormsParserMutations, EveryMutationParsesCleanlyOrFailsWithALocation) {
    std::mt19937 rng(20261208);
    const std::string seed = kSeed;
    const std::string alphabet = "\"\\&%=()#,.-0123456789ABEHTFxnr \t\r\nBeginEndTrueFalse";
    int accepted = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string text = seed;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t pos = rng() % (text.size() + 1);
            switch (rng() % 3) {
                case 0: text.insert(pos, 1, alphabet[rng() % alphabet.size()]); break;
                case 1:
                    if (pos < text.size()) text.erase(pos, 1);
                    break;
                default:
                    if (pos < text.size()) text[pos] = static_cast<char>(rng() % 256);
            }
        }
        try {
            const auto doc = forms::ParseDescription(text, "m.frm", "");
            const std::string written = forms::WriteDescription(doc.Root);
            EXPECT_EQ(forms::ParseDescription(written, "w.frm", "").Root, doc.Root) << text;
            ++accepted;
        } catch (const forms::FormatError& e) {
            EXPECT_GE(e.Line(), 1) << text;
            EXPECT_EQ(e.File(), "m.frm");
        }
    }
    EXPECT_GT(accepted, 0);
}

}  // namespace
