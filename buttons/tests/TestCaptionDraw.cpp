// DrawCaption's text passes (effects, hover colour, press offset, disabled look) compared with the
// same passes drawn by hand, and the measuring that LayOutCaption does with the caption font.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "buttons/Caption.h"
#include "buttons/CaptionFont.h"
#include "buttons/CaptionLayout.h"
#include "buttons/Render.h"
#include "buttons/testing/PainterBuffer.h"
#include "gdi/Gdi.h"

namespace buttons {
namespace {

using testing::Buffer;
using testing::PainterHost;

constexpr int FaceW = 120;
constexpr int FaceH = 40;
constexpr gdi::COLORREF Face = gdi::RGB(200, 200, 200);
// The face shifted by -40 and +40 (green and blue scaled by 256/255 first).
constexpr gdi::COLORREF FaceDarker = gdi::RGB(160, 161, 161);
constexpr gdi::COLORREF FaceLighter = gdi::RGB(240, 241, 241);
constexpr gdi::COLORREF Fore = gdi::RGB(0, 0, 128);
constexpr gdi::COLORREF HoverFore = gdi::RGB(200, 0, 0);
constexpr gdi::COLORREF DisabledText = gdi::RGB(90, 91, 95);
constexpr gdi::COLORREF White = gdi::RGB(255, 255, 255);
constexpr gdi::COLORREF Grey = gdi::RGB(128, 128, 128);

struct Pass {
    int dx, dy;
    gdi::COLORREF colour;
};

struct DrawCase {
    const char* name;
    std::int32_t style = ToInt(CaptionEffect::EffectFlat);
    bool enabled = true;
    bool hoverLit = false;
    std::uint8_t stateFlags = 0;
    bool pressed = false;
    std::int32_t shape = ToInt(ButtonShapeKind::ShapeRectangle);
    std::int32_t gradient = ToInt(GradientDirection::GradientNone);
    gdi::COLORREF disabledColour = 0;
    std::int32_t align = ToInt(CaptionAlignment::AlignCenter);
    std::vector<Pass> passes;
};

gdi::UINT FormatFor(std::int32_t align) {
    if (align == ToInt(CaptionAlignment::AlignRight)) return gdi::DT_RIGHT | gdi::DT_WORDBREAK;
    if (align == ToInt(CaptionAlignment::AlignCenter)) return gdi::DT_CENTER | gdi::DT_WORDBREAK;
    return gdi::DT_LEFT | gdi::DT_WORDBREAK;
}

class CaptionDraw : public ::testing::Test {
protected:
    void Prepare(ButtonState& s, const DrawCase& c) {
        s.Props.Caption = "Li&gar||ok";
        s.Props.CaptionStyle = c.style;
        s.Props.CaptionAlign = c.align;
        s.Input.HoverLit = c.hoverLit;
        s.Input.StateFlags = c.stateFlags;
        s.Props.ButtonShape = c.shape;
        s.Props.GradientMode = c.gradient;
        s.Props.HoverForeColor = HoverFore;
        s.Shape.SlantRightX = FaceW;
    }

    PainterHost host_{FaceW, FaceH};
};

TEST_F(CaptionDraw, PassesMatchTheirColoursAndOffsets) {
    const std::vector<DrawCase> cases = {
        {.name = "flat", .passes = {{0, 0, Fore}}},
        {.name = "embossed",
         .style = ToInt(CaptionEffect::EffectEmbossed),
         .passes = {{-1, 0, FaceDarker}, {1, 2, FaceLighter}, {0, 1, Fore}}},
        {.name = "engraved",
         .style = ToInt(CaptionEffect::EffectEngraved),
         .passes = {{-1, 0, FaceLighter}, {1, 2, FaceDarker}, {0, 1, Fore}}},
        {.name = "stored style 9 draws as embossed", .style = 9,
         .passes = {{-1, 0, FaceDarker}, {1, 2, FaceLighter}, {0, 1, Fore}}},
        {.name = "hover colour", .hoverLit = true, .stateFlags = MouseOver, .passes = {{0, 0, HoverFore}}},
        {.name = "held down under the pointer: fore colour, pressed",
         .hoverLit = true,
         .stateFlags = HeldDown | MouseOver,
         .passes = {{1, 1, Fore}}},
        {.name = "held down away from the pointer: hover colour, not pressed",
         .hoverLit = true,
         .stateFlags = HeldDown,
         .passes = {{0, 0, HoverFore}}},
        {.name = "value set", .pressed = true, .passes = {{1, 1, Fore}}},
        {.name = "pressed oval only sinks", .pressed = true, .shape = ToInt(ButtonShapeKind::ShapeOvalRim),
         .passes = {{0, 1, Fore}}},
        {.name = "pressed slant moves right too", .pressed = true, .shape = ToInt(ButtonShapeKind::ShapeSlantBoth),
         .passes = {{1, 1, Fore}}},
        {.name = "pressed and embossed",
         .style = ToInt(CaptionEffect::EffectEmbossed),
         .pressed = true,
         .passes = {{0, 1, FaceDarker}, {2, 3, FaceLighter}, {1, 2, Fore}}},
        {.name = "disabled, flat face", .enabled = false, .disabledColour = DisabledText,
         .passes = {{0, 0, DisabledText}}},
        {.name = "disabled drops the effects", .style = ToInt(CaptionEffect::EffectEngraved), .enabled = false,
         .disabledColour = DisabledText, .passes = {{0, 0, DisabledText}}},
        {.name = "disabled on a gradient", .enabled = false,
         .gradient = ToInt(GradientDirection::GradientTopToBottom), .disabledColour = DisabledText,
         .passes = {{1, 1, White}, {0, 0, Grey}}},
        {.name = "disabled with a system colour", .enabled = false, .disabledColour = 0x80000010,
         .passes = {{1, 1, White}, {0, 0, Grey}}},
        {.name = "disabled and pressed", .enabled = false, .pressed = true, .disabledColour = DisabledText,
         .passes = {{1, 1, DisabledText}}},
        {.name = "left aligned", .align = ToInt(CaptionAlignment::AlignLeft), .passes = {{0, 0, Fore}}},
        {.name = "right aligned", .align = ToInt(CaptionAlignment::AlignRight), .passes = {{0, 0, Fore}}},
        {.name = "stored alignment 5 draws left", .align = 5, .passes = {{0, 0, Fore}}},
    };
    for (const auto& c : cases) {
        host_.SetEnabled(c.enabled);
        host_.SetForeColor(Fore);

        ButtonState actual;
        Prepare(actual, c);
        Buffer drawn(host_, FaceW, FaceH);
        Relayout(actual, drawn.Render(), host_);
        drawn.Fill(Face);
        gdi::COLORREF face = Face;
        gdi::COLORREF disabled = c.disabledColour;
        DrawCaption(MakeFrame(actual, host_, drawn.Render()), drawn.Render(), face, disabled, c.pressed);

        ButtonState reference;
        Prepare(reference, c);
        Buffer expected(host_, FaceW, FaceH);
        expected.Fill(Face);
        const std::string text = "Li&gar\r\nok";
        for (const Pass& p : c.passes) {
            gdi::SetTextColor(expected.Dc(), p.colour);
            gdi::RECT box = actual.Layout.CaptionRect;
            box.left += p.dx;
            box.right += p.dx;
            box.top += p.dy;
            box.bottom += p.dy;
            gdi::DrawTextA(expected.Dc(), text.data(), static_cast<int>(text.size()), &box, FormatFor(c.align));
        }

        const auto got = drawn.Pixels();
        const auto want = expected.Pixels();
        int inked = 0;
        for (gdi::COLORREF px : want) inked += px != Face;
        EXPECT_GT(inked, 20) << c.name << ": the reference drew no text";
        int differing = 0;
        for (std::size_t i = 0; i < got.size(); ++i) differing += got[i] != want[i];
        EXPECT_EQ(differing, 0) << c.name;
    }
}

// Captions drawn in turn, two of the same length among them, each come out as its own ANSI text
// with its line breaks.
TEST_F(CaptionDraw, EachCaptionIsDrawnFromItsOwnText) {
    const std::pair<const char*, std::string> captions[] = {
        {"Ligar", "Ligar"}, {"Lugar", "Lugar"}, {"Sa||ir", "Sa\r\nir"}, {"Ligar", "Ligar"}, {"r\xc3\xa1" "dio", "r\xe1" "dio"}};
    host_.SetEnabled(true);
    host_.SetForeColor(Fore);
    for (const auto& [caption, ansi] : captions) {
        ButtonState s;
        Prepare(s, {.name = caption});
        s.Props.Caption = caption;
        Buffer drawn(host_, FaceW, FaceH), expected(host_, FaceW, FaceH);
        Relayout(s, drawn.Render(), host_);
        drawn.Fill(Face);
        expected.Fill(Face);
        gdi::COLORREF face = Face;
        gdi::COLORREF disabled = 0;
        DrawCaption(MakeFrame(s, host_, drawn.Render()), drawn.Render(), face, disabled, false);
        gdi::SetTextColor(expected.Dc(), Fore);
        gdi::RECT box = s.Layout.CaptionRect;
        gdi::DrawTextA(expected.Dc(), ansi.data(), static_cast<int>(ansi.size()), &box, FormatFor(s.Props.CaptionAlign));
        const auto want = expected.Pixels();
        EXPECT_GT(std::count_if(want.begin(), want.end(), [](gdi::COLORREF px) { return px != Face; }), 20) << ansi;
        EXPECT_EQ(drawn.Pixels(), want) << ansi;
    }
}

TEST_F(CaptionDraw, MeasuresWithTheCaptionFont) {
    ButtonState s;
    s.Shape.SlantRightX = FaceW;
    PainterHost tall(FaceW, 200);
    Buffer buffer(tall, FaceW, 200);
    auto layout = [&](const std::string& caption, std::int32_t style) {
        s.Props.Caption = caption;
        s.Props.CaptionStyle = style;
        Relayout(s, buffer.Render(), tall);
        return s.Layout.CaptionRect;
    };
    const gdi::RECT one = layout("A", ToInt(CaptionEffect::EffectFlat));
    const gdi::RECT two = layout("A||B", ToInt(CaptionEffect::EffectFlat));
    const gdi::RECT embossed = layout("A", ToInt(CaptionEffect::EffectEmbossed));
    const gdi::RECT engraved = layout("A", ToInt(CaptionEffect::EffectEngraved));
    const std::int32_t lineHeight = one.bottom - one.top;
    EXPECT_GT(lineHeight, 5);
    EXPECT_EQ(two.bottom - two.top, 2 * lineHeight);
    // The effects take two more pixels each way.
    EXPECT_EQ(embossed.right - embossed.left, one.right - one.left + 2);
    EXPECT_EQ(embossed.bottom - embossed.top, lineHeight + 2);
    EXPECT_EQ(engraved, embossed);
    // Centred on the face.
    EXPECT_EQ(one.top, (200 - lineHeight) / 2);

    // A caption of one letter, a line break and another: the first letter above the second.
    s.Props.Caption = "I||I";
    s.Props.CaptionStyle = ToInt(CaptionEffect::EffectFlat);
    Relayout(s, buffer.Render(), tall);
    buffer.Fill(White);
    gdi::COLORREF face = White;
    gdi::COLORREF disabled = 0;
    tall.SetForeColor(0);
    DrawCaption(MakeFrame(s, tall, buffer.Render()), buffer.Render(), face, disabled, false);
    std::vector<int> inkRows;
    for (int y = 0; y < 200; ++y) {
        bool ink = false;
        for (int x = 0; x < FaceW && !ink; ++x) ink = buffer.Pixel(x, y) != White;
        if (ink) inkRows.push_back(y);
    }
    ASSERT_FALSE(inkRows.empty());
    int bands = 1;
    for (std::size_t i = 1; i < inkRows.size(); ++i) bands += inkRows[i] != inkRows[i - 1] + 1;
    EXPECT_EQ(bands, 2);
    EXPECT_GE(inkRows.front(), s.Layout.CaptionRect.top);
    EXPECT_LT(inkRows.back(), s.Layout.CaptionRect.bottom);
}

TEST_F(CaptionDraw, FontRebuildsKeepOneCaptionFontAlive) {
    const gdi::ObjectCounts before = gdi::LiveObjects();
    RenderBuffer none;
    RefreshCaptionFont(none, host_);  // no buffer yet: nothing to select into, nothing created
    EXPECT_EQ(gdi::LiveObjects(), before);
    {
        Buffer buffer(host_, FaceW, FaceH);
        ASSERT_TRUE(buffer.Render().OriginalFont());
        const gdi::HFONT original = buffer.Render().OriginalFont();
        const int fontsWithOne = gdi::LiveObjects().fonts;
        FontDesc f = host_.Font();
        for (double size : {10.0, 15.75, 8.25}) {
            f.Size = size;
            f.Weight = 700;
            host_.SetFont(f);
            RefreshCaptionFont(buffer.Render(), host_);
            EXPECT_EQ(buffer.Render().OriginalFont(), original) << size;
            EXPECT_EQ(gdi::LiveObjects().fonts, fontsWithOne) << size;
            gdi::LOGFONTA selected;
            ASSERT_GT(gdi::GetObjectA(gdi::GetCurrentFont(buffer.Dc()), static_cast<int>(sizeof(selected)), &selected), 0);
            EXPECT_EQ(selected.lfHeight, CaptionLogFont(f).lfHeight) << size;
            EXPECT_EQ(selected.lfWeight, 700);
        }
    }
    EXPECT_EQ(gdi::LiveObjects(), before);
}

TEST_F(CaptionDraw, PaintingLeavesObjectCountsAlone) {
    ButtonState s;
    s.Props.Caption = "Ligar";
    s.Shape.SlantRightX = FaceW;
    Buffer buffer(host_, FaceW, FaceH);
    Relayout(s, buffer.Render(), host_);
    // The text colour goes through SetDrawColor, which creates nothing.
    const gdi::ObjectCounts before = gdi::LiveObjects();
    for (bool enabled : {true, false}) {
        host_.SetEnabled(enabled);
        for (std::int32_t style = 0; style < 3; ++style) {
            s.Props.CaptionStyle = style;
            gdi::COLORREF face = Face;
            gdi::COLORREF disabled = DisabledText;
            DrawCaption(MakeFrame(s, host_, buffer.Render()), buffer.Render(), face, disabled, false);
        }
    }
    EXPECT_EQ(gdi::LiveObjects(), before) << gdi::ToString(gdi::LiveObjects());
}

}  // namespace
}  // namespace buttons
