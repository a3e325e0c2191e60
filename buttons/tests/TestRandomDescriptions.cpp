#include <gtest/gtest.h>

#include <random>

#include "buttons/testing/ControlRig.h"
#include "buttons/Persistence.h"
#include "forms/Description.h"

namespace {

using buttons::testing::ControlRig;

// Seeded random stored buttons (every key, typed values of any width and range), loaded, resized to
// random sizes including 0x0 and 1x1, and redrawn in random states: run under the sanitizers, this
// proves that no stored value can make layout or drawing touch memory it should not.
TEST(RandomDescriptions, AnyStoredButtonLoadsResizesAndDrawsSafely) {
    std::mt19937 rng(8122026);
    const auto pick = [&](std::int32_t lo, std::int32_t hi) {
        return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(rng() % (static_cast<std::uint64_t>(hi) - lo + 1)));
    };
    const std::int32_t extremes[] = {INT32_MIN, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 99, 32767, INT32_MAX};
    const auto anyInt = [&] { return rng() % 2 ? extremes[rng() % std::size(extremes)] : static_cast<std::int32_t>(rng()); };
    const char* captions[] = {"", "&", "A&", "||", "Linha 1||Linha 2||", "&&&", "x\r\ny", "\xC3\xA1&\xC3\xA9", "   "};
    const auto picture = buttons::testing::MakeBitmapPicture(24, 24);
    const gdi::ObjectCounts before = gdi::LiveObjects();
    for (int i = 0; i < 250; ++i) {
        forms::PropertyBag bag;
        for (const auto key : buttons::SaveKeyOrder) {
            if (rng() % 3 == 0) continue;
            const std::string k(key);
            if (k == "Caption") {
                bag.WriteString(k, captions[rng() % std::size(captions)]);
            } else if (k == "Font") {
                bag.WriteFont(k, {rng() % 2 ? "Times New Roman" : "MS Sans Serif", pick(10000, 720000), pick(1, 1000),
                                  rng() % 2 == 0, rng() % 2 == 0, false, 0});
            } else if (k == "Image" || k == "mIcon") {
                continue;  // pictures are set directly below
            } else if (k == "ImgSize" || k == "mPointer") {
                if (k == "mPointer") continue;  // the host refuses most codes; covered elsewhere
                bag.WriteInt16(k, static_cast<std::int16_t>(anyInt()));
            } else if (k == "Focus" || k == "Value" || k == "Enabled") {
                bag.WriteBool(k, rng() % 2 == 0);
            } else if (k[0] == 'c') {
                bag.WriteColour(k, rng() % 4 == 0 ? 0x80000000u | (rng() % 40) : rng());
            } else {
                bag.WriteInt32(k, anyInt());
            }
        }
        const int w = i % 10 == 0 ? 0 : (i % 10 == 1 ? 1 : pick(0, 200));
        const int h = i % 10 == 0 ? 0 : (i % 10 == 1 ? 1 : pick(0, 80));
        ControlRig rig(w, h, rng() % 2 == 0);
        rig.button->ReadProperties(bag);
        if (rng() % 2) {
            rig.button->State().Props.Picture = picture;
            rig.button->RefreshCache("Picture");
            rig.button->Resize();
        }
        for (int r = 0; r < 4; ++r) {
            auto& s = rig.button->State();
            s.Input.StateFlags = static_cast<std::uint8_t>(rng() % 8);
            s.Input.ButtonDown = rng() % 2 == 0;
            s.Input.HoverLit = false;
            rig.host.SetEnabled(rng() % 3 != 0);
            if (r == 2) rig.host.SetWidthPixels(pick(0, 150));
            rig.button->Paint();
        }
    }
    EXPECT_EQ(gdi::LiveObjects().dcs, before.dcs);
    EXPECT_EQ(gdi::LiveObjects().bitmaps, before.bitmaps);
}

}  // namespace
