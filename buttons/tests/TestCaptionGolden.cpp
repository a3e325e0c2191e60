// Whole faces with captions and pictures against reviewed PNG images in golden/ (caption_*, picture_*).
// DIZO_UPDATE_GOLDEN=1 rewrites them; a mismatch writes the actual face and a diff image to the temp folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "buttons/testing/HeadlessHost.h"
#include "buttons/qkButtons_H.h"
#include "buttons/testing/ControlRig.h"
#include "buttons/testing/Golden.h"
#include "buttons/testing/Pictures.h"
#include "gdi/Gdi.h"

namespace buttons {
namespace {

namespace fs = std::filesystem;
using testing::HeadlessHost;

constexpr gdi::COLORREF Key = gdi::RGB(255, 0, 255);

// A blue diamond with a yellow heart on the key colour.
PictureRef DiamondBitmap() {
    auto p = std::make_shared<Picture>();
    p->handle = gdi::HGDIOBJ(testing::MakeBitmap(32, 32, [](int x, int y) {
        const int d = std::abs(2 * x - 31) + std::abs(2 * y - 31);
        return d < 12 ? gdi::RGB(255, 220, 0) : d < 30 ? gdi::RGB(30, 60, 200) : Key;
    }));
    return p;
}

// A black ring with a transparent middle and outside.
PictureRef RingIcon() {
    return testing::MakeIconPicture(32, [](int x, int y) {
        const int dx = 2 * x - 31;
        const int dy = 2 * y - 31;
        const int r2 = dx * dx + dy * dy;
        return r2 < 28 * 28 && r2 > 16 * 16;
    });
}

// On Windows the caption is Windows' own text (its fonts, smoothing and measurement), which no
// golden of ours can hold: there the face is compared outside the caption's box, widened by the
// two pixels the embossed and engraved effects and the access-key line reach past it, and the box
// must hold ink of more than one colour. Everything else is ours and must match to the pixel.
#ifdef _WIN32
constexpr bool kPlatformText = true;
#else
constexpr bool kPlatformText = false;
#endif
constexpr int kTextReach = 2;

void ExpectInk(const std::string& name, const gdi::BitmapView& got, const gdi::RECT& text) {
    bool twoColours = false;
    for (int y = std::max(0, text.top); y < std::min(got.height, text.bottom) && !twoColours; ++y) {
        for (int x = std::max(0, text.left); x < std::min(got.width, text.right); ++x) {
            twoColours = twoColours || got.pixels32[y * got.stride + x] != got.pixels32[y * got.stride + text.left];
        }
    }
    EXPECT_TRUE(twoColours) << name << ": no caption drawn in its box";
}

// text: the caption's box when the face has a caption, else null.
void ExpectGolden(const std::string& name, gdi::HBITMAP actual, const gdi::RECT* text) {
    if (!kPlatformText) text = nullptr;
    const gdi::RECT reach = text ? gdi::RECT{text->left - kTextReach, text->top - kTextReach,
                                             text->right + kTextReach, text->bottom + kTextReach}
                                 : gdi::RECT{};
    EXPECT_EQ(testing::CompareWithGolden(fs::path(DIZO_SOURCE_DIR) / "buttons" / "tests" / "golden", name, actual,
                                         text ? &reach : nullptr),
              "");
    if (text) ExpectInk(name, gdi::GetBitmapView(actual), *text);
}

struct GoldenCase {
    const char* name;
    int width, height;
    std::function<void(qkButtons_H&, HeadlessHost&)> setUp;
};

FontDesc TimesBold() {
    FontDesc f;
    f.Name = "Times New Roman";
    f.Size = 15.75;
    f.Weight = 700;
    return f;
}

TEST(CaptionGolden, Faces) {
    using B = qkButtons_H;
    using H = HeadlessHost;
    const GoldenCase cases[] = {
        {"caption_flat", 96, 32, [](B& b, H&) { b.SetCaption("Envio"); }},
        {"caption_embossed", 96, 32, [](B& b, H&) {
             b.SetCaption("Envio");
             b.SetCaptionStyle(ToInt(CaptionEffect::EffectEmbossed));
         }},
        {"caption_engraved", 96, 32, [](B& b, H&) {
             b.SetCaption("Envio");
             b.SetCaptionStyle(ToInt(CaptionEffect::EffectEngraved));
         }},
        {"caption_disabled", 96, 32, [](B& b, H&) {
             b.SetCaption("Envio");
             b.SetEnabled(false);
         }},
        {"caption_disabled_gradient", 96, 32, [](B& b, H&) {
             b.SetCaption("Envio");
             b.SetGradientColor(gdi::RGB(90, 140, 220));
             b.SetGradientMode(ToInt(GradientDirection::GradientTopToBottom));
             b.SetEnabled(false);
         }},
        {"caption_multiline_left", 96, 44, [](B& b, H&) {
             b.SetCaption("Envio||local (RF)");
             b.SetCaptionAlign(ToInt(CaptionAlignment::AlignLeft));
         }},
        {"caption_right_slanted", 120, 32, [](B& b, H&) {
             b.SetButtonShape(ToInt(ButtonShapeKind::ShapeSlantBoth));
             b.SetCaption("Sai&r");
             b.SetCaptionAlign(ToInt(CaptionAlignment::AlignRight));
         }},
        {"caption_value_pressed", 96, 32, [](B& b, H&) {
             b.SetMode(ToInt(ButtonMode::ModeCheckBox));
             b.SetCaption("Envio");
             b.SetValue(true);
         }},
        {"caption_ligar_bold", 145, 41, [](B& b, H&) {
             b.SetFont(TimesBold());
             b.SetCaption("Ligar");
             b.SetPicture(RingIcon());
             b.SetPictureSize(ToInt(PictureSizeStep::Size32));
         }},
        {"picture_left_of_caption_16", 120, 32, [](B& b, H&) {
             b.SetCaption("Remoto");
             b.SetPicture(DiamondBitmap());
             b.SetPictureSize(ToInt(PictureSizeStep::Size16));
             b.SetPictureAlign(ToInt(PictureAlignment::PicLeftOfCaption));
         }},
        {"picture_right_edge_24", 120, 36, [](B& b, H&) {
             b.SetCaption("Remoto");
             b.SetPicture(DiamondBitmap());
             b.SetPictureSize(ToInt(PictureSizeStep::Size24));
             b.SetPictureAlign(ToInt(PictureAlignment::PicRightEdge));
         }},
        {"picture_top_center_32", 72, 72, [](B& b, H&) {
             b.SetCaption("Sobre");
             b.SetPicture(DiamondBitmap());
             b.SetPictureSize(ToInt(PictureSizeStep::Size32));
             b.SetPictureAlign(ToInt(PictureAlignment::PicTopCenter));
         }},
        {"picture_bottom_center_icon", 72, 72, [](B& b, H&) {
             b.SetCaption("Sobre");
             b.SetPicture(RingIcon());
             b.SetPictureSize(ToInt(PictureSizeStep::Size24));
             b.SetPictureAlign(ToInt(PictureAlignment::PicBottomCenter));
         }},
        {"picture_stretch_40", 96, 32, [](B& b, H&) {
             b.SetCaption("");
             b.SetPicture(DiamondBitmap());
             b.SetPictureSize(ToInt(PictureSizeStep::Size40));
         }},
        {"picture_fit_48", 96, 40, [](B& b, H&) {
             b.SetCaption("ok");
             b.SetCaptionAlign(ToInt(CaptionAlignment::AlignLeft));
             b.SetPicture(DiamondBitmap());
             b.SetPictureSize(ToInt(PictureSizeStep::Size48));
         }},
        {"picture_disabled_icon", 120, 40, [](B& b, H&) {
             b.SetCaption("Desligar");
             b.SetPicture(RingIcon());
             b.SetPictureSize(ToInt(PictureSizeStep::Size32));
             b.SetEnabled(false);
         }},
        {"picture_disabled_bitmap", 120, 40, [](B& b, H&) {
             b.SetCaption("Desligar");
             b.SetPicture(DiamondBitmap());
             b.SetPictureSize(ToInt(PictureSizeStep::Size32));
             b.SetPictureAlign(ToInt(PictureAlignment::PicRightOfCaption));
             b.SetEnabled(false);
         }},
    };
    for (const auto& c : cases) {
        testing::ControlRig rig(c.width, c.height);
        c.setUp(*rig.button, rig.host);
        rig.button->Refresh();
        const gdi::RECT box = rig.button->State().Layout.CaptionRect;
        ExpectGolden(c.name, rig.host.Presented(), rig.button->Caption().empty() ? nullptr : &box);
    }
}

}  // namespace
}  // namespace buttons
