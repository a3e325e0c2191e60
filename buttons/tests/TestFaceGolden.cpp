// Whole faces against reviewed PNG images in golden/. DIZO_UPDATE_GOLDEN=1 rewrites them; a
// mismatch writes the actual face and a diff image (red where pixels differ) to the temp folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "buttons/testing/FaceRig.h"
#include "buttons/testing/Golden.h"

namespace {

using namespace buttons;
using namespace buttons::testing;
namespace fs = std::filesystem;

constexpr int FaceWidth = 96;
constexpr int FaceHeight = 32;

fs::path GoldenDir() { return fs::path(DIZO_SOURCE_DIR) / "buttons" / "tests" / "golden"; }

struct GoldenCase {
    const char* name;
    std::int32_t shape;
    FaceState look;
    std::int32_t gradientMode;
};

std::vector<GoldenCase> Cases() {
    std::vector<GoldenCase> cases;
    for (std::int32_t shape = 0; shape <= 6; ++shape) {
        for (FaceState look : {FaceState::Idle, FaceState::Default, FaceState::Hover, FaceState::Pressed, FaceState::Value, FaceState::Disabled}) {
            cases.push_back({nullptr, shape, look, 0});
        }
    }
    for (std::int32_t mode = 1; mode <= 4; ++mode) {
        cases.push_back({nullptr, 0, FaceState::Idle, mode});
        cases.push_back({nullptr, 4, FaceState::Idle, mode});
    }
    cases.push_back({nullptr, 0, FaceState::Pressed, 3});
    cases.push_back({nullptr, 0, FaceState::Hover, 3});
    return cases;
}

TEST(FaceGolden, EveryShapeStateAndGradient) {
    for (const GoldenCase& c : Cases()) {
        FaceRig rig(FaceWidth, FaceHeight);
        rig.s.Props.ButtonShape = c.shape;
        rig.s.Props.GradientMode = c.gradientMode;
        rig.s.Props.GradientColor = gdi::RGB(96, 144, 208);
        rig.s.Props.HoverBackColor = gdi::RGB(200, 224, 250);
        rig.DeriveColours();
        RebuildShape(rig.s, rig.buffer, rig.host);
        // As in the control: a fresh buffer painted idle first, then the state under test. The raised
        // rim that a press leaves unpainted keeps the idle pass's pixels.
        rig.Paint(false);
        rig.SetLook(c.look);
        rig.Paint(false);
        std::string name = "face_s" + std::to_string(c.shape) + "_" + std::string(FaceStateName(c.look));
        if (c.gradientMode != 0) name += "_g" + std::to_string(c.gradientMode);
        SCOPED_TRACE(name);
        EXPECT_EQ(CompareWithGolden(GoldenDir(), name, rig.CompositeBitmap().get()), "");
    }
}

}  // namespace
